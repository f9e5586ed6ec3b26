#pragma once
// In-memory file records for the dot plot tests: a few parameters with
// chosen ranges and events with chosen values, membership columns for every
// population and definition slot.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/SharedState.h"

namespace qv::test {

struct ParamSpec {
    std::string name;
    int32_t range;
    bool isLog = false;
};

// events[i] holds the values of event i + 1 for parameters 1..P.
inline FileRecord MakeFile(const std::vector<ParamSpec>& params, const std::vector<std::vector<float>>& events,
                           const std::string& name = "sample.fcs", const std::string& folder = "/data/") {
    FileRecord f;
    f.Loaded = true;
    f.FcsVersionText = "FCS3.0";
    f.VersionNumber = 3;
    f.FileName = name;
    f.Folder = folder;
    f.FileKey = 4711;
    f.ParameterCount = static_cast<int32_t>(params.size());
    f.Parameters.assign(params.size() + 1, ParameterInfo{});
    for (size_t p = 0; p < params.size(); ++p) {
        f.Parameters[p + 1].Name = params[p].name;
        f.Parameters[p + 1].Range = params[p].range;
        f.Parameters[p + 1].IsLog = params[p].isLog;
    }
    const int32_t count = static_cast<int32_t>(events.size());
    f.EventsLoaded = count;
    f.EventCount = count;
    f.PristineData.resize(count, f.ParameterCount);
    for (int32_t e = 1; e <= count; ++e)
        for (int32_t p = 1; p <= f.ParameterCount && p <= static_cast<int32_t>(events[static_cast<size_t>(e - 1)].size()); ++p)
            f.PristineData(e, p) = events[static_cast<size_t>(e - 1)][static_cast<size_t>(p - 1)];
    f.WorkingData = f.PristineData;
    f.Membership.resize(count, g.membershipSlots());
    return f;
}

// A file of `count` events whose two parameters (range 1024) carry the same
// value for every event.
inline FileRecord MakeUniformFile(int32_t count, float x, float y) {
    std::vector<std::vector<float>> events(static_cast<size_t>(count), std::vector<float>{x, y});
    return MakeFile({{"FSC", 1024}, {"SSC", 1024}}, events);
}

// Puts `file` into FileTable slot `slot` and returns a reference to it there.
inline FileRecord& PutFile(int slot, FileRecord file) {
    g.FileTable[static_cast<size_t>(slot)] = std::move(file);
    return g.FileTable[static_cast<size_t>(slot)];
}

// A polygon population in `slot` on parameters (ax, ay), corners in plot space.
inline PopulationRecord& PutPolygon(int slot, int ax, int ay, std::initializer_list<std::pair<float, float>> corners,
                                    const std::string& name = {}) {
    PopulationRecord& p = g.PopulationTable[static_cast<size_t>(slot)];
    p.InUse = true;
    p.Type = "Polygon";
    p.AxisX = static_cast<int16_t>(ax);
    p.AxisY = static_cast<int16_t>(ay);
    p.Corners = 0;
    for (const auto& c : corners) {
        ++p.Corners;
        p.CornerX[static_cast<size_t>(p.Corners)] = c.first;
        p.CornerY[static_cast<size_t>(p.Corners)] = c.second;
    }
    p.Name = name.empty() ? "Poly-" + std::to_string(slot) : name;
    return p;
}

// Membership column `slot` of a file, events 1..EventCount.
inline std::vector<int> MembershipColumn(const FileRecord& file, int slot) {
    std::vector<int> out;
    for (int e = 1; e <= file.EventCount; ++e) out.push_back(file.Membership(e, slot));
    return out;
}

// ... of the file in FileTable slot `fileSlot`.
inline std::vector<int> MembershipColumn(int fileSlot, int slot) {
    return MembershipColumn(g.FileTable[static_cast<size_t>(fileSlot)], slot);
}

}  // namespace qv::test
