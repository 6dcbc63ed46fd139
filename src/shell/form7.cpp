#include "shell/form7.h"
#include <QFile>
#include <QSaveFile>
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

// The file ends with the line break the last save appended; it is not part of the memo.
void Form7::Form_Load() {
    ui::step([&] { Text1->setText(QString()); });
    ui::step([&] {
        QFile f(memoPath());
        if (!f.open(QIODevice::ReadOnly)) return;
        QString text = QString::fromUtf8(f.readAll());
        if (text.endsWith(kLineBreak)) text.chop(kLineBreak.size());
        Text1->setText(text);
    });
}

bool Form7::saveMemo() {
    QSaveFile f(memoPath());
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = (withCrLf(Text1->Text()) + kLineBreak).toUtf8();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

// "保存・終了": saves and hides the pad. When the file cannot be written the pad stays open
// with the text, and the person is told.
void Form7::mnuSave_Click() {
    if (!saveMemo()) {
        ui::MsgBox(QStringLiteral("メモを保存できませんでした。") + kLineBreak + memoPath(), ui::vbExclamation,
                   QStringLiteral("memo"));
        return;
    }
    Hide();
}
