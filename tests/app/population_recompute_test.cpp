#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "app/model/DefinitionEvaluator.h"
#include "app/model/PopulationRecompute.h"
#include "core/AxisScaling.h"
#include "core/GateMembership.h"
#include "core/PolygonTest.h"
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

// Where each event of a file falls for one gate, worked out event by event
// from ScaleEventToAxis (no blocks, no shared positions): 0 in a file
// lacking one of the gate's parameters.
std::vector<int> EventByEvent(const FileRecord& file, const PopulationRecord& gate) {
    const int n = file.EventCount;
    const bool polygon = gate.Type == "Polygon";
    if (gate.AxisX > file.ParameterCount || (polygon && gate.AxisY > file.ParameterCount))
        return std::vector<int>(static_cast<size_t>(n), 0);
    std::vector<float> xs(static_cast<size_t>(n)), ys(static_cast<size_t>(n));
    std::vector<uint8_t> inside(static_cast<size_t>(n));
    for (int e = 1; e <= n; ++e) {
        const double x = ScaleEventToAxis(file, e, gate.AxisX, GatePlotSpace);
        if (polygon) {
            xs[static_cast<size_t>(e - 1)] = static_cast<float>(x);
            ys[static_cast<size_t>(e - 1)] =
                static_cast<float>(GatePlotSpace - ScaleEventToAxis(file, e, gate.AxisY, GatePlotSpace));
        } else {
            const double lo = std::min(gate.CornerX[1], gate.CornerX[2]), hi = std::max(gate.CornerX[1], gate.CornerX[2]);
            inside[static_cast<size_t>(e - 1)] = x >= lo && x <= hi;
        }
    }
    if (polygon) PointsInPolygon(xs.data(), ys.data(), static_cast<size_t>(n), GatePolygon(gate), inside.data());
    return std::vector<int>(inside.begin(), inside.end());
}

// Gates that share parameters are checked in one pass, each parameter
// scaled once per block: every gate must still get each event right, across
// block ends, on log and linear axes, with the x and y of one gate the y and
// x of another or one parameter on both axes, and in a file lacking a
// parameter.
TEST_F(PopulationRecompute, GatesSharingParametersGetEveryEventRight) {
    const int events = 2 * GateCheckBlock + 123;
    std::vector<std::vector<float>> a, b;
    for (int e = 0; e < events; ++e) {
        const float v = static_cast<float>((e * 7919) % 262144);
        const float w = static_cast<float>((e * 104729) % 262144);
        a.push_back({v, w, static_cast<float>((e * 31) % 1024), w - 500.0f});
        b.push_back({w, v});
    }
    PutFile(1, MakeFile({{"FL1", 262144, true}, {"FL2", 262144, true}, {"FSC", 1024}, {"FL3", 262144, true}}, a, "a.fcs"));
    PutFile(2, MakeFile({{"FL1", 262144, true}, {"FL2", 262144, true}}, b, "b.fcs"));
    PutPolygon(1, 1, 2, {{1000, 1000}, {9000, 2000}, {7000, 9000}});
    PutPolygon(2, 2, 1, {{0, 0}, {6000, 0}, {6000, 6000}, {0, 6000}});
    PutPolygon(3, 3, 1, {{2000, 2000}, {8000, 2000}, {5000, 8000}});
    PutPolygon(4, 4, 4, {{0, 0}, {10000, 0}, {10000, 10000}});
    PutMarker(5, 1, 8000, 3000);
    PutMarker(6, 3, 1000, 5000);
    PutDefinition(17, "Poly-1 and not Histo-5");
    for (int slot : {1, 2, 3, 4, 5, 6, 17}) FillColumn(slot, 7);

    RecomputeAllPopulations();
    for (int f : {1, 2}) {
        const FileRecord& file = g.FileTable[static_cast<size_t>(f)];
        for (int slot = 1; slot <= 6; ++slot) {
            const std::vector<int> expected = EventByEvent(file, g.PopulationTable[static_cast<size_t>(slot)]);
            EXPECT_EQ(MembershipColumn(file, slot), expected) << "file " << f << ", slot " << slot;
            if (f == 1) EXPECT_NE(expected, std::vector<int>(static_cast<size_t>(events), 0)) << "slot " << slot;
        }
        std::vector<int> definition(static_cast<size_t>(events));
        const std::vector<int> poly = MembershipColumn(file, 1), marker = MembershipColumn(file, 5);
        for (size_t i = 0; i < definition.size(); ++i) definition[i] = poly[i] && !marker[i];
        EXPECT_EQ(MembershipColumn(file, 17), definition) << "file " << f;
    }
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
