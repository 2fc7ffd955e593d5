#include "docsetup.h"
#include "list/listgeometry.h"
#include "list/listline.h"
#include "list/listrows.h"
#include "text/entrytext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

DayRecord day(Date date, double weight, double fat, double jogKm, double jogSeconds, double walkKm,
              double walkSeconds, std::string memo)
{
    return DayRecord{date, weight, fat, jogKm, jogSeconds, walkKm, walkSeconds, std::move(memo)};
}

TEST(ListLine, ColumnsKeepTheirWidths)
{
    struct Case {
        DayRecord entry;
        const char *line;
    };
    const Case cases[] = {
        {day(makeDate(2002, 5, 12), 65.5, 21.25, 5, 1830, 3.2, 2700, "晴れ"),
         "2002/05/12  65.50  21.2  5.0    30'30\"  3.2    45'00\" 晴れ"},
        // Nothing entered: zeros in the number columns, nine blanks for a duration.
        {day(makeDate(1999, 12, 31), 0, 0, 0, 0, 0, 0, ""),
         "1999/12/31   0.00   0.0  0.0            0.0           "},
        // 102.345 is held as 102.3449…, so it rounds down, as printf rounds it.
        {day(makeDate(2024, 1, 2), 102.345, 9.96, 42.195, 3930.7, 0, 360000, ""),
         "2024/01/02 102.34  10.0 42.2  1:05'30\"  0.0 100:00'00\" "},
        // Wider than its field: printed whole, the rest of the line pushed along.
        {day(makeDate(1, 1, 1), 12345.678, -5, 123.45, 45, 0, 0, "x"),
         "0001/01/01 12345.68  -5.0 123.5     0'45\"  0.0           x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listLine(c.entry), c.line) << formatDate(c.entry.date);
}

TEST(ListLine, MemoShownInItsStoredForm)
{
    // A line break shows as its escape; ソ keeps its 0x5C trail byte single.
    const std::string memo = toStoredMemo("1行目\r\n2行目 \x83\x5c");
    const std::string line = listLine(day(makeDate(2002, 6, 1), 60, 0, 0, 0, 0, 0, memo));
    EXPECT_EQ(line.substr(line.size() - memo.size()), "1行目\\n2行目 \x83\x5c");
}

TEST(ListLine, DecimalPointWhateverTheLocale)
{
    // The application sets the user's locale; a decimal comma would break the columns.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    const std::string line = listLine(day(makeDate(2002, 5, 12), 65.5, 0, 0, 0, 0, 0, ""));
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(line.substr(0, 17), "2002/05/12  65.50");
}

TEST(ListGeometry, ScrollSizesFollowTheEntryCount)
{
    struct Case {
        int entries, total, page, line;
    };
    const Case cases[] = {{0, 0, 0, 0},     {5, 90, 9, 0},        {6, 108, 10, 1},
                          {30, 540, 54, 5}, {100, 1800, 180, 18}, {-3, 0, 0, 0}};
    for (const Case &c : cases) {
        const ListScrollSizes sizes = listScrollSizes(c.entries);
        EXPECT_EQ(sizes.totalWidth, 100);
        EXPECT_EQ(sizes.totalHeight, c.total) << c.entries;
        EXPECT_EQ(sizes.pageStep, c.page) << c.entries;
        EXPECT_EQ(sizes.lineStep, c.line) << c.entries;
    }
    EXPECT_GT(listScrollSizes(200'000'000).totalHeight, 0) << "overflowed";
}

TEST(ListGeometry, RowUnderAPoint)
{
    struct Case {
        int y, scroll, entries, row;
    };
    const Case cases[] = {
        {0, 0, 3, 0},   {17, 0, 3, 0},  {18, 0, 3, 1}, {53, 0, 3, 2},
        {54, 0, 3, -1}, // below the last row
        {0, 0, 0, -1},  {10, 20, 5, 1}, {0, 36, 5, 2}, {-1, 0, 5, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listRowAt(c.y, c.scroll, c.entries), c.row)
            << c.y << " scrolled " << c.scroll << " of " << c.entries;
}

TEST(ListGeometry, VisibleRowsAndScrolling)
{
    struct Case {
        int scroll, height, entries, first, last;
    };
    const Case cases[] = {
        {0, 1000, 100000, 0, 55}, {9, 100, 100, 0, 6}, {0, 36, 10, 0, 1},
        {0, 100, 3, 0, 2},        {0, 100, 0, 0, -1},  {0, 0, 10, 0, -1},
    };
    for (const Case &c : cases) {
        const ListRowSpan span = listVisibleRows(c.scroll, c.height, c.entries);
        EXPECT_EQ(span.first, c.first) << c.scroll << "/" << c.height << "/" << c.entries;
        EXPECT_EQ(span.last, c.last) << c.scroll << "/" << c.height << "/" << c.entries;
    }
    EXPECT_EQ(listScrollMaximum(1800, 400), 1400);
    EXPECT_EQ(listScrollMaximum(90, 400), 0);
    EXPECT_EQ(listScrolledBy(100, 180, 200), 200);
    EXPECT_EQ(listScrolledBy(100, -180, 200), 0);
    EXPECT_EQ(listScrolledBy(0, 5, 0), 0);
}

TEST(ListGeometry, SelectedRowBroughtIntoView)
{
    // Client 100 pixels high: rows 0 to 4 whole, row 5 cut at the bottom
    // when not scrolled; the range ends at 500.
    struct Case {
        const char *what;
        int row, scroll, result;
    };
    const Case cases[] = {
        {"no selection", -1, 40, 40},
        {"fully visible", 3, 0, 0},
        {"partly visible at the bottom", 5, 0, 90},
        {"below", 20, 0, 360},
        {"below, near the end of the range", 33, 0, 500},
        {"above", 2, 200, 36},
        {"partly hidden at the top", 11, 200, 198},
        {"top row exactly", 11, 198, 198},
        {"last whole row", 15, 198, 198},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listScrollToShow(c.row, c.scroll, 100, 500), c.result) << c.what;
    // A client height that ends on a row boundary: the row below is not visible.
    EXPECT_EQ(listScrollToShow(2, 0, 36, 500), 36);
    EXPECT_EQ(listScrollToShow(1, 0, 36, 500), 0);
}

TEST(ListGeometry, SelectionCommands)
{
    struct Case {
        const char *what;
        ListMove move;
        int selected, entries, row; // -2: nothing happens
    };
    const Case cases[] = {
        {"down", ListMove::Older, 3, 10, 4},
        {"down on the earliest", ListMove::Older, 9, 10, -2},
        {"down without selection", ListMove::Older, -1, 10, -2},
        {"up", ListMove::Newer, 3, 10, 2},
        {"up on the latest", ListMove::Newer, 0, 10, -2},
        {"up without selection", ListMove::Newer, -1, 10, -2},
        {"home without selection", ListMove::Latest, -1, 10, 0},
        {"end without selection", ListMove::Earliest, -1, 10, 9},
        {"home, empty", ListMove::Latest, -1, 0, -2},
        {"end, empty", ListMove::Earliest, -1, 0, -2},
        {"down, single entry", ListMove::Older, 0, 1, -2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listRowAfterMove(c.move, c.selected, c.entries).value_or(-2), c.row) << c.what;
}

TEST(ListRows, NewestFirstAndFollowingTheDocument)
{
    CQuilloxDoc document;
    for (int d : {3, 1, 7})
        putDay(document, makeDate(2002, 5, d), "", 60 + d, 0, 0, 0, 0, 0);
    ListRows rows;
    EXPECT_TRUE(rows.refresh(document));
    ASSERT_EQ(rows.count(), 3);
    EXPECT_EQ(rows.entry(0).date, makeDate(2002, 5, 7));
    EXPECT_EQ(rows.entry(2).date, makeDate(2002, 5, 1));
    EXPECT_EQ(rows.rowOf(makeDate(2002, 5, 3)), 1);
    EXPECT_EQ(rows.rowOf(makeDate(2002, 5, 2)), -1);
    EXPECT_EQ(rows.rowOf(makeDate(2002, 5, 8)), -1);

    // Replacing a day's values keeps the rows; they show the new values.
    putDay(document, makeDate(2002, 5, 3), "", 99, 0, 0, 0, 0, 0);
    EXPECT_FALSE(rows.refresh(document));
    EXPECT_EQ(rows.entry(1).weight, 99);

    // Removing one and adding another between two looks must be noticed.
    dropDay(document, makeDate(2002, 5, 7));
    putDay(document, makeDate(2002, 5, 9), "", 70, 0, 0, 0, 0, 0);
    EXPECT_TRUE(rows.refresh(document));
    EXPECT_EQ(rows.entry(0).weight, 70);

    // Single steps followed one by one end where a full reading does: at the
    // newest and oldest ends, in the middle, and removing the row just added.
    const Date steps[] = {makeDate(2002, 5, 10), makeDate(2002, 4, 30), makeDate(2002, 5, 5),
                          makeDate(2002, 5, 5),  makeDate(2002, 5, 10), makeDate(2002, 4, 30)};
    for (const Date step : steps) {
        if (document.findDay(step))
            dropDay(document, step);
        else
            putDay(document, step, "", 50, 0, 0, 0, 0, 0);
        EXPECT_TRUE(rows.refresh(document));
        ListRows fresh;
        fresh.refresh(document);
        ASSERT_EQ(rows.count(), fresh.count());
        for (int row = 0; row < rows.count(); ++row)
            EXPECT_EQ(&rows.entry(row), &fresh.entry(row)) << row;
    }

    // Another document, even one loaded with the same days, is taken anew.
    CQuilloxDoc other;
    ASSERT_TRUE(other.loadJournalText(document.journalText(), makeDate(2002, 6, 30)).empty());
    EXPECT_TRUE(rows.refresh(other));
    EXPECT_EQ(rows.count(), 3);
    dropAllDays(document);
    EXPECT_TRUE(rows.refresh(document));
    EXPECT_EQ(rows.count(), 0);
    EXPECT_EQ(rows.rowOf(makeDate(2002, 5, 3)), -1);
}

} // namespace
