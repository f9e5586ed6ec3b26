// The statistics grid without a widget: its text layouts, its merged runs
// and its safe edges; and the statistics window's entries for every kind of
// owner with the rule that keeps the last shown entry shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "output/model/StatisticsEntries.h"
#include "output/model/StatisticsGrid.h"

namespace qv {
namespace {

StatisticsGrid MakeGrid(const std::vector<std::vector<std::string>>& cells) {
    StatisticsGrid grid;
    grid.setRows(static_cast<int>(cells.size()));
    grid.setCols(static_cast<int>(cells.empty() ? 1 : cells[0].size()));
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c) grid.setText(static_cast<int>(r), static_cast<int>(c), cells[r][c]);
    return grid;
}

struct TextCase {
    const char* name;
    std::vector<std::vector<std::string>> cells;
    int ownerId;
    int infoRows;
    const char* mode;
    const char* expected;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class StatisticsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(StatisticsTextTest, Layout) {
    const TextCase& c = GetParam();
    EXPECT_EQ(StatisticsText(MakeGrid(c.cells), c.ownerId, c.infoRows, c.mode), c.expected);
}

// The window's own worked example: owner 3, no information row, three
// columns and three rows.
const std::vector<std::vector<std::string>> Worked = {
    {"", "Number", "CV"}, {"Visible", "1000", "12.5"}, {"Histo-1", "250", ""}};
// Two information rows, a gap row with an empty label and a value in it.
const std::vector<std::vector<std::string>> WithInfo = {
    {"File name", " a.fcs", " a.fcs"}, {"Sample ID", " S", " S"}, {"FAST DRAW", "Number", "% of vis"},
    {"Visible", "10", "100"},          {"", "7", ""},             {"Lower Left", "3", "30"}};

INSTANTIATE_TEST_SUITE_P(
    Modes, StatisticsTextTest,
    ::testing::Values(
        TextCase{"WorkedHeaderLine", Worked, 3, 0, "1-rivinen-otsikko",
                 "[W 3] Visible Number\t[W 3] Visible CV\t[W 3] Histo-1 Number\t[W 3] Histo-1 CV\t"},
        TextCase{"WorkedDataLine", Worked, 3, 0, "1-rivinen-tieto", "1000\t12.5\t250\t"},
        TextCase{"WorkedSeveralLines", Worked, 3, 0, "monirivinen",
                 "\tNumber\tCV\nVisible\t1000\t12.5\nHisto-1\t250\t"},
        TextCase{"OtherCase", Worked, 3, 0, "MONIRIVINEN", ""},
        TextCase{"UnknownMode", Worked, 3, 0, "1-rivinen", ""},
        TextCase{"InfoRowsHeaderLine", WithInfo, 12, 2, "1-rivinen-otsikko",
                 "[W 12] Visible Number\t[W 12] Visible % of vis\t[W 12] Lower Left Number\t"
                 "[W 12] Lower Left % of vis\t"},
        TextCase{"InfoRowsDataLine", WithInfo, 12, 2, "1-rivinen-tieto", "10\t100\t7\t3\t30\t"},
        TextCase{"InfoRowsSeveralLines", WithInfo, 12, 2, "monirivinen",
                 "File name\t a.fcs\t a.fcs\nSample ID\t S\t S\nFAST DRAW\tNumber\t% of vis\nVisible\t10\t100\n"
                 "\t7\t\nLower Left\t3\t30"},
        TextCase{"OneCell", {{"Visible"}}, 1, 0, "monirivinen", "Visible"},
        TextCase{"OneColumnHeaderLine", {{""}, {"Visible"}}, 1, 0, "1-rivinen-otsikko", ""},
        TextCase{"NoDataCellHasText", {{"", "Number"}, {"Visible", ""}}, 1, 0, "1-rivinen-tieto", ""},
        TextCase{"HeaderPiecesForEmptyCells", {{"", "", "CV"}, {"Visible", "", ""}}, 4, 0, "1-rivinen-otsikko",
                 "[W 4] Visible \t[W 4] Visible CV\t"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatisticsGridTest, EdgesAreSafeAndSizesFollowTheStandard) {
    StatisticsGrid grid;
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 1);
    grid.setRows(0);
    grid.setCols(-3);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 1);
    grid.setText(0, 1, "outside");
    grid.setText(-1, 0, "outside");
    EXPECT_EQ(grid.text(0, 1), "");
    EXPECT_EQ(grid.text(5, 5), "");
    EXPECT_EQ(grid.colWidth(3), 0);
    grid.setRowMerge(4, true);
    EXPECT_FALSE(grid.rowMerge(4));

    grid.setStandardSizes(900, 240);
    grid.setCols(3);
    grid.setRows(2);
    EXPECT_EQ(grid.colWidth(2), 900);
    EXPECT_EQ(grid.rowHeight(1), 240);
    grid.setColWidth(0, 1500);
    grid.setText(1, 2, "kept");
    grid.setRows(4);  // growing keeps the cells
    EXPECT_EQ(grid.text(1, 2), "kept");
    grid.clear();
    EXPECT_EQ(grid.text(1, 2), "");
    EXPECT_EQ(grid.colWidth(0), 1500);  // sizes stay
}

TEST(StatisticsGridTest, MergedRunsAreRunsOfEqualNeighbours) {
    StatisticsGrid grid = MakeGrid({{"File name", " a", " a", " a", "x"}, {"Visible", "1", "1", "2", "2"}});
    EXPECT_TRUE(grid.mergedRuns(0).empty());  // unmarked
    grid.setRowMerge(0, true);
    grid.setRowMerge(1, true);
    EXPECT_EQ(grid.mergedRuns(0), (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(grid.mergedRuns(1), (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}}));
    grid.clear();
    EXPECT_FALSE(grid.rowMerge(0));
}

struct OwnerCase {
    const char* type;
    std::vector<std::string> captions;
    std::vector<int> kinds;       // 1 column, 2 information row, 0 other
    std::vector<int> shownFirst;  // entries switched on at the start
};
void PrintTo(const OwnerCase& c, std::ostream* os) { *os << c.type; }

class StatisticsEntriesTest : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(StatisticsEntriesTest, EntriesOfTheOwnerKind) {
    const OwnerCase& c = GetParam();
    StatisticsEntries entries;
    entries.build(c.type);
    ASSERT_EQ(entries.count(), static_cast<int>(c.captions.size()));
    EXPECT_EQ(entries.previewEntry(), entries.count());
    for (int k = 1; k <= entries.count(); ++k) {
        EXPECT_EQ(entries.entry(k).Caption, c.captions[static_cast<size_t>(k - 1)]) << k;
        EXPECT_EQ(static_cast<int>(entries.entry(k).Kind), c.kinds[static_cast<size_t>(k - 1)]) << k;
        const bool shown = std::find(c.shownFirst.begin(), c.shownFirst.end(), k) != c.shownFirst.end();
        EXPECT_EQ(entries.visible(k), shown) << k;
    }
    EXPECT_EQ(entries.infoRowsShown(), 0);
    if (entries.count() == 0) return;  // a kind without statistics gets no entries
    entries.setPreviewCaption(true);
    EXPECT_EQ(entries.entry(entries.count()).Caption, "Don't show in print preview page");
    entries.setPreviewCaption(false);
    EXPECT_EQ(entries.entry(entries.count()).Caption, "Show in print preview page");
}

INSTANTIATE_TEST_SUITE_P(
    Owners, StatisticsEntriesTest,
    ::testing::Values(
        OwnerCase{"DotPlot",
                  {"Number", "% of Vis", "XMean", "YMean", "XGeoMean", "YGeoMean", "-", "File name", "Sample ID",
                   "Comments", "-", "Show in print preview page"},
                  {1, 1, 1, 1, 1, 1, 0, 2, 2, 2, 0, 0},
                  {1, 2, 3, 4, 5, 6}},
        OwnerCase{"Histogram",
                  {"Number", "% of vis", "XMean", "XGeoMean", "CV", "-", "File name", "Sample ID", "Comments", "-",
                   "Show in print preview page"},
                  {1, 1, 1, 1, 1, 0, 2, 2, 2, 0, 0},
                  {1, 2, 3, 4, 5}},
        OwnerCase{"Histogram Modeller",
                  {"% of tot", "XMean", "XGeoMean", "CV", "-", "File name", "Sample ID", "Comments", "-",
                   "Show in print preview page"},
                  {1, 1, 1, 1, 0, 2, 2, 2, 0, 0},
                  {1, 2, 3, 4}},
        OwnerCase{"BendPlot",
                  {"Number", "% of Vis", "-", "File name", "Sample ID", "Comments", "-", "Show in print preview page"},
                  {1, 1, 0, 2, 2, 2, 0, 0},
                  {1, 2}},
        OwnerCase{"Overlay Histogram", {}, {}, {}}),
    [](const auto& info) {
        std::string name = info.param.type;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name;
    });

TEST(StatisticsEntriesRulesTest, LastShownEntryOfEitherKindStaysShown) {
    StatisticsEntries e;
    e.build("BendPlot");
    e.toggle(1);
    EXPECT_FALSE(e.visible(1));
    e.toggle(2);  // the last one on
    EXPECT_TRUE(e.visible(2));
    e.toggle(5);  // an information row on, then the last column may go
    e.toggle(2);
    EXPECT_FALSE(e.visible(2));
    EXPECT_EQ(e.infoRowsShown(), 1);
    e.toggle(5);
    EXPECT_TRUE(e.visible(5));
    // Separators, the print-page entry and numbers outside 1..N never switch.
    for (int k : {3, 7, 8, 0, 9, -1}) {
        e.toggle(k);
        e.setVisibleFromText(k, "1");
        EXPECT_FALSE(e.visible(k)) << k;
    }
    // Settings values: exactly "1" and "0".
    for (const char* v : {"-1", "true", " 1", "01", ""}) {
        e.setVisibleFromText(1, v);
        EXPECT_FALSE(e.visible(1)) << v;
    }
    e.setVisibleFromText(1, "1");
    EXPECT_TRUE(e.visible(1));
    e.setVisibleFromText(5, "0");  // settings may switch off every entry
    e.setVisibleFromText(1, "0");
    for (int k = 1; k <= e.count(); ++k) EXPECT_FALSE(e.visible(k)) << k;
    // Building again starts from the kind's defaults.
    e.build("BendPlot");
    EXPECT_TRUE(e.visible(1));
    EXPECT_TRUE(e.visible(2));
}

}  // namespace
}  // namespace qv
