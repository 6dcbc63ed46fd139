#include "platform/ui/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QHideEvent>
#include <QMenu>
#include <QScreen>
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

// The loaded windows in the order they were last brought into view, the latest at the back.
std::vector<Form*>& shownOrder() {
    static std::vector<Form*> forms;
    return forms;
}

void forget(Form* f) {
    for (auto* forms : {&loaded(), &shownOrder()}) forms->erase(std::remove(forms->begin(), forms->end(), f), forms->end());
    if (active == f) active = nullptr;
}

QByteArray handlerName(const QString& form, const char* handler) {
    return (form + QChar('.') + QString::fromUtf8(handler)).toUtf8();
}

// Where each window stood when it last went out of view, by name: shown again, even after an
// unload, it comes back there. Both corners are kept: a window manager may not have told the
// frame of a window placed by its client area.
struct Place {
    QPoint frame;    // the frame's top-left corner as Qt knows it
    QPoint client;   // the client area's
};
QHash<QString, Place>& lastPlaces() {
    static QHash<QString, Place> places;
    return places;
}

void putLast(Form* f) {
    auto& order = shownOrder();
    order.erase(std::remove(order.begin(), order.end(), f), order.end());
    order.push_back(f);
}

// The windows in view other than self, the one shown last at the back.
std::vector<Form*> shownOthers(const Form* self) {
    std::vector<Form*> out;
    for (Form* f : shownOrder())
        if (f != self && f->isVisible()) out.push_back(f);
    return out;
}

}  // namespace

QPoint windowPlace(const QRect& frame, const std::vector<QRect>& shown, const QRect& screen, int step) {
    const auto freeAt = [&](QPoint p) {
        const QRect r(p, frame.size());
        return screen.contains(r) &&
               std::none_of(shown.begin(), shown.end(), [&](const QRect& s) { return s.intersects(r); });
    };
    if (freeAt(frame.topLeft())) return frame.topLeft();
    std::vector<QPoint> places{screen.topLeft()};
    for (const QRect& s : shown) {
        const int right = s.right() + 1, below = s.bottom() + 1;
        places.insert(places.end(), {{right, s.top()}, {s.left(), below}, {right, screen.top()}, {screen.left(), below}});
    }
    std::stable_sort(places.begin(), places.end(),
                     [](QPoint a, QPoint b) { return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x()); });
    for (QPoint p : places)
        if (freeAt(p)) return p;
    // No free place: cascaded from a shown window, the one shown last first, so that the top-left
    // corner of every shown window (its title and its menu) stays in view.
    const auto onScreen = [&](QPoint p) {
        return QPoint(std::max(screen.left(), std::min(p.x(), screen.right() + 1 - frame.width())),
                      std::max(screen.top(), std::min(p.y(), screen.bottom() + 1 - frame.height())));
    };
    if (shown.empty()) return onScreen(frame.topLeft());
    const auto keepsCorners = [&](QPoint p) {
        const QRect r(p, frame.size());
        return std::none_of(shown.begin(), shown.end(),
                            [&](const QRect& s) { return r.contains(s.topLeft() + QPoint(step / 2, step / 2)); });
    };
    for (auto s = shown.rbegin(); s != shown.rend(); ++s)
        if (const QPoint p = onScreen(s->topLeft() + QPoint(step, step)); keepsCorners(p)) return p;
    return onScreen(shown.back().topLeft() + QPoint(step, step));
}

QPoint framePlacement(const QRect& designed, const QMargins& margins, const std::vector<QRect>& shown,
                      const QRect& screen, int step) {
    const QRect frame(designed.topLeft(), designed.size().grownBy(margins));
    return windowPlace(frame, shown, screen, step) + QPoint(margins.left(), margins.top());
}

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
    if (!isVisible() && !placedEarly_) place();
    placedEarly_ = false;
    putLast(this);
    show();
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) raise();   // no stacking there
    activateWindow();
    activated();
}

void Form::placeBeforeShow() {
    if (unloaded_ || isVisible() || placedEarly_) return;
    place();
    placedEarly_ = true;
}

// The frame's widths around the client area: the window's own once it has a frame, else those of
// a window in view, which stand for its frame before it has one.
QMargins Form::frameMarginsForPlacing() const {
    const auto marginsOf = [](const QWidget* w) {
        const QRect g = w->geometry(), fg = w->frameGeometry();
        return QMargins(g.left() - fg.left(), g.top() - fg.top(), fg.right() - g.right(), fg.bottom() - g.bottom());
    };
    if (frameGeometry() != geometry()) return marginsOf(this);
    QMargins margins;
    for (const Form* f : shownOthers(this))
        if (const QMargins m = marginsOf(f); !m.isNull()) margins = m;
    return margins;
}

// The client area at the given point, its frame (margins) around it: the native window is made
// first, so that the place is taken as the client area's (before that, Qt takes a move as the
// frame's, and a window manager may still put the client area there). With no frame known yet
// (the first window), the place is left to Qt as the frame's.
void Form::putClientAt(QPoint clientTopLeft, const QMargins& margins) {
    if (margins.isNull()) {
        move(clientTopLeft);
        return;
    }
    winId();
    setGeometry(QRect(clientTopLeft, size()));
}

// A window that was in view before comes back where its frame stood; one shown for the first
// time is placed by its frame (framePlacement).
void Form::place() {
    const QMargins margins = frameMarginsForPlacing();
    const QPoint frameToClient(margins.left(), margins.top());
    const auto known = lastPlaces().constFind(Name);
    if (known != lastPlaces().constEnd() && QGuiApplication::screenAt(known->frame)) {
        plannedFrame_ = margins.isNull() ? known->frame : known->client - frameToClient;
        putClientAt(margins.isNull() ? known->frame : known->client, margins);
        return;
    }
    // A shown window whose frame Qt does not know (yet) has the frame the others have.
    const std::vector<Form*> others = shownOthers(this);
    std::vector<QRect> shown;
    for (Form* f : others)
        shown.push_back(f->frameGeometry() == f->geometry() ? f->geometry().marginsAdded(margins) : f->frameGeometry());
    const int step = others.empty() ? 0 : std::max(24, margins.top() + others.back()->menuHeight());
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where) return;
    const QPoint client =
        framePlacement(QRect(frameGeometry().topLeft(), size()), margins, shown, where->availableGeometry(), step);
    plannedFrame_ = client - frameToClient;
    putClientAt(client, margins);
}

QPoint Form::dialogOrigin(const QWidget* owner) {
    if (auto* f = qobject_cast<Form*>(handlerWindow()); f && f->placedEarly_ && !f->isVisible()) return f->plannedFrame_;
    return owner ? owner->window()->frameGeometry().topLeft() : QPoint();
}

QWidget* Form::dialogOwner() {
    if (QWidget* w = handlerWindow(); w && w->isVisible()) return w;
    QWidget* w = QApplication::activeWindow();
    if (w && w->isVisible()) return w;
    if (active && active->isVisible()) return active;
    const std::vector<Form*> inView = shownOthers(nullptr);
    return inView.empty() ? nullptr : inView.back();
}

void Form::Hide() {
    hide();
    if (active == this) active = nullptr;
}

void Form::activated() {
    if (active == this || unloaded_) return;
    active = this;
    runHandler(handlerName(Name, "Form_Activate").constData(), this, [this] { Form_Activate(); });
}

void Form::load() {
    loaded().push_back(this);
    loading_ = true;
    runHandler(handlerName(Name, "Form_Load").constData(), this, [this] { Form_Load(); });
    loading_ = false;
}

void Form::Unload(int unloadMode) {
    if (unloaded_) return;
    if (mayUnload(unloadMode)) finishUnload();
}

bool Form::mayUnload(int unloadMode) {
    if (unloaded_) return true;
    bool cancel = false;
    runHandler(handlerName(Name, "Form_QueryUnload").constData(), this, [&] { Form_QueryUnload(cancel, unloadMode); });
    return !cancel;
}

void Form::finishUnload() {
    if (unloaded_) return;
    runHandler(handlerName(Name, "Form_Unload").constData(), this, [this] { Form_Unload(); });
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
    lastPlaces().clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Form::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!e->spontaneous()) lastPlaces().insert(Name, {pos(), geometry().topLeft()});
}

void Form::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (unloaded_) return;
    bool cancel = false;
    runHandler(handlerName(Name, "Form_QueryUnload").constData(), this,
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
        runHandler(handlerName(Name, "Form_Resize").constData(), this, [this] { Form_Resize(); });
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
