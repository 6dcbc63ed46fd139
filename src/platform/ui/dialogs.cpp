#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <array>
#include "platform/data/paths.h"
#include "platform/ui/colors.h"
#include "platform/ui/forms.h"

namespace ui {

namespace {

QString titleOrProgramName(const QString& title) {
    // No title at all shows the program's name; an empty title stays empty.
    return title.isNull() ? QApplication::applicationName() : title;
}

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;   // Qt button, answer
    int escapeAnswer;
};

const QString kCancelText = QStringLiteral("キャンセル");
const QString kFolderType = QStringLiteral("フォルダー");

// The buttons speak the program's language.
QString buttonText(int answer) {
    switch (answer) {
    case vbCancel: return kCancelText;
    case vbAbort: return QStringLiteral("中止(&A)");
    case vbRetry: return QStringLiteral("再試行(&R)");
    case vbIgnore: return QStringLiteral("無視(&I)");
    case vbYes: return QStringLiteral("はい(&Y)");
    case vbNo: return QStringLiteral("いいえ(&N)");
    default: return QStringLiteral("OK");
    }
}

ButtonSet buttonsFor(int style) {
    using B = QMessageBox;
    switch (style & 7) {
    case vbOKCancel: return {{{B::Ok, vbOK}, {B::Cancel, vbCancel}}, vbCancel};
    case vbAbortRetryIgnore: return {{{B::Abort, vbAbort}, {B::Retry, vbRetry}, {B::Ignore, vbIgnore}}, 0};
    case vbYesNoCancel: return {{{B::Yes, vbYes}, {B::No, vbNo}, {B::Cancel, vbCancel}}, vbCancel};
    case vbYesNo: return {{{B::Yes, vbYes}, {B::No, vbNo}}, 0};
    case vbRetryCancel: return {{{B::Retry, vbRetry}, {B::Cancel, vbCancel}}, vbCancel};
    default: return {{{B::Ok, vbOK}}, vbOK};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A dialog over the window it belongs to (Form::dialogOwner). The dialog is a child of that
// window while it is shown, so it goes if the window goes first: read it only while it stands.
template <class D>
class OwnedDialog {
public:
    template <class... Args>
    explicit OwnedDialog(Args&&... args) : d_(new D(std::forward<Args>(args)..., Form::dialogOwner())) {}
    ~OwnedDialog() { delete d_.data(); }
    OwnedDialog(const OwnedDialog&) = delete;
    OwnedDialog& operator=(const OwnedDialog&) = delete;
    D* get() const { return d_.data(); }
    D* operator->() const { return get(); }
    explicit operator bool() const { return !d_.isNull(); }
    int exec() { return d_->exec(); }

private:
    QPointer<D> d_;
};

// The columns of the open-file dialog's file list.
enum FileColumn { kNameColumn, kSizeColumn, kTypeColumn, kDateColumn };

// The file list of the open-file dialog with its dates written as in Japan and a folder's type in
// Japanese, as the rest of the dialog speaks: Qt's file model writes dates in the system's locale
// ("11 Dec 2026" under C) and names a folder's type "Folder".
class JapaneseFileDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && (index.column() == kDateColumn || index.column() == kTypeColumn))
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QModelIndex file = mapToSource(index);
                if (index.column() == kDateColumn)
                    return QLocale(QLocale::Japanese, QLocale::Japan).toString(files->lastModified(file), QLocale::ShortFormat);
                if (files->isDir(file)) return kFolderType;
            }
        return QIdentityProxyModel::data(index, role);
    }
};

// Keeps the columns of the open-file dialog's file list as fileListColumnWidths has them as the
// list fills (from a thread of Qt's) and as the dialog is resized, until the person drags a column.
class FileListColumns : public QObject {
public:
    FileListColumns(QFileDialog* dialog, QTreeView* list) : QObject(dialog), list_(list) {
        QAbstractItemModel* files = list->model();
        for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(files, changed, this, &FileListColumns::schedule);
        connect(files, &QAbstractItemModel::dataChanged, this, &FileListColumns::schedule);
        connect(files, &QAbstractItemModel::layoutChanged, this, &FileListColumns::schedule);
        connect(files, &QAbstractItemModel::modelReset, this, &FileListColumns::schedule);
        connect(list->header(), &QHeaderView::sectionResized, this, [this] {
            if (!fitting_) keep_ = false;
        });
        list->viewport()->installEventFilter(this);
        schedule();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize || e->type() == QEvent::Show) schedule();
        return QObject::eventFilter(watched, e);
    }

private:
    QPointer<QTreeView> list_;
    bool scheduled_ = false, fitting_ = false, keep_ = true;

    void schedule() {
        if (scheduled_ || !keep_) return;
        scheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            scheduled_ = false;
            fit();
        });
    }

    void fit() {
        if (!list_ || !keep_) return;
        QHeaderView* header = list_->header();
        const QAbstractItemView* items = list_.data();   // the tree's own measure of its rows, through the public base
        std::array<int, 4> widest{};
        for (int c = 0; c < int(widest.size()) && c < header->count(); ++c)
            widest[size_t(c)] = std::max(header->sectionSizeHint(c), items->sizeHintForColumn(c));
        const int leastName = list_->fontMetrics().horizontalAdvance(QStringLiteral("wwwwwwwwwwww"));
        const std::array<int, 4> widths = fileListColumnWidths(list_->viewport()->width(), widest, leastName);
        fitting_ = true;
        for (int c = 0; c < int(widths.size()) && c < header->count(); ++c)
            if (header->sectionSize(c) != widths[size_t(c)]) header->resizeSection(c, widths[size_t(c)]);
        fitting_ = false;
    }
};

// The seam on Qt's own dialogs, the desktop's browser, aplay and the system clipboard.
class QtDialogs : public Dialogs {
public:
    // A message box stands over its own window (the window it belongs to: the one in use).
    int msgBox(const QString& prompt, int style, const QString& title) override {
        OwnedDialog<QMessageBox> box(iconFor(style), titleOrProgramName(title), prompt, QMessageBox::NoButton);
        box->setTextFormat(Qt::PlainText);
        const ButtonSet set = buttonsFor(style);
        std::vector<std::pair<QAbstractButton*, int>> answers;
        for (const auto& [button, answer] : set.buttons) {
            QPushButton* b = box->addButton(button);
            b->setText(buttonText(answer));
            answers.emplace_back(b, answer);
        }
        const size_t defaultIndex = size_t((style >> 8) & 3);
        if (defaultIndex < answers.size())
            box->setDefaultButton(static_cast<QPushButton*>(answers[defaultIndex].first));
        box.exec();
        if (box)
            for (const auto& [button, answer] : answers)
                if (box->clickedButton() == button) return answer;
        return set.escapeAnswer ? set.escapeAnswer : answers.back().second;
    }

    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& def,
                                    std::optional<QPoint> posTwips) override {
        OwnedDialog<QInputDialog> dlg;
        dlg->setWindowTitle(titleOrProgramName(title));
        dlg->setLabelText(prompt);
        dlg->setInputMode(QInputDialog::TextInput);
        dlg->setTextValue(def);
        dlg->setOkButtonText(QStringLiteral("OK"));
        dlg->setCancelButtonText(kCancelText);
        // A place the program gives is taken within the window the box belongs to (from its frame's
        // top-left corner), so that the box stands over that window wherever it is; a box that a
        // window's load asks before the window shows stands by where that window will stand.
        if (posTwips) dlg->move(QPoint(px(posTwips->x()), px(posTwips->y())) + Form::dialogOrigin(dlg->parentWidget()));
        if (dlg.exec() != QDialog::Accepted || !dlg) return std::nullopt;
        return dlg->textValue();
    }

    QString openFile(const QString& title, const QString& filter) override {
        OwnedDialog<QFileDialog> dlg;
        dlg->setAcceptMode(QFileDialog::AcceptOpen);
        dlg->setFileMode(QFileDialog::ExistingFile);
        dlg->setWindowTitle(title);
        dlg->setNameFilter(qtFileFilter(filter));
        dlg->setDirectory(platform::programFolder());
        dlg->setProxyModel(new JapaneseFileDates(dlg.get()));
        if (auto* list = dlg->findChild<QTreeView*>(QStringLiteral("treeView"))) new FileListColumns(dlg.get(), list);
        if (dlg.exec() != QDialog::Accepted || !dlg || dlg->selectedFiles().isEmpty()) return {};
        return dlg->selectedFiles().constFirst();
    }

    void openUrl(const QString& url) override { launchBrowser(url); }

    void playSound(const QString& path) override {
        if (path.isEmpty() || !QFile::exists(path)) return;
        QProcess player;
        player.start(QStringLiteral("aplay"), {QStringLiteral("-q"), path});
        if (!player.waitForStarted(3000)) return;
        if (!player.waitForFinished(60000)) {
            player.kill();
            player.waitForFinished(1000);
        }
    }

    void beep() override { QApplication::beep(); }

    QString clipboardText() override { return QGuiApplication::clipboard()->text(); }
    void setClipboardText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> d;
    return d;
}

}  // namespace

namespace {

// The browser launchers still running. None belongs to the application object: its end would kill
// them, and a launcher killed that way would read as a link that could not be opened.
std::vector<QPointer<QProcess>>& runningLaunchers() {
    static std::vector<QPointer<QProcess>> launchers;
    return launchers;
}

// At the program's end every launcher still running is let go as it is: no verdict is awaited
// and nothing is said of it; it is neither killed nor waited for (its object is left alone, since
// deleting it would kill it).
void letLaunchersGo() {
    for (const QPointer<QProcess>& launcher : runningLaunchers())
        if (launcher) QObject::disconnect(launcher, nullptr, nullptr, nullptr);
    runningLaunchers().clear();
}

void keepLauncher(QProcess* launcher) {
    static bool watchingTheEnd = false;
    if (!watchingTheEnd) {
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, letLaunchersGo);
        watchingTheEnd = true;
    }
    auto& launchers = runningLaunchers();
    launchers.erase(std::remove_if(launchers.begin(), launchers.end(), [](const QPointer<QProcess>& p) { return p.isNull(); }),
                    launchers.end());
    launchers.emplace_back(launcher);
}

}  // namespace

// Through xdg-open where the desktop has it: it tells by its exit status whether a browser took
// the address (it ends at once when none can). It runs on its own while the program goes on, and
// is let go when it ends; a launcher still running after kLauncherVerdictMs has handed the address
// to a browser that it now waits on, and how it ends says nothing more about the address. One
// still running when the program ends is let go without a word (letLaunchersGo).
// Elsewhere Qt looks for a browser itself (it does not wait either).
void launchBrowser(const QString& url) {
    constexpr qint64 kLauncherVerdictMs = 10000;
    // The address already carries its own percent-encoded parts: take it as encoded text.
    const QUrl address = QUrl::fromEncoded(url.toUtf8(), QUrl::TolerantMode);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(address)) tellUnopenedLink(url);
        return;
    }
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::errorOccurred, process, [process, url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;   // the other errors end in finished
        process->deleteLater();
        tellUnopenedLink(url);
    });
    QObject::connect(process, &QProcess::finished, process, [process, url, started](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if ((status != QProcess::NormalExit || code != 0) && started.elapsed() < kLauncherVerdictMs) tellUnopenedLink(url);
    });
    keepLauncher(process);
    process->start(opener, {QString::fromUtf8(address.toEncoded())});
}

void tellUnopenedLink(const QString& url) {
    dialogs().msgBox(QStringLiteral("ブラウザでリンクを開けませんでした。\r\n") + url, vbExclamation);
}

bool loadJapaneseQtTexts() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(t)) {
        delete t;
        return false;
    }
    translator = t;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));   // the file dialog's dates and sizes
    return true;
}

std::array<int, 4> fileListColumnWidths(int room, const std::array<int, 4>& widest, int leastName) {
    std::array<int, 4> widths = widest;
    const int others = widest[kSizeColumn] + widest[kTypeColumn] + widest[kDateColumn];
    widths[kNameColumn] = std::max({room - others, leastName, 0});
    return widths;
}

QString qtFileFilter(const QString& filter) {
    QString f = filter;
    f.replace(QChar(0), QChar('|'));
    if (!f.contains(QChar('|'))) return filter;
    QStringList parts = f.split(QChar('|'));
    while (!parts.isEmpty() && parts.back().isEmpty()) parts.removeLast();
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QChar(';'), QChar(' '));
        const QString named = QStringLiteral("(%1)").arg(patterns);
        // A description that names its patterns already ("Access (*.mdb)") shows them once.
        out << (parts[i].endsWith(named) ? parts[i] : QStringLiteral("%1 %2").arg(parts[i], named));
    }
    if (parts.size() % 2 == 1) out << parts.back();
    return out.join(QStringLiteral(";;"));
}

Dialogs& dialogs() {
    auto& d = current();
    if (!d) d = std::make_unique<QtDialogs>();
    return *d;
}

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> d) {
    auto& cur = current();
    std::unique_ptr<Dialogs> previous = std::move(cur);
    cur = std::move(d);
    return previous;
}

QString lines(std::initializer_list<const char*> parts) {
    QStringList out;
    for (const char* p : parts) out << QString::fromUtf8(p);
    return out.join(QStringLiteral("\r\n"));
}

}  // namespace ui
