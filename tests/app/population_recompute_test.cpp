#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "app/model/DefinitionEvaluator.h"
#include "app/model/PopulationRecompute.h"
#include "core/SharedState.h"
#include "plots/histogram/model/HistogramMarkerCheck.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

using test::MakeFile;
using test::MembershipColumn;
using test::PutFile;
using test::PutPolygon;

// A bending plot as far as recomputation sees it: it records the slots it
// was asked to check and marks their column as its own gate would.
class FakeBendPlot : public PlotWindow {
public:
    void Alusta(int id) override { id_ = id; }
    void Piirra() override {}
    int AnnaID() const override { return id_; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}
    void CheckPopulation(int slot) override {
        checked.push_back(slot);
        for (FileRecord& f : g.FileTable)
            if (f.Loaded)
                for (int e = 1; e <= f.EventCount; ++e) f.Membership(e, slot) = 1;
    }
    std::vector<int> checked;

private:
    int id_ = 0;
};

// Values on linear axes of range 10000 are their own PlotSpace x, and
// 10000 minus their PlotSpace y.
FileRecord FourParameterFile(const std::vector<std::vector<float>>& events) {
    return MakeFile({{"FSC", 10000}, {"SSC", 10000}, {"FL1", 10000}, {"FL2", 10000}}, events, "a.fcs");
}
FileRecord TwoParameterFile(const std::vector<std::vector<float>>& events) {
    return MakeFile({{"FSC", 10000}, {"SSC", 10000}}, events, "b.fcs");
}

PopulationRecord& PutMarker(int slot, int axis, float a, float b) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Type = "Histogram";
    p.Name = "Histo-" + std::to_string(slot);
    p.AxisX = static_cast<int16_t>(axis);
    p.Corners = 2;
    p.CornerX[1] = a;
    p.CornerX[2] = b;
    return p;
}

PopulationRecord& PutDefinition(int slot, const std::string& text) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Name = text;
    return p;
}

void FillColumn(int slot, uint8_t value) {
    for (FileRecord& f : g.FileTable)
        if (f.Loaded)
            for (int e = 1; e <= f.EventCount; ++e) f.Membership(e, slot) = value;
}

class PopulationRecompute : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
    void TearDown() override { SetWindowPopulationCheck({}); }
};

TEST_F(PopulationRecompute, EveryKindInEveryFileThenTheDefinitions) {
    // Polygon on FL1 (x) / FL2 (y): 2000..6000 in x, 2000..6000 in y.
    PutPolygon(1, 3, 4, {{2000, 2000}, {6000, 2000}, {6000, 6000}, {2000, 6000}});
    PutMarker(2, 1, 6000, 2000);  // drawn right to left
    PutDefinition(17, "poly-1 AND NOT Histo-2");
    PutDefinition(18, "Histo-2 or Poly-1");
    FileRecord& a = PutFile(1, FourParameterFile({
        {1999, 0, 3000, 7000},  // in the polygon (y = 3000), not in the marker
        {2000, 0, 3000, 7000},  // in both
        {6000, 0, 7000, 7000},  // in the marker only
        {6001, 0, 3000, 1000},  // in neither (y = 9000)
    }));
    // A second file without FL1 and FL2: the polygon has no members there.
    FileRecord& b = PutFile(2, TwoParameterFile({{4000, 0}, {100, 0}, {2000, 9000}}));
    for (int slot : {1, 2, 17, 18}) FillColumn(slot, 7);

    RecomputeAllPopulations();

    EXPECT_EQ(MembershipColumn(a, 1), (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(MembershipColumn(a, 2), (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(MembershipColumn(a, 17), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(MembershipColumn(a, 18), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(MembershipColumn(b, 1), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(MembershipColumn(b, 2), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(MembershipColumn(b, 17), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(MembershipColumn(b, 18), (std::vector<int>{1, 0, 1}));
    // The marker's ends were put in order, nothing else of the records changed.
    EXPECT_EQ(g.PopulationTable[2].CornerX[1], 2000.0f);
    EXPECT_EQ(g.PopulationTable[2].CornerX[2], 6000.0f);
    EXPECT_TRUE(g.PopulationTable[17].InUse);
    EXPECT_TRUE(g.PopulationTable[18].InUse);
}

TEST_F(PopulationRecompute, LoadingASecondFileRecomputesTheFirstToo) {
    PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 10000}, {0, 10000}});
    FileRecord& a = PutFile(1, TwoParameterFile({{1000, 5000}, {9000, 5000}}));
    RecomputeAllPopulations();
    ASSERT_EQ(MembershipColumn(a, 1), (std::vector<int>{1, 0}));
    // The gate changes while only the first file is loaded; then another file arrives.
    g.PopulationTable[1].CornerX[2] = 10000;
    g.PopulationTable[1].CornerX[3] = 10000;
    FileRecord& b = PutFile(2, TwoParameterFile({{9000, 5000}}));
    RecomputeAllPopulations();
    EXPECT_EQ(MembershipColumn(a, 1), (std::vector<int>{1, 1}));
    EXPECT_EQ(MembershipColumn(b, 1), (std::vector<int>{1}));
}

TEST_F(PopulationRecompute, KindsWithoutAServerKeepTheirColumns) {
    PutFile(1, TwoParameterFile({{1000, 1000}, {2000, 2000}}));
    PopulationRecord& dad = PutPolygon(1, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}});
    dad.Type = "DAD";
    PutPolygon(2, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}).Type.clear();
    PutPolygon(3, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}).Type = "polygon";  // case counts
    PutPolygon(4, 1, 2, {{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}).InUse = false;
    for (int slot : {1, 2, 3, 4}) FillColumn(slot, 7);
    RecomputeAllPopulations();
    for (int slot : {1, 2, 3, 4}) EXPECT_EQ(MembershipColumn(g.FileTable[1], slot), (std::vector<int>{7, 7})) << slot;
}

TEST_F(PopulationRecompute, BendPlotGatesGoToTheWindowThatDrewThem) {
    PutFile(1, TwoParameterFile({{1000, 1000}, {2000, 2000}}));
    FakeBendPlot window;
    g.WindowRegistry[7] = WindowRecord{true, &window, true, 1, true, "BendPlot"};
    PopulationRecord& gate = PutPolygon(3, 1, 2, {{0, 0}, {10, 0}, {10, 10}});
    gate.Type = "BendPlot";
    gate.Created = 7;
    PutDefinition(20, "poly-3");
    FillColumn(3, 7);
    FillColumn(20, 7);

    // Without the application's hook the gate keeps its column.
    RecomputeAllPopulations();
    EXPECT_TRUE(window.checked.empty());
    EXPECT_EQ(MembershipColumn(g.FileTable[1], 3), (std::vector<int>{7, 7}));

    SetWindowPopulationCheck([](PlotWindow& w, int slot) { w.CheckPopulation(slot); });
    RecomputeAllPopulations();
    EXPECT_EQ(window.checked, std::vector<int>{3});
    EXPECT_EQ(MembershipColumn(g.FileTable[1], 20), (std::vector<int>{1, 1}))
        << "definitions follow the window's column";

    // A closed window, or its slot taken by another kind, holds no chain for the gate.
    window.checked.clear();
    g.WindowRegistry[7].Type = "DotPlot";
    RecomputePopulation(3);
    g.WindowRegistry[7] = WindowRecord{};
    RecomputePopulation(3);
    gate.Created = 0;
    RecomputePopulation(3);
    gate.Created = 999;
    RecomputePopulation(3);
    EXPECT_TRUE(window.checked.empty());
}

TEST_F(PopulationRecompute, DefinitionsThatNoLongerEvaluateAreDropped) {
    // No population in use: every definition in use names a missing one.
    PutFile(1, TwoParameterFile({{1000, 1000}}));
    PutDefinition(17, "Poly-1");
    PutDefinition(32, "Poly-1 or Poly-2");
    RecomputeAllPopulations();
    EXPECT_FALSE(g.PopulationTable[17].InUse);
    EXPECT_FALSE(g.PopulationTable[32].InUse);
    EXPECT_EQ(g.PopulationTable[17].Name, "Poly-1");
}

TEST_F(PopulationRecompute, OnePopulationReevaluatesEveryDefinitionInUse) {
    FileRecord& a = PutFile(1, TwoParameterFile({{1000, 9000}, {9000, 9000}}));
    PutPolygon(1, 1, 2, {{0, 0}, {5000, 0}, {5000, 5000}, {0, 5000}});
    PutPolygon(10, 1, 2, {{0, 0}, {10000, 0}, {10000, 5000}, {0, 5000}});
    RecomputeAllPopulations();
    PutDefinition(17, "POLY-1");                  // other case than the name
    PutDefinition(18, "(Poly-10)and(not poly-1)");  // refused: words glued to parentheses
    PutDefinition(19, "Poly-10 and not Poly-1");
    FillColumn(17, 7);
    FillColumn(19, 7);
    RecomputePopulation(1);
    EXPECT_EQ(MembershipColumn(a, 17), (std::vector<int>{1, 0}));
    EXPECT_FALSE(g.PopulationTable[18].InUse);
    EXPECT_EQ(MembershipColumn(a, 19), (std::vector<int>{0, 1}));
}

TEST_F(PopulationRecompute, MarkerEndsAreInclusiveOrderedAndFinite) {
    FileRecord& a = PutFile(1, TwoParameterFile({{1999.5f, 0}, {2000, 0}, {4000, 0}, {6000, 0}, {6000.5f, 0}}));
    PopulationRecord& m = PutMarker(2, 1, 6000, 2000);
    HistogramCheckPopulation(2);
    EXPECT_EQ(MembershipColumn(a, 2), (std::vector<int>{0, 1, 1, 1, 0}));
    EXPECT_LE(m.CornerX[1], m.CornerX[2]);

    // Equal ends hold the events exactly at that place.
    PutMarker(3, 1, 4000, 4000);
    HistogramCheckPopulation(3);
    EXPECT_EQ(MembershipColumn(a, 3), (std::vector<int>{0, 0, 1, 0, 0}));

    // Damaged ends are written back finite, and the membership is still 0 or 1.
    PopulationRecord& bad = PutMarker(4, 1, std::numeric_limits<float>::quiet_NaN(),
                                      std::numeric_limits<float>::infinity());
    HistogramCheckPopulation(4);
    EXPECT_TRUE(std::isfinite(bad.CornerX[1]));
    EXPECT_TRUE(std::isfinite(bad.CornerX[2]));
    EXPECT_EQ(MembershipColumn(a, 4), (std::vector<int>{1, 1, 1, 1, 1}));

    // A marker on a parameter the file lacks holds nothing there.
    PutMarker(5, 3, 0, 10000);
    FillColumn(5, 7);
    HistogramCheckPopulation(5);
    EXPECT_EQ(MembershipColumn(a, 5), (std::vector<int>{0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace qv
