#pragma once
// The perspective projection of the 3-D plot: a point of the cube (0..size
// on each edge) turned by the three angles and seen from the viewer's
// distance, and the depth cue that dims far points on a dark background.
#include <cmath>

namespace qv {

// Degrees to radians with the program's own value of pi.
inline constexpr double ThreeDPi = 3.14159265358979;
inline double DegreesToRadians(double degrees) { return degrees / 180.0 * ThreeDPi; }

struct ThreeDView {
    double RotateX = 0, RotateY = 0, RotateZ = 0;  // degrees
    double PerspectiveFactor = 850;                // F
    double Distance = 1500;                        // D
    double PictureWidth = 1, PictureHeight = 1;    // W, H
};

struct ProjectedPosition {
    double X = 0, Y = 0, Depth = 0;
};

// The view with its sines and cosines worked out once, for a loop over many
// points.
class ThreeDProjector {
public:
    explicit ThreeDProjector(const ThreeDView& view);

    // Screen position and depth of cube point (x, y, z) in a cube of edge
    // `size`. With all angles 0 a larger x lies right, a larger y higher up
    // and a larger z farther away; a larger depth is nearer the viewer.
    ProjectedPosition project(double x, double y, double z, double size) const {
        const double h = size / 2;
        const double P = h - x, R = h - y, Q = h - z;
        const double T1 = -Q * sx_ - P * cx_;
        const double T2 = Q * cx_ - P * sx_;
        const double T3 = T2 * cy_ - R * sy_;
        const double T4 = R * cy_ + T2 * sy_;
        const double E = -T4 * sz_ - T1 * cz_;
        const double G = T4 * cz_ - T1 * sz_;
        const double denominator = T3 - d_;
        return {halfW_ + f_ * E / denominator, halfH_ - f_ * G / denominator, T3};
    }
    // A point at the viewer's depth or behind it has no picture position.
    bool visible(double depth) const { return depth < d_ - ViewerClearance; }

    // How close in depth a point may come to the viewer and still be drawn.
    static constexpr double ViewerClearance = 1e-3;

private:
    double sx_, cx_, sy_, cy_, sz_, cz_;
    double f_, d_, halfW_, halfH_;
};

inline ProjectedPosition ProjectPoint(const ThreeDView& view, double x, double y, double z, double size) {
    return ThreeDProjector(view).project(x, y, z, size);
}

// Brightness factor of a point at `depth` on the dark background: full at
// depth 166.67 and nearer, black at -388.89 and farther.
inline double DepthCue(double depth) {
    const double f = depth * 0.0018 + 0.7;
    return f > 1 ? 1 : (f < 0 ? 0 : f);
}

}  // namespace qv
