#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "core/Compensation.h"

namespace qv {
namespace {

// A loaded record with `events` events of `parameters` parameters; pristine
// values from `value(e, p)`, working data filled with a marker so that
// untouched elements show.
template <class F>
FileRecord makeRecord(int32_t events, int32_t parameters, F value) {
    FileRecord f;
    f.Loaded = true;
    f.EventCount = events;
    f.EventsLoaded = events;
    f.ParameterCount = parameters;
    f.Parameters.resize(static_cast<size_t>(parameters) + 1);
    f.PristineData.resize(events, parameters);
    for (int32_t p = 1; p <= parameters; ++p)
        for (int32_t e = 1; e <= events; ++e) f.PristineData(e, p) = value(e, p);
    f.WorkingData.resize(events, parameters);
    std::fill(f.WorkingData.raw().begin(), f.WorkingData.raw().end(), -12345.0f);
    f.CompensationMatrix.resize(parameters, parameters);
    return f;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(Compensation, SubtractsSharesOfTheUncompensatedValues) {
    FileRecord f = makeRecord(1, 2, [](int32_t, int32_t p) { return p == 1 ? 1000.0f : 400.0f; });
    f.CompensationMatrix(1, 2) = 0.15f;
    f.CompensationMatrix(2, 1) = 0.02f;
    f.CompensationOn = true;
    ApplyCompensation(f);
    EXPECT_FLOAT_EQ(f.WorkingData(1, 1), 992.0f);
    EXPECT_FLOAT_EQ(f.WorkingData(1, 2), 250.0f);
    // The pristine values are never touched.
    EXPECT_EQ(f.PristineData(1, 1), 1000.0f);
    EXPECT_EQ(f.PristineData(1, 2), 400.0f);

    // Off again: the working data is the pristine data, bit for bit.
    f.CompensationOn = false;
    ApplyCompensation(f);
    EXPECT_TRUE(sameBits(f.WorkingData(1, 1), 1000.0f));
    EXPECT_TRUE(sameBits(f.WorkingData(1, 2), 400.0f));
}

// Many events (more than one processing block), every coefficient non-zero,
// the diagonal included: the result must equal the plain triple loop with a
// 32-bit rounding after each subtraction, in the order i, j, e.
TEST(Compensation, MatchesThePlainLoopOrderOverManyEvents) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> values(-500.0f, 260000.0f);
    std::uniform_real_distribution<float> shares(-0.3f, 0.3f);
    const int32_t events = 10007, parameters = 5;
    std::vector<float> stored(static_cast<size_t>(events + 1) * (parameters + 1));
    for (float& v : stored) v = values(rng);
    FileRecord f = makeRecord(events, parameters, [&](int32_t e, int32_t p) {
        return stored[static_cast<size_t>(p) * (events + 1) + e];
    });
    for (int32_t i = 1; i <= parameters; ++i)
        for (int32_t j = 1; j <= parameters; ++j) f.CompensationMatrix(i, j) = shares(rng);
    f.CompensationMatrix(2, 3) = 0.0f;  // a zero share subtracts nothing
    f.CompensationOn = true;
    ApplyCompensation(f);

    EventMatrix<float> expected = f.PristineData;
    for (int32_t i = 1; i <= parameters; ++i)
        for (int32_t j = 1; j <= parameters; ++j)
            for (int32_t e = 1; e <= events; ++e)
                expected(e, j) = static_cast<float>(static_cast<double>(expected(e, j)) -
                                                    static_cast<double>(f.CompensationMatrix(i, j)) *
                                                        static_cast<double>(f.PristineData(e, i)));
    for (int32_t p = 1; p <= parameters; ++p)
        for (int32_t e = 1; e <= events; ++e)
            ASSERT_TRUE(sameBits(f.WorkingData(e, p), expected(e, p))) << "event " << e << " parameter " << p;
}

// Only events 1..EventCount and parameters 1..ParameterCount are rebuilt;
// index 0 and the events beyond the ones in use keep what they held.
TEST(Compensation, LeavesIndexZeroAndEventsBeyondTheCountAlone) {
    FileRecord f = makeRecord(6, 3, [](int32_t e, int32_t p) { return static_cast<float>(e * 10 + p); });
    f.EventCount = 4;
    f.CompensationMatrix(1, 3) = 0.5f;
    f.CompensationOn = true;
    ApplyCompensation(f);
    for (int32_t p = 0; p <= 3; ++p) EXPECT_EQ(f.WorkingData(0, p), -12345.0f) << p;
    for (int32_t e = 0; e <= 6; ++e) EXPECT_EQ(f.WorkingData(e, 0), -12345.0f) << e;
    for (int32_t e = 5; e <= 6; ++e)
        for (int32_t p = 1; p <= 3; ++p) EXPECT_EQ(f.WorkingData(e, p), -12345.0f) << e << "," << p;
    EXPECT_EQ(f.WorkingData(4, 1), 41.0f);
    EXPECT_EQ(f.WorkingData(4, 3), 43.0f - 0.5f * 41.0f);
}

// Records whose pieces do not agree in size (a matrix smaller than the
// parameter count, missing working data, counts beyond the matrices) are
// handled inside their bounds; the sanitized build checks no stray access.
TEST(Compensation, MismatchedShapesStayInBounds) {
    struct Case {
        const char* what;
        int32_t matrixTop;      // compensation matrix 0..matrixTop square (-1: empty)
        int32_t eventCount;     // set after building
        int32_t parameterCount;
        bool dropWorking;
    };
    const Case cases[] = {
        {"matrix smaller than the parameters", 1, 5, 3, false},
        {"no matrix", -1, 5, 3, false},
        {"working data missing", 3, 5, 3, true},
        {"counts beyond the matrices", 3, 50, 9, false},
        {"no events", 3, 0, 3, false},
        {"negative counts", 3, -4, -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileRecord f = makeRecord(5, 3, [](int32_t e, int32_t p) { return static_cast<float>(e + p); });
        if (c.matrixTop < 0) f.CompensationMatrix = EventMatrix<float>{};
        else f.CompensationMatrix.resize(c.matrixTop, c.matrixTop);
        if (c.matrixTop >= 1) f.CompensationMatrix(1, 1) = 0.25f;
        if (c.dropWorking) f.WorkingData = EventMatrix<float>{};
        f.EventCount = c.eventCount;
        f.ParameterCount = c.parameterCount;
        f.CompensationOn = true;
        ApplyCompensation(f);
        ASSERT_EQ(f.WorkingData.maxEvent(), 5);
        ASSERT_EQ(f.WorkingData.maxColumn(), 3);
        if (c.eventCount >= 1 && c.parameterCount >= 3) {
            EXPECT_EQ(f.WorkingData(2, 3), 5.0f);
            EXPECT_EQ(f.WorkingData(2, 1), c.matrixTop >= 1 ? 3.0f - 0.25f * 3.0f : 3.0f);
        }
    }
}

}  // namespace
}  // namespace qv
