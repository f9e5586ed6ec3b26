#include "core/AxisScaling.h"

#include <algorithm>
#include <climits>
#include <type_traits>

#include "core/SharedState.h"
#include "core/VectorState.h"

namespace qv {

const double AxisScale::kLn10 = std::log(10.0);

// The range whose log axis is shifted and floored so that values near zero
// and small negative values stay on it.
static constexpr int32_t kShiftedLogRange = 262144;

double Log10(double x) { return x > 0.0 ? std::log(x) / AxisScale::kLn10 : 0.0; }

double LogChannel(double x, double c) { return x <= 1.0 ? 1.0 : Log10(x) * c; }

namespace {

// Whole number nearest to x, half to even, for values known to be in range.
int32_t nearestWhole(double x) {
    const double down = std::floor(x);
    const double diff = x - down;
    double r = down;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0)) r = down + 1.0;
    return static_cast<int32_t>(r);
}

struct LogConstants {
    int32_t cpd = 0;     // channels per decade
    int32_t shift = 0;
    int32_t offset = 0;
};

// Only for range > 1, where log10(range) > 0 and the ratio is finite.
LogConstants logConstants(int32_t range, int16_t logShift, int32_t logAxisFloor) {
    LogConstants k;
    k.cpd = nearestWhole(static_cast<double>(range) / Log10(static_cast<double>(range)));
    if (range == kShiftedLogRange) {
        k.shift = logShift;
        k.offset = nearestWhole(LogChannel(static_cast<double>(logAxisFloor), k.cpd));
    }
    return k;
}

template <class Out>
inline Out convertPosition(double position) {
    if constexpr (std::is_same_v<Out, int32_t>) {
        // Positions are never negative or NaN here.
        return position >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(position);
    } else {
        return static_cast<Out>(position);
    }
}

template <class Out>
size_t scaleColumn(const FileRecord& record, int16_t parameter, double length,
                   int32_t first, int32_t last, int32_t step, std::span<Out> out) {
    if (step < 1) step = 1;
    if (first < 0) first = 0;
    const EventMatrix<float>& m = record.WorkingData;
    if (m.empty() || parameter < 0 || parameter > m.maxColumn() ||
        static_cast<size_t>(parameter) >= record.Parameters.size())
        return 0;
    last = std::min(last, m.maxEvent());
    const size_t count = std::min(SampledEventCount(first, last, step), out.size());
    if (count == 0) return 0;

    const AxisScale scale = AxisScale::forParameter(record.Parameters[static_cast<size_t>(parameter)], length);
    const float* column = m.column(parameter);
    Out* dst = out.data();
    if (scale.kind() == AxisScale::Kind::Zero) {
        std::fill(dst, dst + count, Out(0));
        return count;
    }
    // One tight loop per kind of axis.
    const float* p = column + first;
    if (scale.kind() == AxisScale::Kind::Log) {
        ClearUpperVectorHalves();  // one logarithm per event
        for (size_t n = 0; n < count; ++n, p += step) dst[n] = convertPosition<Out>(scale.logPosition(*p));
    } else {
        for (size_t n = 0; n < count; ++n, p += step) dst[n] = convertPosition<Out>(scale.linearPosition(*p));
    }
    return count;
}

}  // namespace

AxisScale::AxisScale(bool isLog, int32_t range, double length, bool foldNegatives,
                     int16_t logShift, int32_t logAxisFloor)
    : fold_(foldNegatives), length_(length) {
    if (!isLog) {
        if (range == 0) return;  // no scale: everything at 0
        kind_ = Kind::Linear;
        range_ = range;
        return;
    }
    if (range <= 1) return;  // log10 of the range would be 0 or undefined
    const LogConstants k = logConstants(range, logShift, logAxisFloor);
    kind_ = Kind::Log;
    range_ = range;
    cpd_ = k.cpd;
    shift_ = static_cast<float>(k.shift);
    offset_ = k.offset;
    span_ = static_cast<double>(range) - k.offset;
}

AxisScale AxisScale::forParameter(const ParameterInfo& parameter, double length) {
    return AxisScale(parameter.IsLog, parameter.Range, length, g.UseNegativeAbs, g.LogShift, g.LogAxisFloor);
}

namespace {

// The axis of the last per-event call. Callers scale event after event on
// the same axis, so the constants of a log axis (two more logarithms) are
// worked out once per axis instead of once per event.
struct AxisKey {
    int32_t range = 0;
    int32_t logAxisFloor = 0;
    int16_t logShift = 0;
    uint8_t isLog = 0;
    uint8_t fold = 0;
    bool operator==(const AxisKey&) const = default;
};

struct LastAxis {
    bool valid = false;
    AxisKey key;
    double length = 0.0;
    AxisScale scale;
};

const AxisScale& scaleFor(const ParameterInfo& parameter, double length) {
    thread_local LastAxis last;
    const AxisKey key{parameter.Range, g.LogAxisFloor, g.LogShift, static_cast<uint8_t>(parameter.IsLog),
                      static_cast<uint8_t>(g.UseNegativeAbs)};
    if (!last.valid || !(last.key == key) || last.length != length) {
        last.key = key;
        last.length = length;
        last.scale = AxisScale::forParameter(parameter, length);
        last.valid = true;
    }
    return last.scale;
}

}  // namespace

double ScaleEventToAxis(const FileRecord& record, int32_t event, int16_t parameter, double length) {
    const EventMatrix<float>& m = record.WorkingData;
    if (!m.contains(event, parameter) || static_cast<size_t>(parameter) >= record.Parameters.size()) return 0.0;
    const AxisScale& scale = scaleFor(record.Parameters[static_cast<size_t>(parameter)], length);
    const float v = scale.folded(m(event, parameter));
    switch (scale.kind()) {
    case AxisScale::Kind::Log:
        return scale.logOfFolded(v);
    case AxisScale::Kind::Linear:
        return scale.linearOfFolded(v);
    default:
        return 0.0;
    }
}

size_t SampledEventCount(int32_t first, int32_t last, int32_t step) {
    if (step < 1) step = 1;
    if (last < first) return 0;
    return static_cast<size_t>((static_cast<int64_t>(last) - first) / step) + 1;
}

size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<double> out) {
    return scaleColumn(record, parameter, length, first, last, step, out);
}

size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<float> out) {
    return scaleColumn(record, parameter, length, first, last, step, out);
}

size_t ScaleEventsToAxis(const FileRecord& record, int16_t parameter, double length,
                         int32_t first, int32_t last, int32_t step, std::span<int32_t> out) {
    return scaleColumn(record, parameter, length, first, last, step, out);
}

double ScaleValueToAxis(int32_t value, int32_t range, double length) {
    if (range <= 1) return 0.0;
    const LogConstants k = logConstants(range, g.LogShift, g.LogAxisFloor);
    // Summed wide, so a value near the 32-bit limit cannot overflow.
    const double x = static_cast<double>(static_cast<int64_t>(k.shift) + value);
    const double channel = x <= 1.0 ? 1.0 : std::log(x) / AxisScale::kLn10 * k.cpd;
    const double r = (channel - k.offset) / (static_cast<double>(range) - k.offset) * length;
    return (r > 0.0 && r <= AxisScale::kMaxPosition) ? r : 0.0;
}

}  // namespace qv
