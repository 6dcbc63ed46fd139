#pragma once
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QAction>
#include <QStyleOptionButton>
#include <functional>
#include <vector>
#include "platform/data/data_control.h"

namespace ui {

class Form;

// A caption's font: the given one, or, when the caption laid out in area with flags (alignment,
// word wrap) would run past the area, the largest smaller size at which it fits (by half points,
// down to six points). Buttons, labels and grid headings fit their captions so.
QFont fittingFont(QFont font, const QRect& area, int flags, const QString& caption);

// How a control is declared in a window's control table. Geometry in twips, colours &HBBGGRR,
// -1 for "the default".
struct ControlSpec {
    const char* name;          // "Command5", "Text1" (with index for arrays), "HprLnkEx1"
    int index = -1;            // index in a control array, -1 for a single control
    QString caption;           // caption or initial text
    int left = 0, top = 0, width = 0, height = 0;
    long long backColor = -1;
    long long foreColor = -1;
    bool visible = true;
    bool multiLine = false;    // text boxes: several lines with a vertical scroll bar
    bool transparent = false;  // labels: the window's back colour shows through
    int fontPoints = 0;        // 0: the window's font
    bool bold = false;
};

// What every control of a window shares: its name, index and twips geometry.
class Control {
public:
    virtual ~Control() = default;
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    QString Name;
    int Index = -1;
    QWidget* widget() { return widget_; }
    void Move(int leftTwips, int topTwips, int widthTwips = -1, int heightTwips = -1);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    bool Visible() const;
    void setVisible(bool v);
    bool Enabled() const;
    void setEnabled(bool e);
protected:
    void init(QWidget* w, const ControlSpec& def);
    // Runs one of the control's events through runHandler, named "Command5_Click".
    void fire(const std::function<void()>& event, const char* eventName) const;
    QWidget* widget_ = nullptr;
};

// The widget classes below have their own setVisible / setEnabled; the control's versions (which
// keep the same meaning) are the ones a window's code sees.
#define QUENARA_CONTROL_NAMES \
    using Control::setVisible; \
    using Control::setEnabled;

class CommandButton : public QPushButton, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    CommandButton(QWidget* parent, const ControlSpec& def);
    QString Caption() const;
    void setCaption(const QString& c);
    unsigned BackColor() const;           // the face colour
    void setBackColor(unsigned bgrColor); // shown with any style
    std::function<void()> Click;          // dispatched through runHandler
    void doClick();                       // what a click or Space does
    // The font the caption is drawn in: the button's own, or smaller where the caption would not
    // fit the face. Every caption of the controls below fits its control so.
    QFont captionFont() const;
protected:
    void paintEvent(QPaintEvent* e) override;   // a caption too long for one line wraps
private:
    long long back_ = -1;
    QRect captionArea(const QStyleOptionButton& opt) const;
};

class Label : public QLabel, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    Label(QWidget* parent, const ControlSpec& def);
    QString Caption() const;
    void setCaption(const QString& c);
    void setBackColor(unsigned bgrColor);
    void setForeColor(unsigned bgrColor);
    // A label with a Click handler serves as a button: it takes part in the tab order, Space and
    // Enter click it, and assistive technology sees a button under its caption.
    std::function<void()> Click;
    std::function<void()> DblClick;
    bool clickable() const { return bool(Click); }
    void doClick();                       // what a click, Space or Enter does
    QFont captionFont() const;            // as the button's
protected:
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;   // the focus frame
};

// A text box: one line, or several lines with a scroll bar. Change runs whenever the text
// changes, by the person or by code; setting the same text again raises nothing.
class TextBox : public QFrame, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    TextBox(QWidget* parent, const ControlSpec& def);
    QString Text() const;
    void setText(const QString& t);
    int SelStart() const;
    void setSelStart(int s);
    int SelLength() const;
    void setSelLength(int n);
    QString SelText() const;
    void setSelText(const QString& t);
    void setBackColor(unsigned bgrColor);
    void setForeColor(unsigned bgrColor);
    void setLocked(bool locked);
    void SetFocus();
    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
    QLineEdit* line() { return line_; }
    QPlainTextEdit* multi() { return multi_; }
private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    QString last_;
    QRect laid_;     // where the window put the box
    QRect fitted_;   // where fitText last put it
    void changed();
    void fitText();
protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

// The rich text box of the card collection editor.
class RichTextBox : public QTextEdit, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    RichTextBox(QWidget* parent, const ControlSpec& def);
    QString Text() const;
    void setText(const QString& t);
    int SelStart() const;
    void setSelStart(int s);
    int SelLength() const;
    void setSelLength(int n);
    QString SelText() const;
    void setSelText(const QString& t);   // replaces the selection (undoable)
    void Undo();
    // The editing commands as the program's menus run them, through the dialogs seam's clipboard.
    void Cut();
    void Copy();
    void Paste();
    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
private:
    QString last_;
};

// A picture (image box or picture box): shows a pixmap scaled into its rectangle.
class Picture : public QLabel, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    Picture(QWidget* parent, const ControlSpec& def);
    void setPicture(const QPixmap& p);
};

// The link label: a caption on a back colour; a click runs LinkClick, which sets Address;
// the label then opens that address in the browser (through the dialogs seam), as it stands.
class LinkLabel : public QLabel, public Control {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    LinkLabel(QWidget* parent, const ControlSpec& def);
    QString Caption() const;
    void setCaption(const QString& c);
    void setBackColor(unsigned bgrColor);
    QString Address;
    std::function<void()> LinkClick;
    void doClick();                       // a link no browser can open is told in a message box
    QFont captionFont() const;            // as the button's
protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;   // the focus frame
};

// The data control on a window: the data layer's control with a small caption bar.
class Data : public QFrame, public Control, public platform::DataControl {
    Q_OBJECT
public:
    QUENARA_CONTROL_NAMES
    Data(QWidget* parent, const ControlSpec& def);
    QString Caption() const;
    using platform::DataControl::close;

    // The navigation buttons: first, previous, next and last record.
    enum class Move { First, Previous, Next, Last };
    void showNavigation();
    // One move as a button makes it: Validate (when set) may keep the current record by answering
    // false; the record set then moves (staying on the first or last record at either end) and
    // Reposition runs.
    void navigate(Move move);
    std::function<bool()> Validate;
    std::function<void()> Reposition;

private:
    QString caption_;
};

// A menu item of a window's menu bar.
class MenuItem : public QAction {
    Q_OBJECT
public:
    MenuItem(QObject* parent, const QString& name, const QString& caption);
    QString Name;
    bool Enabled() const { return isEnabled(); }
    void setEnabled(bool e) { QAction::setEnabled(e); }
    std::function<void()> Click;
};

// A control array: Text1(0) ... Text1(10).
template <class C>
class ControlArray {
public:
    C* operator()(int i) const { return at(i); }
    C* operator[](int i) const { return at(i); }
    C* at(int i) const { return (i >= 0 && i < int(items.size())) ? items[size_t(i)] : nullptr; }
    void set(int i, C* c) {
        if (i >= int(items.size())) items.resize(size_t(i) + 1, nullptr);
        items[size_t(i)] = c;
    }
    int size() const { return int(items.size()); }
    std::vector<C*> items;
};

}  // namespace ui
