#pragma once
// The file the drawing benchmarks share: 1,000,000 events of two
// parameters, normal on linear axes (Range 1024) or log-normal on log axes
// (Range 262144), each event in one of four populations and every third in
// a definition. Made once per kind and kept for the run.
#include <random>

#include "core/SharedState.h"

namespace qv::bench {

inline constexpr int32_t kMillionEvents = 1000000;

inline FileRecord& MillionEventFile(bool log) {
    static FileRecord files[2];
    FileRecord& f = files[log ? 1 : 0];
    if (f.Loaded) return f;
    f.Loaded = true;
    f.FileName = "million.fcs";
    f.ParameterCount = 2;
    f.Parameters.assign(3, ParameterInfo{});
    for (int p = 1; p <= 2; ++p) {
        f.Parameters[p].Name = p == 1 ? "FL1-H" : "FL2-H";
        f.Parameters[p].Range = log ? 262144 : 1024;
        f.Parameters[p].IsLog = log;
    }
    f.EventCount = f.EventsLoaded = kMillionEvents;
    f.WorkingData.resize(kMillionEvents, 2);
    std::mt19937 rng(7);
    std::lognormal_distribution<float> logv(6.0f, 1.5f);
    std::normal_distribution<float> linv(400.0f, 120.0f);
    for (int32_t e = 1; e <= kMillionEvents; ++e)
        for (int p = 1; p <= 2; ++p) f.WorkingData(e, p) = log ? logv(rng) : linv(rng);
    f.Membership.resize(kMillionEvents, g.membershipSlots());
    for (int32_t e = 1; e <= kMillionEvents; ++e) {
        f.Membership(e, 1 + e % 4) = 1;            // four populations
        if (e % 3 == 0) f.Membership(e, 17) = 1;   // one definition
    }
    return f;
}

}  // namespace qv::bench
