#pragma once
#include <QString>
#include <optional>

// The card being collected in the collection editor, and the rules by which a selection of the
// work pad becomes one of its fields.
namespace cards {

// The fields of the card being collected, all text.
struct CardDraft {
    QString source;   // 情報源
    QString date;     // 日付
    QString name;     // 銘柄
    QString code;     // コード
    QString market;   // 市場, may be empty
    QString unit;     // 単位, may be empty
    QString info;     // 情報
    // 情報源, 日付, 銘柄, コード and 情報 are filled (blanks count as filled).
    bool complete() const;
};

// Full-width digits, letters, signs and the ideographic space in their half-width forms.
QString narrowed(const QString& text);
// Without leading and trailing blanks, ordinary and ideographic.
QString trimmedSelection(const QString& text);

// The code of a selection: its half-width form; the first four characters when it begins with a
// digit, otherwise the four after the first character (fewer when the selection is shorter).
QString draftCode(const QString& selection);
// True for a code that reads as a number of 1000 or less, or of 9999 or more.
bool codeOutOfRange(const QString& code);

// The trimmed selection as "yyyy/m/d" when it reads as a date ("2024/9/30", "2024-09-30",
// "24/09/30", "2024年9月30日", "9月30日" of this year, full-width digits too); otherwise the
// trimmed selection unchanged.
QString draftDate(const QString& selection);

// What the price table knows of a stock.
struct StockFacts {
    QString code, market, unit, name;
};
// The stock of a code in the whole price table of the main database; nothing when the code is no
// whole number, when no stock has it, or for the placeholder code 1001.
std::optional<StockFacts> lookUpStock(const QString& code);

// The sound of a transfer: a short chime of the program's own, as a .wav file.
QString transferSoundPath();

}  // namespace cards
