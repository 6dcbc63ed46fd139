#include "support/scripted_dialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "platform/data/database.h"
#include "platform/data/paths.h"
#include "platform/ui/forms.h"

namespace testing_support {

namespace {

QStringList promptsOf(const std::vector<SeamEvent>& events, const QString& kind) {
    QStringList out;
    for (const SeamEvent& e : events)
        if (e.kind == kind) out << e.prompt;
    return out;
}

// The answer of a dialog nobody expected: whatever lets the program go on without a choice.
int unexpectedAnswer(int style) {
    switch (style & 7) {
    case ui::vbOKCancel: case ui::vbYesNoCancel: case ui::vbRetryCancel: return ui::vbCancel;
    case ui::vbYesNo: return ui::vbNo;
    case ui::vbAbortRetryIgnore: return ui::vbAbort;
    default: return ui::vbOK;
    }
}

}  // namespace

QStringList ScriptedDialogs::msgBoxPrompts() const { return promptsOf(events, QStringLiteral("msgbox")); }
QStringList ScriptedDialogs::inputPrompts() const { return promptsOf(events, QStringLiteral("input")); }

int ScriptedDialogs::msgBox(const QString& prompt, int style, const QString& title) {
    events.push_back({QStringLiteral("msgbox"), prompt, title, {}, style});
    if (msg.empty()) {
        ADD_FAILURE() << "unexpected message box: " << prompt.toStdString();
        return unexpectedAnswer(style);
    }
    const int answer = msg.front();
    msg.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString& title, const QString& def,
                                                 std::optional<QPoint>) {
    events.push_back({QStringLiteral("input"), prompt, title, def, 0});
    if (input.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    std::optional<QString> answer = std::move(input.front());
    input.pop_front();
    return answer;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& filter) {
    events.push_back({QStringLiteral("openfile"), filter, title, {}, 0});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected open-file dialog: " << title.toStdString();
        return {};
    }
    QString path = files.front();
    files.pop_front();
    return path;
}

void ScriptedDialogs::openUrl(const QString& url) {
    events.push_back({QStringLiteral("url"), url, {}, {}, 0});
    urls << url;
    if (launchBrowsers) ui::launchBrowser(url);
    else if (!browserOpens) ui::tellUnopenedLink(url);
}

void ScriptedDialogs::playSound(const QString& path) {
    events.push_back({QStringLiteral("sound"), path, {}, {}, 0});
    sounds << path;
}

void ScriptedDialogs::beep() {
    events.push_back({QStringLiteral("beep"), {}, {}, {}, 0});
    ++beeps;
}

QString ScriptedDialogs::clipboardText() { return clipboard; }

void ScriptedDialogs::setClipboardText(const QString& text) {
    events.push_back({QStringLiteral("clipboard"), text, {}, {}, 0});
    clipboard = text;
}

SeamScope::SeamScope() : d_(new ScriptedDialogs) {
    previous_ = ui::setDialogs(std::unique_ptr<ui::Dialogs>(d_));
}

SeamScope::~SeamScope() { ui::setDialogs(std::move(previous_)); }

struct ProgramFolderScope::Impl {
    QTemporaryDir dir;
    QByteArray previous;
    bool hadPrevious = false;
};

ProgramFolderScope::ProgramFolderScope() : d(new Impl) {
    d->hadPrevious = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    d->previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(d->dir.path()));
}

ProgramFolderScope::~ProgramFolderScope() {
    platform::Database::releaseUnused();
    if (d->hadPrevious) qputenv("XDG_DATA_HOME", d->previous);
    else qunsetenv("XDG_DATA_HOME");
    delete d;
}

QString ProgramFolderScope::folder() const { return platform::programFolder(); }

WindowsScope::~WindowsScope() { ui::Form::destroyAll(); }

}  // namespace testing_support
