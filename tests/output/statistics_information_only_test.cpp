// A statistics table of every owner kind with no statistic column shown and
// only information rows: their texts stand in column 1 beside their labels,
// and the one-line text layouts list no untitled column.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "output/model/StatisticsGrid.h"
#include "plots/dotplot/model/DotPlotStatistics.h"
#include "plots/histogram/model/HistogramStatistics.h"
#include "plots/modeller/model/ModellerStatistics.h"
#include "plots/multi/model/BendPlotStatistics.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

struct Rows {
    bool fileName = false, sampleId = false, comments = false;
};

using Fill = std::function<void(StatisticsGrid&, const FileRecord&, const Rows&)>;

struct OwnerCase {
    const char* name;
    Fill fill;
};

const OwnerCase owners[] = {
    {"Histogram",
     [](StatisticsGrid& grid, const FileRecord& f, const Rows& rows) {
         HistogramGridOptions o;
         o.fileNameRow = rows.fileName, o.sampleIdRow = rows.sampleId, o.commentsRow = rows.comments;
         FillHistogramStatisticsGrid(grid, o, f, g.PopulationTable, std::vector<HistogramStatistics>(33));
     }},
    {"DotPlot",
     [](StatisticsGrid& grid, const FileRecord& f, const Rows& rows) {
         DotPlotGridOptions o;
         o.fileNameRow = rows.fileName, o.sampleIdRow = rows.sampleId, o.commentsRow = rows.comments;
         FillDotPlotStatisticsGrid(grid, o, f, g.PopulationTable, std::vector<DotPlotStatistics>(33),
                                   DotPlotQuadrantStatistics{});
     }},
    {"HistogramModeller",
     [](StatisticsGrid& grid, const FileRecord& f, const Rows& rows) {
         ModellerState s;
         s.Curves[2].Active = true;
         s.Curves[2].Name = "G1";
         ModellerGridOptions o;
         o.fileNameRow = rows.fileName, o.sampleIdRow = rows.sampleId, o.commentsRow = rows.comments;
         FillModellerStatisticsGrid(grid, o, f, s);
     }},
    {"BendPlot",
     [](StatisticsGrid& grid, const FileRecord& f, const Rows& rows) {
         BendGridOptions o;
         o.numberShown = o.fractionShown = false;
         o.fileNameRow = rows.fileName, o.sampleIdRow = rows.sampleId, o.commentsRow = rows.comments;
         FillBendPlotStatisticsGrid(grid, o, f, g.PopulationTable, std::vector<PopulationCount>(33));
     }},
};

void PrintTo(const OwnerCase& c, std::ostream* out) { *out << c.name; }

class StatisticsInformationOnly : public ::testing::TestWithParam<OwnerCase> {
protected:
    void SetUp() override {
        resetSharedState();
        file = test::MakeFile({{"FL1", 1024}}, {{1}}, "only.fcs");
        file.SampleId = "S7";
        file.Comment = "a\rb";
    }
    void TearDown() override { resetSharedState(); }
    FileRecord file;
};

TEST_P(StatisticsInformationOnly, FileNameAloneStandsInColumnOne) {
    StatisticsGrid grid;
    GetParam().fill(grid, file, Rows{true, false, false});
    ASSERT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.text(0, 0), "File name");
    EXPECT_EQ(grid.text(0, 1), " only.fcs");
    EXPECT_TRUE(grid.rowHoldsFileName(0));
    EXPECT_EQ(grid.text(1, 1), "");  // the header row has no title there
    EXPECT_EQ(grid.width(), 1500 + grid.standardColumnWidth() + 100);
    // No statistic column: the one-line layouts have nothing to list.
    EXPECT_EQ(StatisticsText(grid, 1, 1, "1-rivinen-otsikko"), "");
    EXPECT_EQ(StatisticsText(grid, 1, 1, "1-rivinen-tieto"), "");
}

TEST_P(StatisticsInformationOnly, EveryInformationRowHoldsItsText) {
    StatisticsGrid grid;
    GetParam().fill(grid, file, Rows{true, true, true});
    ASSERT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.text(0, 1), " only.fcs");
    EXPECT_EQ(grid.text(1, 1), " S7");
    EXPECT_EQ(grid.text(2, 1), " a, b");
}

INSTANTIATE_TEST_SUITE_P(Owners, StatisticsInformationOnly, ::testing::ValuesIn(owners),
                         [](const ::testing::TestParamInfo<OwnerCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv
