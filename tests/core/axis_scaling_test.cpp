#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <climits>
#include <limits>
#include <vector>

#include "core/AxisScaling.h"
#include "core/SharedState.h"

namespace qv {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// A file whose parameter 1 has the given scale and whose events 1..n hold
// the given values.
FileRecord oneParameterFile(bool isLog, int32_t range, const std::vector<float>& values) {
    FileRecord f;
    f.Loaded = true;
    f.ParameterCount = 1;
    f.Parameters.resize(2);
    f.Parameters[1].IsLog = isLog;
    f.Parameters[1].Range = range;
    f.EventCount = static_cast<int32_t>(values.size());
    f.WorkingData.resize(f.EventCount, 1);
    for (size_t e = 0; e < values.size(); ++e) f.WorkingData(static_cast<int32_t>(e) + 1, 1) = values[e];
    f.PristineData = f.WorkingData;
    return f;
}

double scaleOne(bool isLog, int32_t range, float value, double length) {
    return ScaleEventToAxis(oneParameterFile(isLog, range, {value}), 1, 1, length);
}

class AxisScaling : public ::testing::Test {
protected:
    void SetUp() override { resetSharedState(); }
};

TEST_F(AxisScaling, Log10AndLogChannel) {
    EXPECT_DOUBLE_EQ(Log10(1000.0), 3.0);
    EXPECT_DOUBLE_EQ(Log10(0.01), -2.0);
    for (double x : {0.0, -1.0, -1e30, std::numeric_limits<double>::quiet_NaN()}) EXPECT_EQ(Log10(x), 0.0) << x;
    EXPECT_EQ(LogChannel(1.0, 2500), 1.0);
    EXPECT_EQ(LogChannel(0.5, 2500), 1.0);
    EXPECT_EQ(LogChannel(-7.0, 2500), 1.0);
    EXPECT_DOUBLE_EQ(LogChannel(100.0, 2500), 5000.0);
}

TEST_F(AxisScaling, EventPositionsOnLinearAndLogAxes) {
    struct Case { bool isLog; int32_t range; float value; double length; bool fold; double expected; double tolerance; };
    const Case cases[] = {
        // linear: value / Range * length, negatives at 0, no upper clamp
        {false, 1024, 512.0f, 10000, false, 5000.0, 1e-9},
        {false, 1024, -5.0f, 10000, false, 0.0, 0.0},
        {false, 1024, 2048.0f, 10000, false, 20000.0, 1e-9},
        {false, 1024, 0.5f, 10000, false, 0.5 / 1024 * 10000, 1e-9},
        // negative-value option: below 1 becomes |v| + 1
        {false, 1024, -5.0f, 10000, true, 6.0 / 1024 * 10000, 1e-9},
        {false, 1024, 0.5f, 10000, true, 1.5 / 1024 * 10000, 1e-9},
        {false, 1024, 1.0f, 10000, true, 1.0 / 1024 * 10000, 1e-9},
        {false, 1024, 512.0f, 10000, true, 5000.0, 1e-9},
        // log, Range 10000: 2500 channels per decade
        {true, 10000, 100.0f, 10000, false, 5000.0, 1e-9},
        {true, 10000, 10000.0f, 10000, false, 10000.0, 1e-9},
        {true, 10000, 1.0f, 10000, false, 1.0, 1e-12},
        {true, 10000, 0.5f, 10000, false, 1.0, 1e-12},
        {true, 10000, 0.0f, 10000, false, 1.0, 1e-12},
        {true, 10000, -250.0f, 10000, false, 1.0, 1e-12},
        {true, 10000, -9.0f, 10000, true, 2500.0, 1e-9},  // folded to 10: one decade
        // log, Range 262144: shifted by 40 and floored at -20
        {true, 262144, 0.0f, 1, false, 0.0731, 5e-5},
        {true, 262144, -20.0f, 1, false, 0.0, 0.0},
        {true, 262144, -500.0f, 1, false, 0.0, 0.0},
        {true, 262144, 1000.0f, 1, false, 0.4168, 5e-5},
        {true, 262144, 262144.0f, 1, false, 1.00001, 5e-6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.isLog ? "log " : "lin ") << c.range << " v=" << c.value
                                        << (c.fold ? " fold" : ""));
        g.UseNegativeAbs = c.fold;
        EXPECT_NEAR(scaleOne(c.isLog, c.range, c.value, c.length), c.expected, c.tolerance);
    }
}

// Scaling event after event keeps the axis constants between calls; any
// change of the axis or of the options must still take effect at once.
TEST_F(AxisScaling, ChangedAxisOrOptionsTakeEffectAtOnce) {
    FileRecord f = oneParameterFile(false, 1000, {100.0f, -5.0f});
    EXPECT_DOUBLE_EQ(ScaleEventToAxis(f, 1, 1, 10000), 1000.0);
    f.Parameters[1].Range = 500;
    EXPECT_DOUBLE_EQ(ScaleEventToAxis(f, 1, 1, 10000), 2000.0);
    EXPECT_DOUBLE_EQ(ScaleEventToAxis(f, 1, 1, 5000), 1000.0);
    f.Parameters[1].IsLog = true;
    f.Parameters[1].Range = 10000;
    EXPECT_DOUBLE_EQ(ScaleEventToAxis(f, 1, 1, 10000), 5000.0);
    EXPECT_DOUBLE_EQ(ScaleEventToAxis(f, 2, 1, 10000), 1.0);
    g.UseNegativeAbs = true;  // -5 becomes 6
    EXPECT_NEAR(ScaleEventToAxis(f, 2, 1, 10000), std::log10(6.0) * 2500, 1e-9);
    f.Parameters[1].Range = 262144;
    const double shifted = ScaleEventToAxis(f, 1, 1, 1);
    g.LogShift = 0;
    g.LogAxisFloor = 1;
    EXPECT_NE(ScaleEventToAxis(f, 1, 1, 1), shifted);
    EXPECT_NEAR(ScaleEventToAxis(f, 1, 1, 1), (std::log10(100.0) * 48379 - 1) / (262144 - 1), 1e-12);
}

// Ranges that leave no scale, values that are not numbers and indices
// outside the file all give position 0, never a NaN.
TEST_F(AxisScaling, DegenerateInputsGiveZero) {
    struct Case { bool isLog; int32_t range; float value; };
    const Case cases[] = {
        {false, 0, 5.0f}, {false, 0, -5.0f}, {false, 0, 0.0f},
        {true, 0, 5.0f},  {true, 1, 5.0f},   {true, -10, 5.0f}, {true, 1, 1000.0f},
        {false, 1024, kNaN}, {true, 10000, kNaN}, {true, 262144, kNaN},
        {false, 1024, -std::numeric_limits<float>::infinity()},
        {false, 1024, std::numeric_limits<float>::infinity()},
        {true, 262144, std::numeric_limits<float>::infinity()},
    };
    for (bool fold : {false, true}) {
        g.UseNegativeAbs = fold;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.isLog << " " << c.range << " " << c.value << " fold " << fold);
            EXPECT_EQ(scaleOne(c.isLog, c.range, c.value, 10000), 0.0);
        }
    }
    const FileRecord f = oneParameterFile(false, 1024, {100.0f, 200.0f});
    EXPECT_EQ(ScaleEventToAxis(f, 3, 1, 10000), 0.0);
    EXPECT_EQ(ScaleEventToAxis(f, -1, 1, 10000), 0.0);
    EXPECT_EQ(ScaleEventToAxis(f, 1, 2, 10000), 0.0);
    EXPECT_EQ(ScaleEventToAxis(f, 1, -1, 10000), 0.0);
    EXPECT_EQ(ScaleEventToAxis(FileRecord{}, 1, 1, 10000), 0.0);
}

TEST_F(AxisScaling, ValuePositionsForDecadeTicks) {
    struct Case { int32_t value; int32_t range; double length; double expected; double tolerance; };
    const Case cases[] = {
        {100, 10000, 10000, 5000.0, 1e-9},
        {1000, 10000, 10000, 7500.0, 1e-9},
        {1, 10000, 10000, 1.0, 1e-12},
        {0, 10000, 10000, 1.0, 1e-12},
        {-20, 262144, 1, 0.0, 0.0},
        {1000, 262144, 1, 0.4168, 5e-5},
        {100, 1, 10000, 0.0, 0.0},
        {100, 0, 10000, 0.0, 0.0},
        {100, -5, 10000, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " on " << c.range);
        EXPECT_NEAR(ScaleValueToAxis(c.value, c.range, c.length), c.expected, c.tolerance);
    }
    // The shift cannot overflow the 32-bit sum.
    const double top = ScaleValueToAxis(std::numeric_limits<int32_t>::max(), 262144, 1);
    EXPECT_TRUE(std::isfinite(top));
    EXPECT_GT(top, 1.0);
}

// Decade ticks (ScaleValueToAxis) sit exactly where events of the same value
// are drawn (ScaleEventToAxis on a log parameter).
TEST_F(AxisScaling, TicksAndEventsOfTheSameValueCoincide) {
    for (int32_t range : {262144, 10000, 1024, 2}) {
        std::vector<float> values;
        std::vector<int32_t> ticks;
        for (int32_t d = 1; d <= 100000; d *= 10)
            for (int32_t k = 1; k <= 10; ++k) {
                ticks.push_back(k * d);
                values.push_back(static_cast<float>(k * d));
            }
        for (int32_t v : {0, -5, -40, -41}) {
            ticks.push_back(v);
            values.push_back(static_cast<float>(v));
        }
        const FileRecord f = oneParameterFile(true, range, values);
        for (size_t i = 0; i < ticks.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "range " << range << " value " << ticks[i]);
            EXPECT_EQ(ScaleValueToAxis(ticks[i], range, 317.0),
                      ScaleEventToAxis(f, static_cast<int32_t>(i) + 1, 1, 317.0));
        }
    }
}

// The column form must place every event exactly where the per-event form
// does, for every kind of axis, with and without the negative-value option.
TEST_F(AxisScaling, ColumnFormIsBitIdenticalToPerEventForm) {
    std::vector<float> values;
    for (int k = 0; k < 5000; ++k) values.push_back(static_cast<float>((k * 7919) % 300000) - 1000.0f + 0.37f * (k % 11));
    for (float special : {0.0f, -0.0f, 0.5f, 1.0f, -20.0f, -40.0f, 262144.0f, 1e30f, -1e30f, kNaN})
        values.push_back(special);
    struct Axis { bool isLog; int32_t range; };
    const Axis axes[] = {{false, 1024}, {false, 262144}, {true, 10000}, {true, 262144}, {true, 2},
                         {false, 0}, {true, 1}, {false, -100}};
    for (bool fold : {false, true}) {
        g.UseNegativeAbs = fold;
        for (const Axis& a : axes) {
            const FileRecord f = oneParameterFile(a.isLog, a.range, values);
            for (int32_t step : {1, 3}) {
                for (double length : {10000.0, 317.0}) {
                    SCOPED_TRACE(testing::Message() << a.isLog << " " << a.range << " fold " << fold
                                                    << " step " << step << " length " << length);
                    const size_t n = SampledEventCount(1, f.EventCount, step);
                    std::vector<double> d(n);
                    std::vector<float> s(n);
                    std::vector<int32_t> w(n);
                    ASSERT_EQ(ScaleEventsToAxis(f, 1, length, 1, f.EventCount, step, d), n);
                    ASSERT_EQ(ScaleEventsToAxis(f, 1, length, 1, f.EventCount, step, std::span<float>(s)), n);
                    ASSERT_EQ(ScaleEventsToAxis(f, 1, length, 1, f.EventCount, step, std::span<int32_t>(w)), n);
                    for (size_t k = 0; k < n; ++k) {
                        const double one = ScaleEventToAxis(f, 1 + static_cast<int32_t>(k) * step, 1, length);
                        ASSERT_EQ(std::memcmp(&one, &d[k], sizeof one), 0) << "event " << 1 + k * step;
                        ASSERT_EQ(static_cast<float>(one), s[k]) << "event " << 1 + k * step;
                        ASSERT_FALSE(std::isnan(d[k]));
                        const double whole = std::floor(one);
                        ASSERT_EQ(w[k], whole >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(whole))
                            << "event " << 1 + k * step;
                    }
                }
            }
        }
    }
}

TEST_F(AxisScaling, ColumnFormStaysInsideTheMatrixAndTheOutput) {
    const FileRecord f = oneParameterFile(false, 100, {10, 20, 30, 40, 50});
    std::vector<double> out(10, -1.0);
    EXPECT_EQ(ScaleEventsToAxis(f, 1, 100, 1, 1000, 1, out), 5u);  // last cut to the matrix
    EXPECT_DOUBLE_EQ(out[4], 50.0);
    EXPECT_EQ(out[5], -1.0);
    EXPECT_EQ(ScaleEventsToAxis(f, 1, 100, 2, 5, 2, out), 2u);  // events 2 and 4
    EXPECT_DOUBLE_EQ(out[0], 20.0);
    EXPECT_DOUBLE_EQ(out[1], 40.0);
    std::vector<double> small(2);
    EXPECT_EQ(ScaleEventsToAxis(f, 1, 100, 1, 5, 1, small), 2u);  // cut to the output
    EXPECT_EQ(ScaleEventsToAxis(f, 1, 100, 4, 3, 1, out), 0u);
    EXPECT_EQ(ScaleEventsToAxis(f, 1, 100, 1, 5, 0, out), 5u);  // step 0 counts as 1
    EXPECT_EQ(ScaleEventsToAxis(f, 2, 100, 1, 5, 1, out), 0u);  // no such parameter
    EXPECT_EQ(ScaleEventsToAxis(FileRecord{}, 1, 100, 1, 5, 1, out), 0u);
    EXPECT_EQ(SampledEventCount(1, 1000000, 7), 142858u);
    EXPECT_EQ(SampledEventCount(5, 4, 1), 0u);
}

}  // namespace
}  // namespace qv
