#pragma once
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <sys/fsuid.h>
#include <unistd.h>

namespace testing_support {

// File access without privileges while the object lives: a test run by root (who may read and
// write any file) makes the file checks of its thread as "nobody", to whom the given folders (the
// program folder, the test's own files) are handed for the time. For any other user the folders'
// permissions already apply; nothing changes.
class UnprivilegedFiles {
public:
    explicit UnprivilegedFiles(const QStringList& ownFolders) {
        if (::geteuid() != 0) return;
        folders_ = ownFolders;
        for (const QString& folder : folders_) ownTree(folder, kNobody);
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
    }
    ~UnprivilegedFiles() {
        if (folders_.isEmpty()) return;
        ::setfsuid(0);
        ::setfsgid(0);
        for (const QString& folder : folders_) ownTree(folder, 0);
    }
    UnprivilegedFiles(const UnprivilegedFiles&) = delete;
    UnprivilegedFiles& operator=(const UnprivilegedFiles&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    static void ownTree(const QString& folder, uid_t owner) {
        ::chown(QFile::encodeName(folder).constData(), owner, owner);
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) ::lchown(QFile::encodeName(it.next()).constData(), owner, owner);
    }
    QStringList folders_;
};

}  // namespace testing_support
