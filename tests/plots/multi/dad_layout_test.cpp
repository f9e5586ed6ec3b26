// The DAD layout over flat arrays: which events the sample takes, one
// iteration's forces and moves, the target distances, placing the rest
// beside their nearest sampled event, and the inputs that must neither
// divide by zero nor leave 32 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/SharedState.h"
#include "plots/multi/model/DadLayout.h"
#include "tests/plots/dotplot/DotPlotTestFiles.h"

namespace qv {
namespace {

class DadLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetSharedState();
        BuildDistanceTable();
    }
    void TearDown() override { resetSharedState(); }

    // One linear parameter of range 1000 per value given.
    static FileRecord valuesFile(const std::vector<std::vector<float>>& events, int parameters) {
        std::vector<test::ParamSpec> params;
        for (int p = 1; p <= parameters; ++p) params.push_back({"P" + std::to_string(p), 1000});
        return test::MakeFile(params, events);
    }
    static FileRecord countFile(int events) {
        std::vector<std::vector<float>> values;
        for (int e = 1; e <= events; ++e) values.push_back({static_cast<float>(e)});
        return valuesFile(values, 1);
    }
    static DadLayout freshLayout(const FileRecord& file, int32_t sampleSize) {
        DadLayout l;
        l.SampleSize = sampleSize;
        l.InSample.assign(static_cast<size_t>(file.EventCount) + 1, 0);
        l.LayoutPosition.assign(static_cast<size_t>(file.EventCount) + 1, LayoutPoint{7, 7});
        l.ChannelUsed.assign(static_cast<size_t>(file.ParameterCount) + 1, 1);
        l.ChannelUsed[0] = 0;
        return l;
    }
};

TEST_F(DadLayoutTest, SampleTakesEveryStepthCandidateAndParksTheOthers) {
    struct Case {
        const char* what;
        int events, N;
        std::vector<int32_t> sampled;
    } cases[] = {
        {"fewer candidates than N: all taken", 3, 5, {1, 2, 3}},
        {"M = 2.5 N: every second, from the second", 10, 4, {2, 4, 6, 8}},
        {"M = N", 4, 4, {1, 2, 3, 4}},
        {"M = 10, N = 3: step 3", 10, 3, {3, 6, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FileRecord file = countFile(c.events);
        DadLayout l = freshLayout(file, c.N);
        EXPECT_EQ(SelectSample(l, file), static_cast<int32_t>(c.sampled.size()));
        EXPECT_EQ(SampledEvents(l), c.sampled);
        for (int e = 1; e <= c.events; ++e) {
            const bool taken = std::find(c.sampled.begin(), c.sampled.end(), e) != c.sampled.end();
            EXPECT_EQ(l.LayoutPosition[static_cast<size_t>(e)], (taken ? LayoutPoint{7, 7} : LayoutPoint{1, 1})) << e;
        }
    }
}

TEST_F(DadLayoutTest, SampleOfAPopulationLeavesOtherEventsWhereTheyAre) {
    FileRecord file = countFile(6);
    for (int e : {2, 3, 5}) file.Membership(e, 4) = 1;
    DadLayout l = freshLayout(file, 10);
    l.ShownPopulation = 4;
    EXPECT_EQ(SelectSample(l, file), 3);
    EXPECT_EQ(SampledEvents(l), (std::vector<int32_t>{2, 3, 5}));
    for (int e : {1, 4, 6}) EXPECT_EQ(l.LayoutPosition[static_cast<size_t>(e)], (LayoutPoint{7, 7}));
}

TEST_F(DadLayoutTest, NothingIsSampledWithoutEventsOrWithoutASampleSize) {
    const FileRecord empty;
    DadLayout l;
    PrepareDadLayoutForFile(l, empty);
    EXPECT_EQ(l.SampleSize, 1000);  // no file: nothing to cap at
    EXPECT_EQ(SelectSample(l, empty), 0);
    EXPECT_TRUE(ComputeTargetDistances(l, empty, 417, {}));
    EXPECT_TRUE(IterateOnce(l, {}));
    EXPECT_EQ(l.MeanMovement, 0);
    EXPECT_TRUE(PlaceRest(l, empty, {}));

    const FileRecord file = countFile(5);
    DadLayout zero = freshLayout(file, 0);
    EXPECT_EQ(SelectSample(zero, file), 0);
}

// A window's sample size meets the files it is given in turn: only a loaded
// file lowers it, and only to that file's own events (at least one).
TEST_F(DadLayoutTest, OnlyALoadedFileCapsTheSampleSize) {
    struct Case {
        const char* what;
        int32_t sampleSize;
        std::vector<int> files;  // events of each file given in turn; -1: no file
        int32_t after;
    } cases[] = {
        {"no file keeps the default", 1000, {-1}, 1000},
        {"no file keeps the sheet's size", 250, {-1, -1}, 250},
        {"no file, then a small file: its events", 1000, {-1, 500}, 500},
        {"no file, then a large file: the size", 250, {-1, 5000}, 250},
        {"a small file, then no file: the small one's", 1000, {40, -1}, 40},
        {"a loaded file without events: one", 1000, {0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DadLayout l;
        l.SampleSize = c.sampleSize;
        FileRecord file;
        for (const int events : c.files) {
            file = events < 0 ? FileRecord{} : countFile(events);
            PrepareDadLayoutForFile(l, file);
        }
        EXPECT_EQ(l.SampleSize, c.after);
        EXPECT_EQ(SelectSample(l, file), std::min(c.after, std::max(file.EventCount, 0)));
    }
}

TEST_F(DadLayoutTest, OneIterationOnTwoPoints) {
    struct Case {
        int32_t deviator;
        LayoutPoint first, second;
        double meanMovement;
    } cases[] = {
        // Distance 10, wanted 4: each moves (10 - 4) / deviator towards the other.
        {1, {6, 0}, {4, 0}, 4.0},  // moves of 6: (6 + 6) / (2 + 1)
        {2, {3, 0}, {7, 0}, 2.0},  // moves of 3: (3 + 3) / (2 + 1)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviator);
        DadLayout l;
        l.Deviator = c.deviator;
        l.InSample = {0, 1, 1};
        l.LayoutPosition = {{0, 0}, {0, 0}, {10, 0}};
        l.TargetOrder = 2;
        l.TargetDistance.assign(9, 0.0f);
        l.TargetDistance[1 * 3 + 2] = l.TargetDistance[2 * 3 + 1] = 4.0f;
        ASSERT_TRUE(IterateOnce(l, {}));
        EXPECT_EQ(l.LayoutPosition[1], c.first);
        EXPECT_EQ(l.LayoutPosition[2], c.second);
        EXPECT_DOUBLE_EQ(l.MeanMovement, c.meanMovement);
    }
}

TEST_F(DadLayoutTest, PointsOnTopOfEachOtherStayFiniteAndUnmoved) {
    DadLayout l;
    l.InSample = {0, 1, 1};
    l.LayoutPosition = {{0, 0}, {5, 5}, {5, 5}};
    l.TargetOrder = 2;
    l.TargetDistance.assign(9, 100.0f);
    ASSERT_TRUE(IterateOnce(l, {}));
    EXPECT_EQ(l.LayoutPosition[1], (LayoutPoint{5, 5}));
    EXPECT_EQ(l.LayoutPosition[2], (LayoutPoint{5, 5}));
    EXPECT_EQ(l.MeanMovement, 0);
}

TEST_F(DadLayoutTest, FarPositionsUseTheDirectDistanceAndStayWithin32Bits) {
    EXPECT_EQ(ScreenDistance(3, 4), 5.0f);
    EXPECT_EQ(ScreenDistance(-1000, 1000), static_cast<float>(std::sqrt(2e6)));
    EXPECT_EQ(ScreenDistance(3000, -4000), 5000.0f);
    EXPECT_EQ(ScreenDistance(std::numeric_limits<int32_t>::min(), 0), 2147483648.0f);

    DadLayout l;
    l.Deviator = 1;
    l.InSample = {0, 1, 1, 1};
    constexpr int32_t Far = std::numeric_limits<int32_t>::max();
    l.LayoutPosition = {{0, 0}, {-Far, -Far}, {Far, Far}, {0, 0}};
    l.TargetOrder = 3;
    l.TargetDistance.assign(16, 3.0e38f);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(IterateOnce(l, {}));
    EXPECT_TRUE(std::isfinite(l.MeanMovement));
}

TEST_F(DadLayoutTest, TargetDistancesAreTheMeanOverTheUsedChannels) {
    // Range 1000 on a picture 500 wide: a value v lies at v / 2.
    FileRecord file = valuesFile({{0, 100, 0}, {200, 300, 999}, {400, 100, 0}}, 3);
    DadLayout l = freshLayout(file, 3);
    l.ChannelUsed = {0, 1, 1, 0};
    SelectSample(l, file);
    ASSERT_TRUE(ComputeTargetDistances(l, file, 500, {}));
    EXPECT_FALSE(l.TargetsStale);
    EXPECT_EQ(l.target(1, 1), 0.0f);
    EXPECT_EQ(l.target(1, 2), (100.0f + 100.0f) / 2);
    EXPECT_EQ(l.target(2, 1), l.target(1, 2));
    EXPECT_EQ(l.target(1, 3), (200.0f + 0.0f) / 2);
    EXPECT_EQ(l.target(2, 3), (100.0f + 100.0f) / 2);
    EXPECT_EQ(l.TargetSample, (std::vector<int32_t>{1, 2, 3}));

    // Stopped after the first row: the targets stay stale.
    int rows = 0;
    EXPECT_FALSE(ComputeTargetDistances(l, file, 500, [&](int64_t, int64_t) { return ++rows < 1; }));
    EXPECT_TRUE(l.TargetsStale);
    EXPECT_EQ(rows, 1);
}

TEST_F(DadLayoutTest, ChannelsTheFileGainedLaterAreNotChecked) {
    FileRecord file = valuesFile({{0, 0}, {100, 900}}, 2);
    DadLayout l = freshLayout(file, 2);
    l.ChannelUsed = {0, 1};  // made when the file had one parameter
    SelectSample(l, file);
    ASSERT_TRUE(ComputeTargetDistances(l, file, 1000, {}));
    EXPECT_EQ(l.target(1, 2), 100.0f);
}

TEST_F(DadLayoutTest, RestGoesBesideItsNearestSampledEventTiesToTheFirst) {
    // Sampled events 1..8 at values 0, 10, ..., 70 and distinct positions;
    // event 9 (value 40) is as far from 30 (rank 4) as from 50 (rank 6).
    std::vector<std::vector<float>> values;
    for (int e = 0; e < 8; ++e) values.push_back({static_cast<float>(e * 10)});
    values.push_back({40});
    values.push_back({31});
    values.push_back({2.0e9f});  // far beyond every sample
    values.push_back({std::numeric_limits<float>::quiet_NaN()});
    values.push_back({std::numeric_limits<float>::infinity()});
    FileRecord file = valuesFile(values, 1);
    DadLayout l = freshLayout(file, 8);
    for (int e = 1; e <= 8; ++e) {
        l.InSample[static_cast<size_t>(e)] = 1;
        l.LayoutPosition[static_cast<size_t>(e)] = {100 * e, -50 * e};
    }
    // Event 9's value 40 is also sampled event 5's; make it a tie instead.
    file.WorkingData(5, 1) = 1000;
    auto near = [&](int e, int sampled) {
        const LayoutPoint p = l.LayoutPosition[static_cast<size_t>(e)];
        const LayoutPoint s = l.LayoutPosition[static_cast<size_t>(sampled)];
        return p.x >= s.x - 2 && p.x <= s.x + 1 && p.y >= s.y - 2 && p.y <= s.y + 1;
    };
    ASSERT_TRUE(PlaceRest(l, file, {}));
    EXPECT_TRUE(near(9, 4)) << "a tie between ranks 4 and 6 goes to rank 4";
    EXPECT_TRUE(near(10, 4));
    EXPECT_TRUE(near(11, 5)) << "far from all still goes to the nearest";
    EXPECT_TRUE(near(12, 1)) << "not a number counts as 0";
    EXPECT_TRUE(near(13, 5)) << "infinity is held at the 32-bit end";
    // Afterwards the whole shown population is drawn.
    for (int e = 1; e <= 13; ++e) EXPECT_EQ(l.InSample[static_cast<size_t>(e)], 1);
}

TEST_F(DadLayoutTest, RestSearchGivesTheSameNearestForSmallAndLargeValues) {
    // The same layout searched with small values and with the values scaled
    // past the fast 32-bit sums: equal placements up to the jitter.
    std::vector<std::vector<float>> small, large;
    for (int e = 0; e < 300; ++e) {
        const float a = static_cast<float>((e * 37) % 101), b = static_cast<float>((e * 53) % 89);
        small.push_back({a, b});
        large.push_back({a * 1.0e7f, b * 1.0e7f});
    }
    std::vector<LayoutPoint> placements[2];
    int k = 0;
    for (const auto* values : {&small, &large}) {
        FileRecord file = valuesFile(*values, 2);
        DadLayout l = freshLayout(file, 30);
        l.Random.seed(5);
        SelectSample(l, file);
        for (int e = 1; e <= 300; ++e)
            if (l.InSample[static_cast<size_t>(e)]) l.LayoutPosition[static_cast<size_t>(e)] = {e * 10, e * 20};
        ASSERT_TRUE(PlaceRest(l, file, {}));
        placements[k++] = l.LayoutPosition;
    }
    EXPECT_EQ(placements[0], placements[1]);
}

TEST_F(DadLayoutTest, PlaceRestStoppedLeavesTheMarksAlone) {
    const FileRecord file = countFile(40000);
    DadLayout l = freshLayout(file, 10);
    SelectSample(l, file);
    const std::vector<uint8_t> before = l.InSample;
    EXPECT_FALSE(PlaceRest(l, file, [](int64_t, int64_t) { return false; }));
    EXPECT_EQ(l.InSample, before);
}

TEST_F(DadLayoutTest, InitialPlacementAsADotPlotOrAtRandomInsideThePicture) {
    // Range 1000 on 200: value v at v / 5 + 50 across, 250 - v / 5 down.
    const FileRecord file = valuesFile({{0, 0}, {1000, 500}, {250, 1000}}, 2);
    DadLayout l = freshLayout(file, 3);
    PlaceInitial(l, file, 417, 417);
    EXPECT_EQ(l.LayoutPosition[1], (LayoutPoint{50, 250}));
    EXPECT_EQ(l.LayoutPosition[2], (LayoutPoint{250, 150}));
    EXPECT_EQ(l.LayoutPosition[3], (LayoutPoint{100, 50}));

    const FileRecord many = countFile(5000);
    DadLayout r = freshLayout(many, 10);
    r.RandomStart = true;
    PlaceInitial(r, many, 417, 300);
    for (int e = 1; e <= 5000; ++e) {
        const LayoutPoint p = r.LayoutPosition[static_cast<size_t>(e)];
        ASSERT_TRUE(p.x >= 0 && p.x < 417 && p.y >= 0 && p.y < 300) << e;
    }
}

TEST_F(DadLayoutTest, MovementLogLine) {
    EXPECT_EQ(MovementLogLine(3, 1.25, 0.01), "3\t1.25\t0.01\n");
    EXPECT_EQ(MovementLogLine(0, 0, 0), "0\t0\t0\n");
}

}  // namespace
}  // namespace qv
