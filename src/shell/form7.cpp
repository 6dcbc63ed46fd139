#include "shell/form7.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <iconv.h>
#include "platform/data/paths.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The text box may hold its line breaks as LF; the file holds them as CR LF.
QString withCrLf(QString text) {
    text.replace(kLineBreak, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kLineBreak);
    return text;
}

// Drops the one line break that ends the text (CR LF, LF or CR); false when there is none.
bool chopFinalBreak(QString& text) {
    if (text.endsWith(kLineBreak)) text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    else return false;
    return true;
}

std::optional<QString> fromCp932(const QByteArray& bytes) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) return std::nullopt;
    QByteArray out(bytes.size() * 3 + 4, '\0');   // one byte or two make at most three
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* to = out.data();
    size_t outLeft = size_t(out.size());
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(out.size() - qsizetype(outLeft));
    return QString::fromUtf8(out);
}

}  // namespace

Form7::Form7() : ui::DefaultForm<Form7>(QStringLiteral("Form7")) {
    setCaption(QStringLiteral("メモ帖"));
    Move(2400, 1800, 6465, 3315);
    Text1 = addText({.name = "Text1", .caption = QString(), .left = 0, .top = 0, .width = 6135, .height = 3015,
                     .multiLine = true});
    mnuFILE = addMenu(QStringLiteral("mnuFILE"), QStringLiteral("ファイル"));
    mnuOpen = addMenu(QStringLiteral("mnuOpen"), QStringLiteral("開く"), QStringLiteral("ファイル"));
    mnuSave = addMenu(QStringLiteral("mnuSave"), QStringLiteral("保存・終了"), QStringLiteral("ファイル"));
    mnuEnd = addMenu(QStringLiteral("mnuEnd"), QStringLiteral("終了"), QStringLiteral("ファイル"));
    mnuOpen->setEnabled(false);
    mnuEnd->setEnabled(false);
    on(mnuSave->Click, [this] { mnuSave_Click(); }, "mnuSave_Click");
}

QString Form7::memoPath() { return platform::programFile(QStringLiteral("memo.txt")); }

std::optional<QString> Form7::decodeMemo(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return fromCp932(bytes);
}

// The file ends with the line break the last save appended; it is not part of the memo. A file
// that is neither UTF-8 nor CP932 is shown as far as it reads, and never saved over; nor is a
// file that is there but cannot be opened (the pad then starts empty).
void Form7::Form_Load() {
    finalBreak_ = true;
    unreadable_ = false;
    openProblem_.clear();
    ui::step([&] { Text1->setText(QString()); });
    ui::step([&] {
        QFile f(memoPath());
        if (!f.open(QIODevice::ReadOnly)) {
            if (QFileInfo::exists(memoPath())) {
                unreadable_ = true;
                openProblem_ = f.errorString();
            }
            return;
        }
        const QByteArray bytes = f.readAll();
        std::optional<QString> text = decodeMemo(bytes);
        if (!text) {
            unreadable_ = true;
            text = QString::fromUtf8(bytes);
        }
        finalBreak_ = chopFinalBreak(*text);
        Text1->setText(*text);
    });
}

bool Form7::saveMemo() {
    saveProblem_.clear();
    if (unreadable_ && QFile::exists(memoPath()) && !openProblem_.isEmpty()) {
        saveProblem_ = QStringLiteral("メモのファイルを開けなかったため（") + openProblem_ +
                       QStringLiteral("）、元のファイルを残しました。ファイルを読めるようにしてから開き直すか、"
                                      "ファイルの名前を変えると、このメモを新しく保存できます。");
        return false;
    }
    if (unreadable_ && QFile::exists(memoPath())) {
        saveProblem_ = QStringLiteral("読み込んだメモの文字コード（UTF-8 でも Shift_JIS でもありません）を読み違えたおそれがあるため、"
                                      "元のファイルを残しました。ファイルの名前を変えると、このメモを新しく保存できます。");
        return false;
    }
    if (!QFile::exists(memoPath())) finalBreak_ = true;   // a new file, as when none was read
    QSaveFile f(memoPath());
    if (!f.open(QIODevice::WriteOnly)) {
        saveProblem_ = f.errorString();
        return false;
    }
    const QByteArray bytes = (withCrLf(Text1->Text()) + (finalBreak_ ? kLineBreak : QString())).toUtf8();
    if (f.write(bytes) != bytes.size()) {
        saveProblem_ = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        saveProblem_ = f.errorString();
        return false;
    }
    unreadable_ = false;
    return true;
}

// "保存・終了": saves and hides the pad. When the file cannot be written the pad stays open
// with the text, and the person is told.
void Form7::mnuSave_Click() {
    if (!saveMemo()) {
        ui::MsgBox(QStringLiteral("メモを保存できませんでした。") + kLineBreak + memoPath() + kLineBreak + saveProblem(),
                   ui::vbExclamation, QStringLiteral("memo"));
        return;
    }
    Hide();
}
