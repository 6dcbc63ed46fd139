#include <gtest/gtest.h>
#include <QVariant>
#include "prices/period_slots.h"

using namespace prices;

TEST(PeriodSlots, FieldNamesAddressDatesUnitWorkbooksAndPrices) {
    const FieldNames f = periodFieldNames();
    const std::pair<int, const char*> cases[] = {{0, ""}, {1, "kabuka1"}, {10, "kabuka10"}, {kUnitField, "kabuka11"},
                                                 {workbookField(1), "kabuka12"}, {workbookField(10), "kabuka21"},
                                                 {22, ""}, {25, ""}};
    for (const auto& [entry, name] : cases) EXPECT_EQ(f[std::size_t(entry)], QString::fromUtf8(name)) << entry;
}

TEST(PeriodSlots, OnlyTheThreeUnitWordsAreRecognised) {
    for (const char* word : {"day", "week", "month"}) EXPECT_EQ(recognisedUnit(word), QString(word));
    for (const char* word : {"Day", "day ", "", "weeks", "日"}) EXPECT_TRUE(recognisedUnit(word).isEmpty()) << word;
}

TEST(PeriodSlots, BoxesBecomeARealDateOrNothing) {
    struct Case {
        const char *y, *m, *d, *text;   // text nullptr: refused
    };
    const Case cases[] = {
        {"04", "05", "09", "04/05/09"}, {"4", "5", "9", "04/05/09"}, {"26", "12", "1", "26/12/01"},
        {"24", "02", "29", "24/02/29"}, {"00", "02", "29", "00/02/29"},
        {"23", "02", "29", nullptr},    {"26", "13", "01", nullptr},  {"26", "04", "31", nullptr},
        {"26", "00", "10", nullptr},    {"", "05", "09", nullptr},     {"2026", "05", "09", nullptr},
        {"2a", "05", "09", nullptr},    {"26", "５", "09", nullptr},   {" 6", "05", "09", nullptr},
    };
    for (const Case& c : cases) {
        const auto date = realDate(c.y, c.m, c.d);
        if (c.text) {
            ASSERT_TRUE(date) << c.y << '/' << c.m << '/' << c.d;
            EXPECT_EQ(date->text(), QString(c.text));
        } else {
            EXPECT_FALSE(date) << c.y << '/' << c.m << '/' << c.d;
        }
    }
}

TEST(PeriodSlots, PricesRoundHalfToEvenWithinThe32BitRange) {
    const std::pair<QVariant, std::optional<int>> cases[] = {
        {QVariant(1234.5), 1234},         {QVariant(1235.5), 1236},     {QVariant(1234.4), 1234},
        {QVariant(qlonglong(987)), 987},  {QVariant(-0.5), 0},          {QVariant(QStringLiteral(" 250 ")), 250},
        {QVariant(2147483647.0), 2147483647}, {QVariant(2147483648.0), std::nullopt},
        {QVariant(-2147483649.0), std::nullopt}, {QVariant(), std::nullopt},
        {QVariant(QString()), std::nullopt}, {QVariant(QStringLiteral("休場")), std::nullopt},
        {QVariant(QStringLiteral("１２３４")), 1234}, {QVariant(QStringLiteral("1e3")), std::nullopt},
        {QVariant(QStringLiteral("nan")), std::nullopt}, {QVariant(QStringLiteral("inf")), std::nullopt},
    };
    for (const auto& [cell, yen] : cases) EXPECT_EQ(wholeYen(cell), yen) << cell.toString().toStdString();
}

TEST(PeriodSlots, CodesAreWholeNumbers) {
    const std::pair<QVariant, std::optional<long long>> cases[] = {
        {QVariant(7203.0), 7203}, {QVariant(qlonglong(1301)), 1301}, {QVariant(QStringLiteral("8306")), 8306},
        {QVariant(7203.5), std::nullopt}, {QVariant(), std::nullopt}, {QVariant(QStringLiteral("トヨタ")), std::nullopt},
        {QVariant(QStringLiteral("７２０３")), 7203}, {QVariant(QStringLiteral(" 7203.0 ")), 7203},
        {QVariant(QStringLiteral("7.203e3")), std::nullopt},
    };
    for (const auto& [cell, code] : cases) EXPECT_EQ(sheetCode(cell), code) << cell.toString().toStdString();
}
