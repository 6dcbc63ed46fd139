#pragma once
#include <memory>

class QWidget;

namespace ui {

// While the object lives: a small window without a frame in the middle of the screen saying that
// the program is checking a database, and the busy pointer; both painted before the constructor
// returns, so that long work that follows it (which lets no event through) shows them
// from its start. Nothing is shown without an application of windows.
class BusyNotice {
public:
    BusyNotice();
    ~BusyNotice();
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

private:
    std::unique_ptr<QWidget> window_;
};

}  // namespace ui
