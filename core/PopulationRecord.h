#pragma once
// One gate (population) or definition of the population table.
#include <array>
#include <cstdint>
#include <string>

namespace qv {

constexpr int MaxCorners = 50;

struct PopulationRecord {
    int16_t Corners = 0;
    std::array<float, MaxCorners + 1> CornerX{};  // PlotSpace, corners 1..Corners
    std::array<float, MaxCorners + 1> CornerY{};
    std::string Name;          // gate name, or a definition's expression
    int32_t LabelBaseX = 0;    // recomputed at every drawing, not saved
    int32_t LabelBaseY = 0;
    int32_t TitleX = 0;        // label offset from the anchor
    int32_t TitleY = 0;
    bool InUse = false;
    int16_t AxisX = 0;
    int16_t AxisY = 0;
    int16_t DraftWindow = 0;   // only in DraftRegion
    std::string Type;          // "Polygon", "Histogram", "BendPlot", "DAD"; empty for definitions
    uint8_t ColorRed = 0;
    uint8_t ColorGreen = 0;
    uint8_t ColorBlue = 0;
    bool Transparent = false;
    int16_t Created = 0;       // ID of the window that drew the gate
};

}  // namespace qv
