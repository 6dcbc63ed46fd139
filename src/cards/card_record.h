#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// A card: one row of table mydata in the main database. Every row source over cards delivers
// these eight fields first, in this order:
//   ID (number, numbered by the database), 情報源, 日付 (date), 銘柄, コード (number, four digits),
//   市場, 単位, 情報 (the note, may run over several lines).
namespace cards {

const QStringList& cardFields();

// "select * from [mydata]": every card.
QString allCardsSql();

// The row source the card list takes at its load for a MenuMode: the price table for 100, the
// cards without a market for 550, all cards for 250 and 500; empty (no rows) for any other.
QString cardListRowSource(int menuMode);

// True when the field names, from the first on, are those of a card.
bool isCardLayout(const QStringList& fieldNames);

// Why a text cannot be stored in a card's field, naming the field ("日付", "コード"), or
// nothing when the field takes it. An empty text stores an empty field.
std::optional<QString> refusedValue(const QString& field, const QString& text);

// The value a field takes for a text it does not refuse: nothing (Null) for an empty text, the
// whole number for a code ("７２０３" and "7203.0" are 7203), the text itself otherwise.
QVariant storedValue(const QString& field, const QString& text);

// The title of the message that reports a refused value.
QString saveTitle();

}  // namespace cards
