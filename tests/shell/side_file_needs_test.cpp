// The start over a journal a killed write left, when settling it is cut short or cannot be done:
// a set-aside killed half-way, a file this user cannot write, a disk without room for the trial;
// and the notice shown while the trial runs.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/data/database.h"
#include "platform/data/errors.h"
#include "platform/data/paths.h"
#include "platform/data/schema.h"
#include "platform/data/side_files.h"
#include "shell/startup.h"
#include "support/killed_writes.h"
#include "support/scripted_dialogs.h"
#include "support/unprivileged.h"
#include "shell_fixture.h"

using shell_test::readBytes;
using shell_test::readRaw;
using shell_test::writeBytes;

namespace {

const char* const kPricedStocks = "SELECT count(*) FROM \"list\" WHERE \"kabuka1\" IS NOT NULL";

// The one message box the start showed holds each text.
void expectOneMessage(const testing_support::ScriptedDialogs& seam, const QStringList& texts) {
    const QStringList shown = seam.msgBoxPrompts();
    ASSERT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
    for (const QString& text : texts) EXPECT_TRUE(shown[0].contains(text)) << text.toStdString() << "\n" << shown[0].toStdString();
}

// A file system of its own, of a given size, over a folder while the object lives.
class SmallDisk {
public:
    SmallDisk(const QString& folder, const char* size) : folder_(QFile::encodeName(folder)) {
        if (::geteuid() != 0) why_ = "needs root to mount a file system";
        else if (::mount("tmpfs", folder_.constData(), "tmpfs", 0, (QByteArray("size=") + size).constData()) != 0)
            why_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (why_.isEmpty()) ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return why_.isEmpty(); }
    QByteArray why() const { return why_; }

private:
    QByteArray folder_, why_;
};

// A program folder started once, whose run was then killed at the sync of a price write for every
// stock: every page of the write is in the file, its journal not yet ended. Played back, the
// journal gives the file without the prices (the state before the write); as it stands the file
// holds them: both whole, so the start asks. With a disk size, the program folder is a file system
// of that size.
struct KilledAtSync {
    testing_support::ProgramFolderScope scope;
    std::unique_ptr<SmallDisk> disk;
    const QString main = platform::mainDatabasePath();
    const QString journal = main + QStringLiteral("-journal");
    QByteArray fileBytes, journalBytes;
    explicit KilledAtSync(const char* diskSize = nullptr) {
        if (diskSize) {
            disk = std::make_unique<SmallDisk>(platform::programFolder(), diskSize);
            if (!disk->mounted()) return;
        }
        {
            testing_support::SeamScope seam;
            auto lock = shell::startUp();
            EXPECT_NE(lock, nullptr);
            platform::Database::releaseUnused();
        }
        EXPECT_TRUE(testing_support::killedChild(
            [&] {
                testing_support::killAtDatabaseSync();
                platform::Database::open(main)->executeRaw(QStringLiteral("UPDATE \"list\" SET \"kabuka1\" = 100 + \"ID\" % 997"));
            },
            false));
        fileBytes = readBytes(main);
        journalBytes = readBytes(journal);
        EXPECT_FALSE(journalBytes.isEmpty());
    }
    // The main database's files and the trial's private folders in the program folder.
    QStringList namesBeside() const {
        return QDir(scope.folder()).entryList({QStringLiteral("druvolo.mdb*"), QStringLiteral(".quenara-copy-*")},
                                              QDir::Files | QDir::Dirs | QDir::Hidden, QDir::Name);
    }
};

// The text at address `at` of a traced process.
QByteArray tracedText(pid_t pid, unsigned long long at) {
    QByteArray text;
    while (text.size() < 4096) {
        errno = 0;
        const long word = ::ptrace(PTRACE_PEEKDATA, pid, reinterpret_cast<void*>(at + text.size()), nullptr);
        if (errno != 0) break;
        const QByteArray bytes(reinterpret_cast<const char*>(&word), sizeof word);
        const qsizetype end = bytes.indexOf('\0');
        if (end >= 0) return text + bytes.left(end);
        text += bytes;
    }
    return text;
}

// Runs work in a child process that is killed (SIGKILL) as it enters the removal of a file whose
// path ends with `ending`, as a kill of the program at that moment. True when it was killed there.
bool killedAtRemoval(const QByteArray& ending, const std::function<void()>& work) {
    platform::Database::releaseUnused();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        work();
        ::_exit(0);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status)) return false;
    ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    for (int signal = 0;;) {
        if (::ptrace(PTRACE_SYSCALL, pid, nullptr, signal) != 0 || ::waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status))
            return false;
        signal = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
        if (signal) continue;
        user_regs_struct regs {};
        ::ptrace(PTRACE_GETREGS, pid, nullptr, &regs);
        const bool entering = static_cast<long long>(regs.rax) == -ENOSYS;
        if (!entering || (regs.orig_rax != SYS_unlink && regs.orig_rax != SYS_unlinkat)) continue;
        if (!tracedText(pid, regs.orig_rax == SYS_unlink ? regs.rdi : regs.rsi).endsWith(ending)) continue;
        ::kill(pid, SIGKILL);
        return ::waitpid(pid, &status, 0) == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
}

// The person kept the file as it stands, and the run was killed after the journal's new name was
// made and before its old name was removed: the next start finishes that without asking again.
TEST(SideFileNeeds, ASetAsideKilledBetweenItsTwoNamesIsFinishedAtTheNextStart) {
    KilledAtSync f;
    ASSERT_TRUE(killedAtRemoval("/druvolo.mdb-journal", [&] {
        platform::settleSideFiles(f.main, &platform::mainDatabaseProblem, {}, [](const QStringList&, const QString&, const QString&) { return false; });
    })) << "the set-aside ended before its kill";
    const QString orphan = f.journal + QStringLiteral(".1.orphan");
    ASSERT_EQ(readBytes(f.journal), f.journalBytes);
    ASSERT_EQ(readBytes(orphan), f.journalBytes);

    testing_support::SeamScope seam;
    seam->answerMsgBox(ui::vbOK);
    auto lock = shell::startUp();

    ASSERT_NE(lock, nullptr);
    expectOneMessage(*seam, {QStringLiteral("druvolo.mdb-journal.1.orphan")});
    EXPECT_EQ(f.namesBeside(), (QStringList{QStringLiteral("druvolo.mdb"), QStringLiteral("druvolo.mdb-journal.1.orphan")}));
    EXPECT_EQ(readBytes(orphan), f.journalBytes);
    EXPECT_EQ(readRaw(f.main, kPricedStocks), QStringLiteral("3769"));   // as it stood, as the person chose
    EXPECT_EQ(readRaw(f.main, "PRAGMA integrity_check"), QStringLiteral("ok"));
    platform::Database::releaseUnused();
}

// A main database this user cannot write, with a journal to be played back: told at start with
// the reason, and neither file changes.
TEST(SideFileNeeds, AFileThisUserCannotWriteIsToldAtStartWithTheReason) {
    KilledAtSync f;
    testing_support::SeamScope seam;
    seam->answerMsgBox(ui::vbOK);
    std::unique_ptr<platform::FolderLock> lock;
    {
        testing_support::UnprivilegedFiles user({QDir::cleanPath(platform::programFolder() + QStringLiteral("/.."))});
        ASSERT_TRUE(QFile::setPermissions(f.main, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        lock = shell::startUp();
        ASSERT_NE(lock, nullptr);
        EXPECT_THROW(platform::Database::open(f.main), platform::DataError);
    }
    expectOneMessage(*seam, {QStringLiteral("このデータベースは使えません"), QStringLiteral("druvolo.mdb-journal"),
                             QStringLiteral("このファイルに書き込めないため（Permission denied）、途中の書き込みを片付けられません")});
    EXPECT_EQ(readBytes(f.main), f.fileBytes);
    EXPECT_EQ(readBytes(f.journal), f.journalBytes);
    platform::Database::releaseUnused();
}

// Less free room than the trial's copies need: told as such, with the room needed and the folder,
// and nothing changes.
TEST(SideFileNeeds, ADiskWithoutRoomForTheTrialIsToldAndNothingChanges) {
    KilledAtSync f("24m");
    if (!f.disk->mounted()) GTEST_SKIP() << "no small file system for the test: " << f.disk->why().constData();
    // Fills the disk up to less than the file's size again.
    struct statvfs room {};
    ASSERT_EQ(::statvfs(QFile::encodeName(platform::programFolder()).constData(), &room), 0);
    const qint64 free = qint64(room.f_bavail) * qint64(room.f_frsize);
    ASSERT_GT(free, f.fileBytes.size());
    writeBytes(platform::programFile(QStringLiteral("filler")), QByteArray(free - f.fileBytes.size() / 2, 'f'));
    testing_support::SeamScope seam;
    seam->answerMsgBox(ui::vbOK);

    auto lock = shell::startUp();

    ASSERT_NE(lock, nullptr);
    expectOneMessage(*seam, {QStringLiteral("druvolo.mdb-journal"),
                             QStringLiteral("ディスクの空きが足りません。%1 に ").arg(QDir::cleanPath(platform::programFolder())),
                             QStringLiteral("しかありません。どのファイルも書き換えていません。")});
    EXPECT_EQ(readBytes(f.main), f.fileBytes);
    EXPECT_EQ(readBytes(f.journal), f.journalBytes);
    EXPECT_EQ(f.namesBeside(), (QStringList{QStringLiteral("druvolo.mdb"), QStringLiteral("druvolo.mdb-journal")}));
    lock.reset();
    platform::Database::releaseUnused();
}

// Whether the busy notice is on the screen, and the pointer then.
struct Screen {
    bool notice = false;
    bool busyPointer = false;
    static Screen now() {
        Screen s;
        for (QWidget* w : QApplication::topLevelWidgets())
            s.notice = s.notice || (w->objectName() == QLatin1String("BusyNotice") && w->isVisible());
        s.busyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        return s;
    }
};

// Notes the screen whenever a window is shown, and at each message box.
class ScreenWatch : public QObject {
public:
    std::vector<Screen> atShow;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->objectName() == QLatin1String("BusyNotice")) atShow.push_back(Screen::now());
        return false;
    }
};
class WatchingDialogs : public testing_support::ScriptedDialogs {
public:
    std::vector<Screen> atMsgBox;
    int msgBox(const QString& prompt, int style, const QString& title) override {
        atMsgBox.push_back(Screen::now());
        return ScriptedDialogs::msgBox(prompt, style, title);
    }
};

// The trial shows the notice and the busy pointer from its start, takes them away before it asks,
// and a start without side files shows neither.
TEST(SideFileNeeds, TheTrialShowsThatTheProgramIsAtWorkUntilItAsks) {
    KilledAtSync f;
    ScreenWatch watch;
    qApp->installEventFilter(&watch);
    auto* dialogs = new WatchingDialogs;
    auto previous = ui::setDialogs(std::unique_ptr<ui::Dialogs>(dialogs));
    dialogs->answerMsgBox(ui::vbYes);   // apply the journal
    dialogs->answerMsgBox(ui::vbOK);    // the file as it stood is kept under a new name

    auto lock = shell::startUp();
    ASSERT_NE(lock, nullptr);
    const std::vector<Screen> shownAtTrial = watch.atShow, atQuestions = dialogs->atMsgBox;
    const Screen afterStart = Screen::now();
    lock.reset();
    platform::Database::releaseUnused();
    watch.atShow.clear();
    auto plain = shell::startUp();   // nothing left to settle
    qApp->removeEventFilter(&watch);
    ui::setDialogs(std::move(previous));

    ASSERT_EQ(shownAtTrial.size(), 1u);
    EXPECT_TRUE(shownAtTrial[0].busyPointer);
    ASSERT_EQ(atQuestions.size(), 2u);
    for (const Screen& s : atQuestions) {
        EXPECT_FALSE(s.notice);
        EXPECT_FALSE(s.busyPointer);
    }
    EXPECT_FALSE(afterStart.notice);
    EXPECT_FALSE(afterStart.busyPointer);
    EXPECT_EQ(readRaw(f.main, kPricedStocks), QStringLiteral("0"));   // played back
    EXPECT_TRUE(watch.atShow.empty());
    plain.reset();
    platform::Database::releaseUnused();
}

}  // namespace
