#include "platform/ui/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <algorithm>
#include "platform/ui/colors.h"
#include "platform/ui/guard.h"

namespace ui {

namespace {

std::vector<Form*>& loaded() {
    static std::vector<Form*> forms;
    return forms;
}

Form* active = nullptr;

void forget(Form* f) {
    auto& forms = loaded();
    forms.erase(std::remove(forms.begin(), forms.end(), f), forms.end());
    if (active == f) active = nullptr;
}

QByteArray handlerName(const QString& form, const char* handler) {
    return (form + QChar('.') + QString::fromUtf8(handler)).toUtf8();
}

}  // namespace

Form::Form(const QString& name) : QWidget(nullptr), Name(name) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    // The windows are laid out for a 9-point proportional Japanese gothic face.
    QFont f = font();
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), f.family()});
    f.setPointSize(9);
    setFont(f);
    resize(640, 480);
}

Form::~Form() {
    if (clearInstance_) clearInstance_();
    clearInstance_ = nullptr;
    forget(this);
}

QString Form::Caption() const { return windowTitle(); }
void Form::setCaption(const QString& c) {
    setWindowTitle(c);
    setAccessibleName(c);
}

unsigned Form::BackColor() const { return toBgr(client_->palette().color(QPalette::Window)); }

void Form::setBackColor(unsigned bgrColor) {
    QPalette p = client_->palette();
    p.setColor(QPalette::Window, bgr(bgrColor));
    client_->setPalette(p);
}

int Form::menuHeight() const { return menuBar_ ? menuBar_->sizeHint().height() : 0; }

void Form::layoutClient() {
    const int mh = menuHeight();
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), mh);
    client_->setGeometry(0, mh, width(), std::max(0, height() - mh));
}

void Form::Move(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    move(px(leftTwips), px(topTwips));
    if (widthTwips >= 0 || heightTwips >= 0) {
        const int w = widthTwips >= 0 ? px(widthTwips) : width();
        const int h = heightTwips >= 0 ? px(heightTwips) + menuHeight() : height();
        resize(w, h);
    }
    layoutClient();
}

int Form::ScaleWidth() const { return twips(width()); }
int Form::ScaleHeight() const { return twips(std::max(0, height() - menuHeight())); }

void Form::Show() {
    if (unloaded_) return;
    show();
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) raise();   // no stacking there
    activateWindow();
    activated();
}

void Form::Hide() {
    hide();
    if (active == this) active = nullptr;
}

void Form::activated() {
    if (active == this || unloaded_) return;
    active = this;
    runHandler(handlerName(Name, "Form_Activate").constData(), [this] { Form_Activate(); });
}

void Form::load() {
    loaded().push_back(this);
    loading_ = true;
    runHandler(handlerName(Name, "Form_Load").constData(), [this] { Form_Load(); });
    loading_ = false;
}

void Form::Unload(int unloadMode) {
    if (unloaded_) return;
    if (mayUnload(unloadMode)) finishUnload();
}

bool Form::mayUnload(int unloadMode) {
    if (unloaded_) return true;
    bool cancel = false;
    runHandler(handlerName(Name, "Form_QueryUnload").constData(), [&] { Form_QueryUnload(cancel, unloadMode); });
    return !cancel;
}

void Form::finishUnload() {
    if (unloaded_) return;
    runHandler(handlerName(Name, "Form_Unload").constData(), [this] { Form_Unload(); });
    unloaded_ = true;
    hide();
    if (clearInstance_) clearInstance_();
    clearInstance_ = nullptr;
    forget(this);
    // The handler that unloaded the window may still be running on it.
    deleteLater();
}

std::vector<Form*> Form::loadedForms() { return loaded(); }

Form* Form::activeForm() { return active; }

void Form::destroyAll() {
    while (!loaded().empty()) delete loaded().back();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Form::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (unloaded_) return;
    bool cancel = false;
    runHandler(handlerName(Name, "Form_QueryUnload").constData(),
               [&] { Form_QueryUnload(cancel, vbFormControlMenu); });
    if (cancel) return;
    finishUnload();
    e->accept();
}

void Form::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) activated();
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutClient();
    if (!loading_ && !unloaded_)
        runHandler(handlerName(Name, "Form_Resize").constData(), [this] { Form_Resize(); });
}

CommandButton* Form::addButton(const ControlSpec& s) { return new CommandButton(client_, s); }
Label* Form::addLabel(const ControlSpec& s) { return new Label(client_, s); }
TextBox* Form::addText(const ControlSpec& s) { return new TextBox(client_, s); }
RichTextBox* Form::addRichText(const ControlSpec& s) { return new RichTextBox(client_, s); }
Picture* Form::addPicture(const ControlSpec& s) { return new Picture(client_, s); }
LinkLabel* Form::addLink(const ControlSpec& s) { return new LinkLabel(client_, s); }
FlexGrid* Form::addGrid(const ControlSpec& s) { return new FlexGrid(client_, s); }
Data* Form::addData(const ControlSpec& s) { return new Data(client_, s); }

MenuItem* Form::addMenu(const QString& name, const QString& caption, const QString& parentCaption) {
    const int clientHeight = height() - menuHeight();
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        menuBar_->show();
    }
    auto* item = new MenuItem(this, name, caption);
    if (caption == QStringLiteral("-")) item->setSeparator(true);
    menuItems_.push_back(item);
    if (parentCaption.isEmpty()) {
        menuBar_->addAction(item);
    } else {
        QMenu* menu = menuBar_->findChild<QMenu*>(parentCaption, Qt::FindDirectChildrenOnly);
        if (!menu) {
            menu = new QMenu(parentCaption, menuBar_);
            menu->setObjectName(parentCaption);
            // A top-level item that gets items of its own becomes their menu.
            auto top = std::find_if(menuItems_.begin(), menuItems_.end(), [&](MenuItem* m) {
                return m->text() == parentCaption && menuBar_->actions().contains(m);
            });
            if (top != menuItems_.end()) {
                menuBar_->insertMenu(*top, menu);
                menuBar_->removeAction(*top);
            } else {
                menuBar_->addMenu(menu);
            }
        }
        menu->addAction(item);
    }
    resize(width(), clientHeight + menuHeight());   // the client area keeps its size
    layoutClient();
    return item;
}

MenuItem* Form::menuItem(const QString& name) const {
    for (MenuItem* m : menuItems_)
        if (m->Name == name) return m;
    return nullptr;
}

void Form::on(std::function<void()>& event, std::function<void()> handler, const char* what) {
    const QByteArray name = handlerName(Name, what);
    event = [handler = std::move(handler), name] { runHandler(name.constData(), handler); };
}

}  // namespace ui
