#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "core/PolygonTest.h"

namespace qv {
namespace {

using Corners = std::vector<PolygonCorner>;

// The crossing count exactly as described for the gate test: a plain loop
// over every edge for every point, no banding.
bool referenceInside(double px, double py, const Corners& poly) {
    if (poly.size() < 3) return false;
    unsigned count = 0;
    for (size_t k = 0; k < poly.size(); ++k) {
        const PolygonCorner a = poly[k], b = poly[(k + 1) % poly.size()];
        const double ymin = std::min<double>(a.Y, b.Y), ymax = std::max<double>(a.Y, b.Y);
        const double xmin = std::min<double>(a.X, b.X);
        if (!(ymin < py && py < ymax)) continue;
        if (px < xmin) { ++count; continue; }
        const PolygonCorner lo = a.Y < b.Y ? a : b, hi = a.Y < b.Y ? b : a;
        const double x = lo.X + (py - lo.Y) * (static_cast<double>(hi.X) - lo.X) / (static_cast<double>(hi.Y) - lo.Y);
        if (px < x) ++count;
    }
    return (count & 1u) != 0;
}

bool inside(float x, float y, const Corners& poly) {
    const std::vector<PlotPoint> points = {{}, {x, y}};
    const std::vector<uint8_t> r = PointsInPolygon(points, poly);
    EXPECT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], 0);
    return r[1] == 1;
}

const Corners kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Corners kDiamond = {{5, 0}, {10, 5}, {5, 10}, {0, 5}};

TEST(PolygonTest, TiesOnCornersAndEdges) {
    struct Case { const char* shape; const Corners* poly; float x, y; bool in; };
    const Case cases[] = {
        {"square", &kSquare, 5, 5, true},
        {"square", &kSquare, 15, 5, false},
        {"square", &kSquare, 5, 15, false},
        {"square", &kSquare, 0, 5, true},      // left boundary: inside
        {"square", &kSquare, 10, 5, false},    // right boundary: outside
        {"square", &kSquare, 5, 0, false},     // on a horizontal edge: no crossing
        {"square", &kSquare, 5, 10, false},
        {"square", &kSquare, 0, 0, false},     // a corner
        {"square", &kSquare, -0.001f, 5, false},
        {"square", &kSquare, 9.999f, 9.999f, true},
        {"diamond", &kDiamond, 2, 5, false},   // level with two corners
        {"diamond", &kDiamond, 2, 5.5f, true},
        {"diamond", &kDiamond, 5, 5, false},   // also level with the corners
        {"diamond", &kDiamond, 2.5f, 2.5f, true},   // on the lower-left edge: inside
        {"diamond", &kDiamond, 7.5f, 2.5f, false},  // on the lower-right edge: outside
        {"diamond", &kDiamond, 5, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shape << " (" << c.x << ", " << c.y << ")");
        EXPECT_EQ(inside(c.x, c.y, *c.poly), c.in);
        EXPECT_EQ(PointInPolygon(c.x, c.y, *c.poly), c.in);
    }
}

TEST(PolygonTest, TooFewCornersAndPointsThatAreNotNumbers) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Corners& poly : {Corners{}, Corners{{0, 0}}, Corners{{0, 0}, {10, 10}},
                                Corners{{0, 5}, {10, 5}, {20, 5}}}) {  // all corners level: no area
        SCOPED_TRACE(poly.size());
        EXPECT_FALSE(inside(5, 5, poly));
        EXPECT_FALSE(inside(5, 4, poly));
    }
    EXPECT_FALSE(inside(nan, 5, kSquare));
    EXPECT_FALSE(inside(5, nan, kSquare));
    EXPECT_FALSE(inside(inf, 5, kSquare));
    EXPECT_TRUE(inside(-inf, 5, kSquare) == referenceInside(-inf, 5, kSquare));
    EXPECT_FALSE(inside(5, inf, kSquare));

    // No points at all, or only point 0: a result of one zero element.
    EXPECT_EQ(PointsInPolygon(std::vector<PlotPoint>{}, kSquare), std::vector<uint8_t>{0});
    EXPECT_EQ(PointsInPolygon(std::vector<PlotPoint>{{5, 5}}, kSquare), std::vector<uint8_t>{0});
}

TEST(PolygonTest, PlotSpaceCornersBecomeWholeNumbers) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case { float in; int32_t out; };
    const Case cases[] = {{2.5f, 2}, {3.5f, 4}, {-2.5f, -2}, {2.4f, 2}, {9999.6f, 10000}, {0.0f, 0},
                          {nan, 0}, {inf, 1000000000}, {-inf, -1000000000}, {3e38f, 1000000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(PolygonCornerFromPlotSpace(c.in, 1.0f).X, c.out);
        EXPECT_EQ(PolygonCornerFromPlotSpace(1.0f, c.in).Y, c.out);
    }
}

// A comb of `teeth` gaps cut down from the top: a band across the gaps
// crosses 2 * teeth + 2 edges.
Corners comb(int teeth) {
    Corners c = {{0, 0}, {100, 0}, {100, 100}};
    const int w = 100 / (2 * teeth + 1);
    for (int t = 0; t < teeth; ++t) {
        const int right = 100 - (2 * t + 1) * w, left = right - w;
        c.insert(c.end(), {{right, 100}, {right, 20 + 5 * t}, {left, 20 + 5 * t}, {left, 100}});
    }
    c.push_back({0, 100});
    return c;
}

// Concave, self-crossing and extreme polygons, points on a grid that hits
// corner levels, edges and corners, plus random points: the result must be
// the plain edge-by-edge count, in both call forms.
TEST(PolygonTest, AgreesWithThePlainEdgeCountOnHardShapes) {
    std::vector<Corners> shapes = {
        {{0, 0}, {100, 0}, {100, 100}, {70, 100}, {70, 30}, {30, 30}, {30, 100}, {0, 100}},  // U
        {{0, 0}, {100, 100}, {100, 0}, {0, 100}},                                             // bow tie
        {{10, 0}, {20, 50}, {10, 100}, {0, 50}, {10, 50}, {5, 20}},                            // spiky, a corner level with another
        {{0, 0}, {40, 0}, {40, 40}, {20, 40}, {20, 20}, {60, 20}, {60, 60}, {0, 60}},          // self-overlapping
        {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}},
        {{0, 0}, {0, 0}, {50, 0}, {50, 50}, {50, 50}, {0, 50}},                                // repeated corners
        // many corner levels close together below one far away: one slice of
        // the height holds them all
        {{0, 0}, {100, 1}, {10, 2}, {90, 3}, {20, 5}, {80, 8}, {30, 13}, {100, 1000000000}, {-5, 1000000000}},
    };
    for (int teeth = 1; teeth <= 6; ++teeth) shapes.push_back(comb(teeth));
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> any(-20.0f, 120.0f);
    for (const Corners& poly : shapes) {
        std::vector<PlotPoint> points(1);
        for (int x = -10; x <= 110; x += 5)
            for (int y = -10; y <= 110; y += 5) points.push_back({static_cast<float>(x), static_cast<float>(y)});
        for (int k = 0; k < 3000; ++k) points.push_back({any(rng), any(rng)});
        const std::vector<uint8_t> result = PointsInPolygon(points, poly);
        ASSERT_EQ(result.size(), points.size());
        EXPECT_EQ(result[0], 0);

        std::vector<float> xs, ys;
        for (size_t i = 1; i < points.size(); ++i) { xs.push_back(points[i].X); ys.push_back(points[i].Y); }
        std::vector<uint8_t> flat(xs.size(), 7);
        PointsInPolygon(xs.data(), ys.data(), xs.size(), poly, flat.data());

        int insideCount = 0;
        for (size_t i = 1; i < points.size(); ++i) {
            const bool expected = referenceInside(points[i].X, points[i].Y, poly);
            ASSERT_EQ(result[i] == 1, expected) << "corners " << poly.size() << " point (" << points[i].X << ", "
                                                << points[i].Y << ")";
            ASSERT_EQ(flat[i - 1], result[i]);
            insideCount += expected;
        }
        EXPECT_GT(insideCount, 0);  // every shape holds some of the points
    }
}

}  // namespace
}  // namespace qv
