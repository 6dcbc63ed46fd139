#include "shell/system_end.h"
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include "shell/form5.h"

namespace shell {

namespace {

int pipeEnds[2] = {-1, -1};

// Only what is safe in a signal handler: one write, errno kept.
void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

// A question open at that moment (a message or input box) is closed as if cancelled, so that
// the handler waiting for it returns before the program ends.
void closeOpenQuestions() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isModal()) w->close();
}

}  // namespace

void endOnSystemSignals() {
    static bool installed = false;
    if (installed) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) return;
    ::fcntl(pipeEnds[1], F_SETFL, ::fcntl(pipeEnds[1], F_GETFL) | O_NONBLOCK);
    installed = true;
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [notifier] {
        char bytes[16];
        [[maybe_unused]] const ssize_t n = ::read(pipeEnds[0], bytes, sizeof bytes);
        notifier->setEnabled(false);   // one end is enough
        closeOpenQuestions();
        QTimer::singleShot(0, qApp, [] { Form5::it().endForSystem(); });
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace shell
