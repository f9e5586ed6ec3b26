// The bending plot's counts and its statistics grid, without a window.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "output/model/StatisticsGrid.h"
#include "plots/multi/model/BendPlotStatistics.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

class BendStatistics : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        std::vector<std::vector<float>> events(10, std::vector<float>{1, 1});
        file = test::MakeFile({{"A", 1024}, {"B", 1024}}, events, "ten.fcs");
        // A bending-plot gate in slot 2 holding events 1, 4 and 7.
        gate(2, "Bending-2", "BendPlot", {1, 4, 7});
        counts.assign(33, PopulationCount{});
    }
    void TearDown() override { resetSharedState(); }

    void gate(int slot, const std::string& name, const std::string& type, std::vector<int> members) {
        PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
        p.InUse = true;
        p.Name = name;
        p.Type = type;
        for (int e : members) file.Membership(e, slot) = 1;
    }
    void count(int step, int shown) {
        CountBendPopulations(file, step, shown, std::span<const PopulationRecord>(g.PopulationTable), 16, 16, counts);
    }
    StatisticsGrid grid(const BendGridOptions& options = {}) {
        StatisticsGrid gr;
        FillBendPlotStatisticsGrid(gr, options, file, std::span<const PopulationRecord>(g.PopulationTable), counts);
        return gr;
    }

    FileRecord file;
    std::vector<PopulationCount> counts;
};

TEST_F(BendStatistics, TenEventsWithAThreeEventGate) {
    count(1, 0);
    EXPECT_EQ(counts[0].Number, 10);
    EXPECT_EQ(counts[2].Number, 3);
    const StatisticsGrid gr = grid();
    EXPECT_EQ(StatisticsGridText(gr), "\tNumber\t% of vis\nVisible\t10\t100\nBending-2\t3\t30");
}

TEST_F(BendStatistics, PercentIsTruncatedAndEmptyViewsDivideByNothing) {
    file = test::MakeFile({{"A", 1024}}, {{1}, {1}, {1}});
    gate(2, "Bending-2", "BendPlot", {1});
    gate(3, "Bending-3", "BendPlot", {1, 3});
    count(1, 0);
    StatisticsGrid gr = grid();
    EXPECT_EQ(gr.text(2, 2), "33.33");
    EXPECT_EQ(gr.text(3, 2), "66.66");

    // Showing an empty population: nothing visible, every percent 0.
    gate(5, "Bending-5", "BendPlot", {});
    count(1, 5);
    EXPECT_EQ(counts[0].Number, 0);
    EXPECT_EQ(counts[2].Fraction, 0.0);
    EXPECT_EQ(grid().text(1, 2), "100");
    EXPECT_EQ(grid().text(2, 2), "0");
}

TEST_F(BendStatistics, ShownPopulationStepAndWhichSlotsGetARow) {
    gate(5, "Bending-5", "BendPlot", {1, 2, 3, 4});
    gate(6, "Poly-6", "Polygon", {1, 2});          // a dot plot's gate: no row
    gate(17, "Bending-2 or Bending-5", "", {1});   // a definition: always a row
    count(1, 5);
    EXPECT_EQ(counts[0].Number, 4);
    EXPECT_EQ(counts[2].Number, 2);  // 1 and 4
    EXPECT_NEAR(counts[2].Fraction, 0.5, 1e-12);

    // Fast draw with step 5: events 1 and 6 only.
    count(5, 0);
    EXPECT_EQ(counts[0].Number, 2);
    EXPECT_EQ(counts[2].Number, 1);
    BendGridOptions options;
    options.fastDraw = true;
    const StatisticsGrid gr = grid(options);
    EXPECT_EQ(gr.text(0, 0), "FAST DRAW");
    std::vector<std::string> labels;
    for (int r = 1; r < gr.Rows(); ++r) labels.push_back(gr.text(r, 0));
    EXPECT_EQ(labels, (std::vector<std::string>{"Visible", "Bending-2", "Bending-5", "Bending-2 or Bending-5"}));
}

TEST_F(BendStatistics, HiddenColumnsAndInformationRows) {
    file.SampleId = "S1";
    count(1, 0);
    BendGridOptions options;
    options.numberShown = false;
    options.fileNameRow = true;
    options.sampleIdRow = true;
    StatisticsGrid gr = grid(options);
    EXPECT_EQ(gr.text(0, 0), "File name");
    EXPECT_EQ(gr.text(0, 1), " ten.fcs");
    EXPECT_EQ(gr.text(1, 1), " S1");
    EXPECT_EQ(gr.text(2, 1), "% of vis");
    EXPECT_EQ(gr.text(4, 1), "30");  // the percent moves to column 1

    // Both data columns hidden: labels alone, nothing fails.
    options.fractionShown = false;
    gr = grid(options);
    EXPECT_EQ(gr.text(3, 0), "Visible");
}

TEST_F(BendStatistics, ValuesForTools) {
    count(1, 0);
    struct Case {
        const char* region;
        const char* stat;
        std::optional<double> value;
    };
    for (const Case& c : std::vector<Case>{{"0", "vis", 100.0},
                                           {"2", "number", 3.0},
                                           {"2", "vis", 30.0},
                                           {"2.5", "number", 3.0},   // halves to even
                                           {"2", "mean", 0.0},
                                           {"2", "Number", 0.0},     // keys are exact
                                           {"abc", "number", 0.0},
                                           {"32", "number", 0.0},
                                           {"33", "number", std::nullopt},
                                           {"-1", "vis", std::nullopt}})
        EXPECT_EQ(LookUpBendStatistic(counts, c.region, c.stat), c.value) << c.region << " " << c.stat;
}

}  // namespace
}  // namespace qv
