#pragma once
// Placing event values on linear and logarithmic plot axes.
//
// A position runs from 0 at the axis start; a value at the parameter's
// Range lands at the full length, values above it beyond the length (there
// is no upper clamp). Negative positions, values that are not numbers and
// positions that would be infinite give 0. Axes whose range cannot carry a
// scale (a linear Range of 0, a log Range of 1 or below) put every value at 0.
//
// The per-event form and the column form compute through the same AxisScale,
// so they give bit-identical positions.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/FileRecord.h"

namespace qv {

// log(x) / log(10) for x > 0; 0 for x <= 0 (and for a NaN).
double Log10(double x);
// 1 when x <= 1, else Log10(x) * c.
double LogChannel(double x, double c);

// The constants of one axis, computed once, so a loop over a million events
// does only the per-value arithmetic.
class AxisScale {
public:
    enum class Kind : uint8_t { Zero, Linear, Log };

    AxisScale() = default;
    // `foldNegatives` is the negative-value option (g.UseNegativeAbs): values
    // below 1 become |value| + 1 before scaling. `logShift` and `logAxisFloor`
    // are the shift and floor of a log axis whose Range is 262144.
    AxisScale(bool isLog, int32_t range, double length, bool foldNegatives,
              int16_t logShift, int32_t logAxisFloor);
    // Parameter p of a file with the program's current options (g).
    static AxisScale forParameter(const ParameterInfo& parameter, double length);

    Kind kind() const { return kind_; }

    // The value after the negative-value option.
    float folded(float value) const {
        return (fold_ && value < 1.0f) ? std::fabs(value) + 1.0f : value;
    }

    double position(float value) const {
        switch (kind_) {
        case Kind::Linear: return linearPosition(value);
        case Kind::Log: return logPosition(value);
        default: return 0.0;
        }
    }
    // position() of a linear and of a log axis, for loops that test the kind
    // once.
    double linearPosition(float value) const { return linearOfFolded(folded(value)); }
    double logPosition(float value) const { return logOfFolded(folded(value)); }

    // The same for a value that has been through folded() already.
    double linearOfFolded(float v) const { return clampPosition(static_cast<double>(v) / range_ * length_); }
    double logOfFolded(float v) const {
        // The shift is added in single precision, as the value is held. The
        // logarithm is taken of at least 1 and the result chosen afterwards,
        // so no branch depends on the value (values at or below 1 are common
        // and come in no order).
        const double x = static_cast<double>(shift_ + v);
#if defined(__SSE2__)
        const __m128d vx = _mm_set_sd(x), one = _mm_set_sd(1.0);
        const double decades = std::log(_mm_cvtsd_f64(_mm_max_sd(vx, one))) / kLn10;  // a NaN gives log(1)
        const __m128d low = _mm_cmple_sd(vx, one);
        const double channel = _mm_cvtsd_f64(
            _mm_or_pd(_mm_and_pd(low, one), _mm_andnot_pd(low, _mm_set_sd(decades * cpd_))));
#else
        const double decades = std::log(x > 1.0 ? x : 1.0) / kLn10;
        const double channel = x <= 1.0 ? 1.0 : decades * cpd_;
#endif
        return clampPosition((channel - offset_) / span_ * length_);
    }
    // Below 0, not a number or infinite: 0. Callers turn positions into
    // whole pixels and bins, which an infinity would overflow.
    static double clampPosition(double r) {
#if defined(__SSE2__)
        // Without a branch: negative positions are common and come in no
        // order. MAXSD gives its second operand, 0, for a NaN.
        const __m128d positive = _mm_max_sd(_mm_set_sd(r), _mm_setzero_pd());
        return _mm_cvtsd_f64(_mm_and_pd(_mm_cmple_sd(positive, _mm_set_sd(kMaxPosition)), positive));
#else
        const double positive = r > 0.0 ? r : 0.0;
        return positive <= kMaxPosition ? positive : 0.0;
#endif
    }

    static const double kLn10;
    static constexpr double kMaxPosition = 1.7976931348623157e308;  // largest finite double

private:
    Kind kind_ = Kind::Zero;
    bool fold_ = false;
    float shift_ = 0.0f;
    double range_ = 1.0;
    double length_ = 0.0;
    double cpd_ = 0.0;     // whole channels per decade (Range / log10(Range), halves to even)
    double offset_ = 0.0;  // channel that sits at the axis start
    double span_ = 1.0;    // Range - offset
};

// Position of WorkingData(event, parameter) of the record on an axis of the
// given length. Like every form below, it never allocates.
// An event or parameter outside the record gives 0.
double ScaleEventToAxis(const FileRecord& record, int32_t event, int16_t parameter, double length);

// Positions of events first, first + step, first + 2 * step, ... up to last
// (inclusive) of one parameter, written to out[0], out[1], ... . The event
// range is cut to the events the matrix holds and to out's size; returns the
// number of positions written. A step below 1 counts as 1. Each position
// equals ScaleEventToAxis of that event (as float for the float output).
size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<double> out);
size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<float> out);
// The same with whole positions: Int (toward minus infinity, so toward 0 for
// these non-negative positions) of each position, held at the largest 32-bit
// number when a position lies beyond it. Histogram bins and density cells
// take exactly this value.
size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<int32_t> out);

// How many events first, first + step, ... <= last there are (0 when none).
size_t SampledEventCount(int32_t first, int32_t last, int32_t step);

// Position of a value on a log axis whose top is range (decade ticks): the
// log formula applied to the value itself (no negative-value option), the
// shift of a 262144 axis added as a whole number. With the negative-value
// option off it equals ScaleEventToAxis of an event holding that value on
// such a log parameter. A range of 1 or below gives 0.
double ScaleValueToAxis(int32_t value, int32_t range, double length);

}  // namespace qv
