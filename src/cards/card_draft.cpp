#include "cards/card_draft.h"
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "platform/data/database.h"
#include "platform/data/recordset.h"
#include "platform/data/sql_text.h"
#include "services/module1.h"

// The chime is among the program's resources (with the schema), in the data library.
static void initSoundResources() {
    static const bool once = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)once;
}

namespace cards {

bool CardDraft::complete() const {
    return !source.isEmpty() && !date.isEmpty() && !name.isEmpty() && !code.isEmpty() && !info.isEmpty();
}

QString narrowed(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        const char16_t u = ch.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) ch = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000) ch = QChar(u' ');
    }
    return out;
}

QString trimmedSelection(const QString& text) {
    qsizetype b = 0, e = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == QChar(0x3000); };
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    return text.mid(b, e - b);
}

QString draftCode(const QString& selection) {
    const QString t = narrowed(selection);
    if (!t.isEmpty() && t[0] >= u'0' && t[0] <= u'9') return t.left(4);
    return t.mid(1, 4);
}

bool codeOutOfRange(const QString& code) {
    const std::optional<double> n = platform::sqlNumber(code);
    return n && (*n <= 1000 || *n >= 9999);
}

QString draftDate(const QString& selection) {
    const QString trimmed = trimmedSelection(selection);
    const QString t = narrowed(trimmed).trimmed();
    static const QRegularExpression full(QStringLiteral("^(\\d{4}|\\d{2})\\s*[/\\-.年]\\s*(\\d{1,2})\\s*[/\\-.月]\\s*(\\d{1,2})\\s*日?$"));
    static const QRegularExpression monthDay(QStringLiteral("^(\\d{1,2})\\s*月\\s*(\\d{1,2})\\s*日$"));
    int y = 0, m = 0, d = 0;
    if (const auto hit = full.match(t); hit.hasMatch()) {
        y = hit.captured(1).toInt();
        if (hit.captured(1).size() == 2) y += y < 30 ? 2000 : 1900;
        m = hit.captured(2).toInt();
        d = hit.captured(3).toInt();
    } else if (const auto md = monthDay.match(t); md.hasMatch()) {
        y = QDate::currentDate().year();
        m = md.captured(1).toInt();
        d = md.captured(2).toInt();
    }
    if (!QDate(y, m, d).isValid()) return trimmed;
    return QStringLiteral("%1/%2/%3").arg(y).arg(m).arg(d);
}

std::optional<StockFacts> lookUpStock(const QString& code) {
    const auto n = platform::sqlWholeNumber(code);
    if (!n || *n == 1001) return std::nullopt;
    auto db = platform::Database::open(Module1::MainDbPath);
    platform::Recordset rs = db->openRecordset(QStringLiteral("select * from [list] where [コード]=") + QString::number(*n));
    if (rs.recordCount() == 0) return std::nullopt;
    rs.MoveFirst();
    auto field = [&](const char* name) { return rs.Fields(QString::fromUtf8(name)).toString(); };
    return StockFacts{field("コード"), field("市場"), field("単位"), field("銘柄")};
}

// The chime is written once per run into a folder of the program's own: a new folder that only
// this user can enter (mode 0700, made under a name nobody could foresee), removed at the end.
// No file another user put anywhere is ever played, and none of theirs is replaced.
QString transferSoundPath() {
    static QTemporaryDir folder(QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                                    .filePath(QStringLiteral("quenara-XXXXXX")));
    static const QString path = [] {
        if (!folder.isValid()) return QString();
        initSoundResources();
        const QString file = folder.filePath(QStringLiteral("ding.wav"));
        if (!QFile::copy(QStringLiteral(":/sounds/ding.wav"), file)) return QString();
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return file;
    }();
    return path;
}

}  // namespace cards
