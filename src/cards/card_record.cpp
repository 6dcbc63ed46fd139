#include "cards/card_record.h"
#include "platform/data/dialect.h"
#include "platform/data/sql_text.h"

namespace cards {

const QStringList& cardFields() {
    static const QStringList fields = {QStringLiteral("ID"),   QStringLiteral("情報源"), QStringLiteral("日付"),
                                       QStringLiteral("銘柄"), QStringLiteral("コード"), QStringLiteral("市場"),
                                       QStringLiteral("単位"), QStringLiteral("情報")};
    return fields;
}

QString allCardsSql() { return QStringLiteral("select * from [mydata]"); }

QString cardListRowSource(int menuMode) {
    switch (menuMode) {
    case 100: return QStringLiteral("select * from [list]");
    case 550: return QStringLiteral("select * from [mydata-nosijo]");
    case 250:
    case 500: return allCardsSql();
    default: return {};
    }
}

bool isCardLayout(const QStringList& fieldNames) {
    const QStringList& card = cardFields();
    if (fieldNames.size() < card.size()) return false;
    for (qsizetype i = 0; i < card.size(); ++i)
        if (fieldNames[i].compare(card[i], Qt::CaseInsensitive) != 0) return false;
    return true;
}

std::optional<QString> refusedValue(const QString& field, const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    if (field == QStringLiteral("日付")) {
        double serial = 0;
        if (platform::dateTextToSerial(text.trimmed(), &serial)) return std::nullopt;
        return QStringLiteral("「日付」に入れた「%1」は日付ではありません。\r\n日付を直してください。").arg(text);
    }
    if (field == QStringLiteral("コード")) {
        if (platform::sqlWholeNumber(text)) return std::nullopt;
        return QStringLiteral("「コード」に入れた「%1」は数字ではありません。\r\nコードを直してください。").arg(text);
    }
    if (field.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 && !platform::sqlWholeNumber(text))
        return QStringLiteral("「ID」（カードNo）は変えられません。");
    return std::nullopt;
}

QVariant storedValue(const QString& field, const QString& text) {
    if (text.isEmpty()) return {};
    if (field == QStringLiteral("コード")) {
        if (const auto code = platform::sqlWholeNumber(text)) return QVariant(*code);
    }
    return QVariant(text);
}

QString saveTitle() { return QStringLiteral("カードの保存"); }

}  // namespace cards
