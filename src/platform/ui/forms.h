#pragma once
#include <QMenuBar>
#include <QWidget>
#include <functional>
#include <type_traits>
#include <vector>
#include "platform/ui/controls.h"
#include "platform/ui/flexgrid.h"
#include "platform/ui/guard.h"

namespace ui {

// Unload modes of Form_QueryUnload.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

// One row of a window's control table: the member that receives the control, its definition,
// and the window's handler of its Click (none for a control without one).
template <class W, class C>
struct ControlRow {
    C* W::*member;
    ControlSpec def;
    void (W::*click)() = nullptr;
};

// Where a window that is being shown goes, so that windows open together each keep their controls
// within reach. frame: the window's frame where it stands; shown: the frames of the other shown
// windows, the one shown last at the back; screen: the screen's free area; step: how far a
// cascaded window stands from the window shown last (that window's title and menu bars).
// The window stays where it stands when it lies on the screen and covers no shown window; else
// it takes the first free place on the screen (row by row from the top-left) beside the screen's
// edge or a shown window; else it is cascaded from a shown window (the one shown last, or else the
// latest one from which it leaves every shown window's top-left corner in view). Returns the
// frame's new top-left corner.
QPoint windowPlace(const QRect& frame, const std::vector<QRect>& shown, const QRect& screen, int step);

// Where a window's client area goes so that its frame stands where windowPlace puts it. The
// places are those of frames, while the window system puts a window's client area where it is
// told: placed by its client area, a window's title bar would cover the window above it, and a
// window cascaded from another would stand over it. designed: the window's frame top-left corner
// where the program put it, with its client area's size; margins: the frame's widths around the
// client area (the title bar at the top); shown, screen, step as for windowPlace. Returns the
// client area's new top-left corner.
QPoint framePlacement(const QRect& designed, const QMargins& margins, const std::vector<QRect>& shown,
                      const QRect& screen, int step);

// A window of the program. Each window class has one default instance (DefaultForm below).
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& name);
    ~Form() override;

    QString Name;
    QString Caption() const;
    void setCaption(const QString& c);
    unsigned BackColor() const;
    void setBackColor(unsigned bgrColor);
    // Client-area geometry in twips.
    void Move(int leftTwips, int topTwips, int widthTwips = -1, int heightTwips = -1);
    int ScaleWidth() const;
    int ScaleHeight() const;

    // Modeless, without owner; raises Form_Activate when it becomes active. A window that was not
    // in view comes back where it stood when it last went out of view (even before an unload);
    // shown for the first time, it is placed (windowPlace).
    void Show();
    void Hide();
    // Places the window now where Show will show it, for a question its load asks before the
    // window is in view: the question stands by the window (dialogOrigin) and Show keeps the place.
    void placeBeforeShow();
    // Form_QueryUnload(unloadMode), then the window goes unless it refused; the next touch loads
    // it anew.
    void Unload(int unloadMode = vbFormCode);
    // Form_QueryUnload(unloadMode) alone: true when the window would let itself be unloaded.
    bool mayUnload(int unloadMode);
    bool isUnloaded() const { return unloaded_; }

    // Every loaded window, in load order (for the program's end).
    static std::vector<Form*> loadedForms();
    // The window that was last activated, if it is still loaded.
    static Form* activeForm();
    // The window a message box or dialog belongs over: the window whose handler runs, else the
    // active window, else the program's window that was activated or shown last; only a window in
    // view; nullptr when none is.
    static QWidget* dialogOwner();
    // The top-left corner of the frame from which a dialog's given place is taken: the window whose
    // handler runs, when it was placed before being shown (placeBeforeShow), else the dialog's
    // owner (its window); the screen's corner without either.
    static QPoint dialogOrigin(const QWidget* owner);
    // Deletes every window at once, without any of their events (test fixtures, after the
    // event loop has ended); the next touch of a window loads it anew, as if never shown.
    static void destroyAll();
    // The menu item of this window with the given name, or nullptr.
    MenuItem* menuItem(const QString& name) const;

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Set cancel to refuse; most windows refuse the close box (mode vbFormControlMenu).
    virtual void Form_QueryUnload(bool& cancel, int unloadMode) {
        cancel = (unloadMode == vbFormControlMenu);
    }
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}

    // Control factories for the window's control table. Controls are children of the client area.
    CommandButton* addButton(const ControlSpec& s);
    Label* addLabel(const ControlSpec& s);
    TextBox* addText(const ControlSpec& s);
    RichTextBox* addRichText(const ControlSpec& s);
    Picture* addPicture(const ControlSpec& s);
    LinkLabel* addLink(const ControlSpec& s);
    FlexGrid* addGrid(const ControlSpec& s);
    Data* addData(const ControlSpec& s);
    MenuItem* addMenu(const QString& name, const QString& caption, const QString& parentCaption = {});
    QWidget* client() { return client_; }

    // Wires an event to a handler; the handler is run through runHandler (a failure is reported).
    void on(std::function<void()>& event, std::function<void()> handler, const char* what = "");

    // Makes the link labels of a table, stores each in its member and wires its click: the row's
    // link (row.link.address(code, market)) builds the address from the window's code and market
    // boxes as they read at the click.
    template <class W, class Row>
    void addLinks(W* self, const std::vector<Row>& rows, TextBox* W::*code, TextBox* W::*market) {
        for (const Row& r : rows) {
            LinkLabel* l = addLink({.name = r.link.label, .caption = r.link.caption, .left = r.left, .top = r.top,
                                    .width = r.width, .height = r.height, .backColor = r.link.backColor});
            self->*r.member = l;
            on(l->LinkClick,
               [self, l, link = &r.link, code, market] {
                   step([&] { l->Address = link->address((self->*code)->Text(), (self->*market)->Text()); });
               },
               r.link.label);
        }
    }
    // Makes the controls of a table, stores each in its member and wires its Click.
    template <class W, class C, size_t N>
    void addControls(W* self, const ControlRow<W, C> (&rows)[N]) {
        for (const ControlRow<W, C>& r : rows) {
            C* c = nullptr;
            if constexpr (std::is_same_v<C, CommandButton>) c = addButton(r.def);
            else if constexpr (std::is_same_v<C, Label>) c = addLabel(r.def);
            else c = addText(r.def);
            self->*r.member = c;
            if (r.click) on(c->Click, [self, f = r.click] { (self->*f)(); }, r.def.name);
        }
    }

protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void load();               // builds nothing itself: runs Form_Load through the handler runner
    void finishUnload();
    void activated();          // raises Form_Activate when this window was not the active one
    void layoutClient();
    void place();
    void putClientAt(QPoint clientTopLeft, const QMargins& margins);
    QMargins frameMarginsForPlacing() const;
    int menuHeight() const;
    bool placedEarly_ = false;   // placed by placeBeforeShow, not yet shown
    QPoint plannedFrame_;        // then: where its frame's top-left corner will stand
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    std::vector<MenuItem*> menuItems_;
    bool unloaded_ = false;
    bool loading_ = false;
    void (*clearInstance_)() = nullptr;
    template <class T> friend class DefaultForm;
};

// The default instance of window class T: created and loaded (Form_Load) at the first touch,
// kept until unloaded; the next touch after an unload makes a fresh one.
//   class Form13 : public ui::DefaultForm<Form13> { ... };   Form13::it().MSFlexGrid1->Rows()
template <class T>
class DefaultForm : public Form {
public:
    using Form::Form;
    static T& it() {
        if (instance_) return *instance_;
        T* form = new T();
        instance_ = form;
        form->clearInstance_ = &DefaultForm::clear;
        form->load();
        return *form;   // still valid when its own load unloaded it again
    }
    static bool isLoaded() { return instance_ != nullptr; }
private:
    static void clear() { instance_ = nullptr; }
    static inline T* instance_ = nullptr;
};

}  // namespace ui
