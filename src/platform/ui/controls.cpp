#include <QStylePainter>
#include <QStyleOptionButton>
#include "platform/ui/controls.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>
#include "platform/ui/colors.h"
#include "platform/ui/column_widths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"

namespace ui {

namespace {

QString withoutMnemonic(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QChar('&'));
    caption.replace(QChar(1), QChar('&'));
    return caption;
}

void setRole(QWidget* w, QPalette::ColorRole role, unsigned bgrColor) {
    QPalette p = w->palette();
    p.setColor(role, bgr(bgrColor));
    w->setPalette(p);
}

// An opaque label or link label shows its own back colour, or the system's face colour when it
// has none; a transparent one lets the window's colour through.
void setLabelBack(QLabel* l, long long backColor, bool transparent) {
    if (transparent) {
        l->setAutoFillBackground(false);
        return;
    }
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, backColor >= 0 ? bgr(unsigned(backColor))
                                                : QApplication::palette().color(QPalette::Button));
    l->setPalette(p);
}

QString accessibleText(const Control& c, const QString& caption) {
    const QString t = withoutMnemonic(caption).trimmed();
    return t.isEmpty() ? c.Name : t;
}

// The keys that click a focused label or link label, as Space clicks a button.
bool isClickKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// A focused label shows the style's focus frame, so the person sees where the keyboard is.
void paintFocusFrame(QLabel* l) {
    if (!l->hasFocus()) return;
    QStylePainter painter(l);
    QStyleOptionFocusRect opt;
    opt.initFrom(l);
    opt.rect = l->rect().adjusted(1, 1, -1, -1);
    opt.backgroundColor = l->palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, opt);
}

int labelTextFlags(const QLabel* l) {
    return int(QStyle::visualAlignment(l->layoutDirection(), l->alignment())) | (l->wordWrap() ? Qt::TextWordWrap : 0);
}

QFont labelCaptionFont(const QLabel* l) {
    return fittingFont(l->font(), l->contentsRect(), labelTextFlags(l), l->text());
}

// Paints a label's caption in a smaller font when it does not fit in the label's own; false when
// the label's own painting serves.
bool paintFittedCaption(QLabel* l) {
    const QFont f = labelCaptionFont(l);
    if (f == l->font()) return false;
    QPainter p(l);
    p.setFont(f);
    l->style()->drawItemText(&p, l->contentsRect(), labelTextFlags(l), l->palette(), l->isEnabled(), l->text(),
                             l->foregroundRole());
    return true;
}

// The cursor and selection of the multi-line editors (QPlainTextEdit, QTextEdit), kept within
// the text.
template <class Editor>
void placeCursor(Editor* e, int position) {
    QTextCursor c = e->textCursor();
    c.setPosition(std::clamp(position, 0, e->document()->characterCount() - 1));
    e->setTextCursor(c);
}

template <class Editor>
int selectionLength(const Editor* e) {
    const QTextCursor c = e->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

template <class Editor>
void selectFrom(Editor* e, int start, int length) {
    QTextCursor c = e->textCursor();
    c.setPosition(start);
    c.setPosition(std::clamp(start + length, start, e->document()->characterCount() - 1), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

// Assistive technology sees a link label as a link it can press, and a label with a Click
// handler as a button it can press; other labels are plain text.
class AccessibleLabel : public QAccessibleWidget {
public:
    explicit AccessibleLabel(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QAccessible::Role role() const override {
        if (qobject_cast<LinkLabel*>(widget())) return QAccessible::Link;
        return pressable() ? QAccessible::Button : QAccessible::StaticText;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (pressable()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (action != pressAction() || !pressable()) return QAccessibleWidget::doAction(action);
        if (auto* link = qobject_cast<LinkLabel*>(widget())) link->doClick();
        else static_cast<Label*>(widget())->doClick();
    }

private:
    bool pressable() const {
        if (qobject_cast<LinkLabel*>(widget())) return true;
        auto* label = qobject_cast<Label*>(widget());
        return label && label->clickable();
    }
};

QAccessibleInterface* accessibleLabelFactory(const QString& className, QObject* object) {
    if ((className == QLatin1String("ui::LinkLabel") || className == QLatin1String("ui::Label")) && object &&
        object->isWidgetType())
        return new AccessibleLabel(static_cast<QWidget*>(object));
    return nullptr;
}

void installAccessibleLabels() {
    static const bool installed = (QAccessible::installFactory(accessibleLabelFactory), true);
    (void)installed;
}

}  // namespace

// The smallest size a caption is made to fit its control.
constexpr double kSmallestCaptionPoints = 6.0;

QFont fittingFont(QFont font, const QRect& area, int flags, const QString& caption) {
    if (caption.isEmpty() || area.isEmpty() || font.pointSizeF() <= 0) return font;
    const auto fits = [&](const QFont& f) {
        const QRect needed = QFontMetrics(f).boundingRect(area, flags, caption);
        return needed.width() <= area.width() && needed.height() <= area.height();
    };
    while (!fits(font) && font.pointSizeF() > kSmallestCaptionPoints)
        font.setPointSizeF(std::max(kSmallestCaptionPoints, font.pointSizeF() - 0.5));
    return font;
}

// ---------------------------------------------------------------- Control

void Control::init(QWidget* w, const ControlSpec& def) {
    widget_ = w;
    Name = QString::fromUtf8(def.name);
    Index = def.index;
    w->setObjectName(Index >= 0 ? QStringLiteral("%1(%2)").arg(Name).arg(Index) : Name);
    w->setGeometry(px(def.left), px(def.top), px(def.width), px(def.height));
    if (def.fontPoints > 0 || def.bold) {
        QFont f = w->font();
        if (def.fontPoints > 0) f.setPointSize(def.fontPoints);
        f.setBold(def.bold);
        w->setFont(f);
    }
    if (def.foreColor >= 0) {
        setRole(w, QPalette::WindowText, unsigned(def.foreColor));
        setRole(w, QPalette::ButtonText, unsigned(def.foreColor));
        setRole(w, QPalette::Text, unsigned(def.foreColor));
    }
    w->setVisible(def.visible);
}

void Control::fire(const std::function<void()>& event, const char* eventName) const {
    if (!event) return;
    const QByteArray what = (widget_ ? widget_->objectName() : Name).toUtf8() + '_' + eventName;
    runHandler(what.constData(), widget_, event);
}

void Control::Move(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    const int w = widthTwips < 0 ? widget_->width() : px(widthTwips);
    const int h = heightTwips < 0 ? widget_->height() : px(heightTwips);
    widget_->setGeometry(px(leftTwips), px(topTwips), w, h);
}
int Control::Left() const { return twips(widget_->x()); }
int Control::Top() const { return twips(widget_->y()); }
int Control::Width() const { return twips(widget_->width()); }
int Control::Height() const { return twips(widget_->height()); }
bool Control::Visible() const { return !widget_->isHidden(); }
void Control::setVisible(bool v) { widget_->setVisible(v); }
bool Control::Enabled() const { return widget_->isEnabled(); }
void Control::setEnabled(bool e) { widget_->setEnabled(e); }

// ---------------------------------------------------------------- CommandButton

CommandButton::CommandButton(QWidget* parent, const ControlSpec& def) : QPushButton(def.caption, parent) {
    init(this, def);
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    setAccessibleName(accessibleText(*this, def.caption));
    if (def.backColor >= 0) setBackColor(unsigned(def.backColor));
    connect(this, &QPushButton::clicked, this, [this] { doClick(); });
}

QString CommandButton::Caption() const { return text(); }

void CommandButton::setCaption(const QString& c) {
    setText(c);
    setAccessibleName(accessibleText(*this, c));
}

unsigned CommandButton::BackColor() const {
    return back_ >= 0 ? unsigned(back_) : toBgr(palette().color(QPalette::Button));
}

void CommandButton::setBackColor(unsigned bgrColor) {
    back_ = bgrColor;
    update();
}

void CommandButton::doClick() { fire(Click, "Click"); }

QRect CommandButton::captionArea(const QStyleOptionButton& opt) const {
    if (back_ >= 0) return rect().adjusted(2, 1, -2, -1);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
}

QFont CommandButton::captionFont() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    return fittingFont(font(), captionArea(opt), Qt::AlignCenter | Qt::TextWordWrap, opt.text);
}

void CommandButton::paintEvent(QPaintEvent*) {
    // The face, then the caption wrapped onto as many lines as the face needs (at blanks, and
    // between any two ideographs), in a smaller font when it needs more lines than the face has.
    // A button given a colour paints its face in that colour itself, whatever the style: flat,
    // darker while pressed, framed black while it has the focus.
    QStylePainter painter(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    const QRect area = captionArea(opt);
    opt.text.clear();
    QColor text = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    if (back_ >= 0) {
        const QColor face = bgr(unsigned(back_));
        const bool framed = isDown() || hasFocus();
        painter.fillRect(rect(), isDown() ? face.darker(115) : face);
        QPen pen(framed ? QColor(Qt::black) : face.darker(160));
        pen.setWidth(hasFocus() ? 2 : 1);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const int inset = pen.width() / 2;
        painter.drawRect(rect().adjusted(inset, inset, -1 - (pen.width() - 1 - inset), -1 - (pen.width() - 1 - inset)));
        if (!isEnabled()) text = QColor(Qt::gray);
    } else {
        painter.drawControl(QStyle::CE_PushButton, opt);
    }
    painter.setPen(text);
    painter.setFont(fittingFont(font(), area, Qt::AlignCenter | Qt::TextWordWrap, caption));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

// ---------------------------------------------------------------- Label

Label::Label(QWidget* parent, const ControlSpec& def) : QLabel(parent) {
    installAccessibleLabels();
    init(this, def);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setLabelBack(this, def.backColor, def.transparent);
    setCaption(def.caption);
}

QString Label::Caption() const { return text(); }

void Label::setCaption(const QString& c) {
    setText(c);
    setAccessibleName(accessibleText(*this, c));
}

void Label::setBackColor(unsigned bgrColor) { setLabelBack(this, bgrColor, false); }
void Label::setForeColor(unsigned bgrColor) { setRole(this, QPalette::WindowText, bgrColor); }

void Label::doClick() { fire(Click, "Click"); }

// The handlers are wired after the label is made (by the window's load at the latest), so the
// label learns whether it serves as a button when it is shown.
void Label::showEvent(QShowEvent* e) {
    QLabel::showEvent(e);
    setFocusPolicy(clickable() ? Qt::StrongFocus : Qt::NoFocus);
    if (clickable()) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
}

void Label::mousePressEvent(QMouseEvent* e) {
    QLabel::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) doClick();
}

void Label::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    fire(DblClick, "DblClick");
}

void Label::keyPressEvent(QKeyEvent* e) {
    if (clickable() && isClickKey(e)) doClick();
    else QLabel::keyPressEvent(e);
}

QFont Label::captionFont() const { return labelCaptionFont(this); }

void Label::paintEvent(QPaintEvent* e) {
    if (!paintFittedCaption(this)) QLabel::paintEvent(e);
    paintFocusFrame(this);
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(QWidget* parent, const ControlSpec& def) : QFrame(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* editor = nullptr;
    if (def.multiLine) {
        multi_ = new QPlainTextEdit(this);
        multi_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        multi_->setPlainText(def.caption);
        multi_->viewport()->installEventFilter(this);
        connect(multi_, &QPlainTextEdit::textChanged, this, [this] { changed(); });
        editor = multi_;
    } else {
        line_ = new QLineEdit(def.caption, this);
        line_->setCursorPosition(0);
        line_->installEventFilter(this);
        connect(line_, &QLineEdit::textChanged, this, [this] { changed(); });
        editor = line_;
    }
    layout->addWidget(editor);
    setFocusProxy(editor);
    init(this, def);
    last_ = Text();
    setAccessibleName(Name);
    editor->setAccessibleName(Name);
    if (def.backColor >= 0) setBackColor(unsigned(def.backColor));
    if (def.foreColor >= 0) setForeColor(unsigned(def.foreColor));
}

// Several lines read with CR LF line ends, as they are written.
QString TextBox::Text() const {
    if (line_) return line_->text();
    QString t = multi_->toPlainText();
    t.replace(QChar('\n'), QStringLiteral("\r\n"));
    return t;
}

void TextBox::setText(const QString& t) {
    if (t == Text()) return;
    if (line_) {
        line_->setText(t);
        line_->setCursorPosition(0);   // a text longer than the box shows from its start
        fitText();
    } else {
        QString plain = t;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        multi_->setPlainText(plain);
    }
}

// A one-line box shows a code, a date or a number the program writes into it whole, as a grid
// column does: where the box is too narrow for it, it grows (into free room beside it on the
// right, else on the left), and it goes back to where the window put it when the text fits again.
void TextBox::fitText() {
    if (!line_) return;
    if (geometry() != fitted_) laid_ = geometry();   // the window placed it anew
    QRect want = laid_;
    const QString t = line_->text();
    if (isCodeText(t)) {
        QStyleOptionFrame opt;
        opt.initFrom(line_);
        opt.lineWidth = line_->hasFrame() ? line_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, line_) : 0;
        opt.state |= QStyle::State_Sunken;
        const QMargins text = line_->textMargins(), contents = line_->contentsMargins();
        // The line's own margin of 2 pixels on each side, and a pixel for the cursor.
        const int content = line_->fontMetrics().horizontalAdvance(t) + 2 * 2 + 1 + text.left() + text.right() +
                            contents.left() + contents.right();
        const int needed = line_->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(content, want.height()), line_).width();
        int extra = needed - want.width();
        if (extra > 0 && parentWidget()) {
            int rightFree = parentWidget()->width() - (laid_.right() + 1), leftFree = laid_.left();
            for (const QObject* o : parentWidget()->children()) {
                const auto* w = qobject_cast<const QWidget*>(o);
                if (!w || w == this || w->isHidden() || w->isWindow()) continue;
                const QRect g = w->geometry();
                if (g.bottom() < laid_.top() || g.top() > laid_.bottom()) continue;
                if (g.center().x() >= laid_.center().x()) rightFree = std::min(rightFree, g.left() - (laid_.right() + 1));
                else leftFree = std::min(leftFree, laid_.left() - (g.right() + 1));
            }
            const int right = std::clamp(rightFree, 0, extra);
            const int left = std::clamp(leftFree, 0, extra - right);
            want.adjust(-left, 0, extra - left, 0);
            raise();
        }
    }
    fitted_ = want;
    if (geometry() != want) setGeometry(want);
}

void TextBox::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    fitText();
}

void TextBox::changed() {
    const QString now = Text();
    if (now == last_) return;
    last_ = now;
    fire(Change, "Change");
}

int TextBox::SelStart() const {
    if (line_) return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
    return multi_->textCursor().selectionStart();
}

void TextBox::setSelStart(int s) {
    if (line_) {
        line_->setCursorPosition(std::clamp(s, 0, int(line_->text().size())));
        return;
    }
    placeCursor(multi_, s);
}

int TextBox::SelLength() const {
    if (line_) return int(line_->selectedText().size());
    return selectionLength(multi_);
}

void TextBox::setSelLength(int n) {
    const int start = SelStart();
    if (line_) {
        line_->setSelection(start, std::clamp(n, 0, int(line_->text().size()) - start));
        return;
    }
    selectFrom(multi_, start, n);
}

QString TextBox::SelText() const {
    if (line_) return line_->selectedText();
    return multi_->textCursor().selectedText().replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void TextBox::setSelText(const QString& t) {
    if (line_) {
        line_->insert(t);
        return;
    }
    QString plain = t;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    multi_->textCursor().insertText(plain);
}

void TextBox::setBackColor(unsigned bgrColor) {
    QWidget* editor = line_ ? static_cast<QWidget*>(line_) : multi_;
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, bgr(bgrColor));
    editor->setPalette(p);
}

void TextBox::setForeColor(unsigned bgrColor) {
    setRole(line_ ? static_cast<QWidget*>(line_) : multi_, QPalette::Text, bgrColor);
}

void TextBox::setLocked(bool locked) {
    if (line_) line_->setReadOnly(locked);
    else multi_->setReadOnly(locked);
}

void TextBox::SetFocus() {
    if (line_) line_->setFocus(Qt::OtherFocusReason);
    else multi_->setFocus(Qt::OtherFocusReason);
}

bool TextBox::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
        fire(Click, "Click");
    else if (e->type() == QEvent::MouseButtonDblClick)
        fire(DblClick, "DblClick");
    return QFrame::eventFilter(watched, e);
}

// ---------------------------------------------------------------- RichTextBox

RichTextBox::RichTextBox(QWidget* parent, const ControlSpec& def) : QTextEdit(parent) {
    init(this, def);
    setAcceptRichText(false);
    setPlainText(def.caption);
    last_ = toPlainText();
    setAccessibleName(Name);
    if (def.backColor >= 0) setRole(this, QPalette::Base, unsigned(def.backColor));
    connect(this, &QTextEdit::textChanged, this, [this] {
        const QString now = toPlainText();
        if (now == last_) return;
        last_ = now;
        fire(Change, "Change");
    });
}

QString RichTextBox::Text() const { return toPlainText(); }

void RichTextBox::setText(const QString& t) {
    if (t == Text()) return;
    // Replaced as one edit, so the replacement can be undone too.
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.insertText(t);
}

int RichTextBox::SelStart() const { return textCursor().selectionStart(); }

void RichTextBox::setSelStart(int s) { placeCursor(this, s); }

int RichTextBox::SelLength() const { return selectionLength(this); }

void RichTextBox::setSelLength(int n) { selectFrom(this, SelStart(), n); }

QString RichTextBox::SelText() const {
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, QChar('\n'));
}

void RichTextBox::setSelText(const QString& t) {
    QTextCursor c = textCursor();
    c.insertText(t);
    setTextCursor(c);
}

void RichTextBox::Undo() { undo(); }

void RichTextBox::Cut() {
    dialogs().setClipboardText(SelText());
    setSelText(QString());
}

void RichTextBox::Copy() { dialogs().setClipboardText(SelText()); }

void RichTextBox::Paste() { setSelText(dialogs().clipboardText()); }

void RichTextBox::mousePressEvent(QMouseEvent* e) {
    QTextEdit::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) fire(Click, "Click");
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QTextEdit::mouseDoubleClickEvent(e);
    fire(DblClick, "DblClick");
}

// ---------------------------------------------------------------- Picture

Picture::Picture(QWidget* parent, const ControlSpec& def) : QLabel(parent) {
    init(this, def);
    setScaledContents(true);
    setAccessibleName(accessibleText(*this, def.caption));
    if (def.backColor >= 0) setLabelBack(this, def.backColor, false);
}

void Picture::setPicture(const QPixmap& p) { setPixmap(p); }

// ---------------------------------------------------------------- LinkLabel

LinkLabel::LinkLabel(QWidget* parent, const ControlSpec& def) : QLabel(parent) {
    installAccessibleLabels();
    init(this, def);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    if (def.foreColor < 0) setRole(this, QPalette::WindowText, 0xFF0000);   // blue link text
    setLabelBack(this, def.backColor, def.transparent);
    setCaption(def.caption);
}

QString LinkLabel::Caption() const { return text(); }

void LinkLabel::setCaption(const QString& c) {
    setText(c);
    setAccessibleName(accessibleText(*this, c));
}

void LinkLabel::setBackColor(unsigned bgrColor) { setLabelBack(this, bgrColor, false); }

// One click, one launch: the browser is started without waiting for it, a double-click's second
// press opens nothing more, and a held key opens the link once.
void LinkLabel::doClick() {
    fire(LinkClick, "LinkClick");
    if (!Address.isEmpty()) {
        const QString address = Address;
        runHandler("LinkLabel", this, [&] { dialogs().openUrl(address); });
    }
}

void LinkLabel::mousePressEvent(QMouseEvent* e) {
    QLabel::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) doClick();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void LinkLabel::keyPressEvent(QKeyEvent* e) {
    if (!isClickKey(e)) QLabel::keyPressEvent(e);
    else if (!e->isAutoRepeat()) doClick();
}

QFont LinkLabel::captionFont() const { return labelCaptionFont(this); }

void LinkLabel::paintEvent(QPaintEvent* e) {
    if (!paintFittedCaption(this)) QLabel::paintEvent(e);
    paintFocusFrame(this);
}

// ---------------------------------------------------------------- Data

Data::Data(QWidget* parent, const ControlSpec& def) : QFrame(parent), caption_(def.caption) {
    init(this, def);
    setFrameShape(QFrame::Box);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    auto* label = new QLabel(caption_.isEmpty() ? Name : caption_, this);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    setAccessibleName(accessibleText(*this, caption_));
}

QString Data::Caption() const { return caption_; }

void Data::showNavigation() {
    struct Nav {
        const char* text;
        const char* name;
        Move move;
    };
    const Nav navs[] = {{"|◀", "最初のレコード", Move::First},
                        {"◀", "前のレコード", Move::Previous},
                        {"▶", "次のレコード", Move::Next},
                        {"▶|", "最後のレコード", Move::Last}};
    auto* box = qobject_cast<QHBoxLayout*>(layout());
    for (const Nav& n : navs) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(n.text));
        b->setAccessibleName(QString::fromUtf8(n.name));
        b->setToolTip(QString::fromUtf8(n.name));
        b->setObjectName(QString::fromUtf8(n.name));
        const bool forwards = n.move == Move::Next || n.move == Move::Last;
        if (forwards) box->addWidget(b);
        else box->insertWidget(box->count() - 1, b);
        QObject::connect(b, &QToolButton::clicked, this, [this, m = n.move] {
            runHandler((Name + QStringLiteral("_Reposition")).toUtf8().constData(), [&] { navigate(m); });
        });
    }
}

void Data::navigate(Move move) {
    if (Validate && !Validate()) return;
    if (hasRecordset()) {
        platform::Recordset& rs = recordset();
        switch (move) {
        case Move::First: rs.MoveFirst(); break;
        case Move::Last: rs.MoveLast(); break;
        case Move::Next:
            rs.MoveNext();
            if (rs.atEOF() && rs.recordCount() > 0) rs.MoveLast();
            break;
        case Move::Previous:
            rs.MovePrevious();
            if (rs.atBOF() && rs.recordCount() > 0) rs.MoveFirst();
            break;
        }
    }
    if (Reposition) Reposition();
}

// ---------------------------------------------------------------- MenuItem

MenuItem::MenuItem(QObject* parent, const QString& name, const QString& caption)
    : QAction(caption, parent), Name(name) {
    connect(this, &QAction::triggered, this, [this] {
        if (!Click) return;
        const QByteArray what = (Name + QStringLiteral("_Click")).toUtf8();
        runHandler(what.constData(), qobject_cast<QWidget*>(this->parent()), Click);
    });
}

}  // namespace ui
