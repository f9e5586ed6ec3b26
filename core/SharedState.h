#pragma once
// The program's shared settings, limits and tables, in one place. Every run
// starts from the same values (nothing is read from settings storage);
// `resetSharedState()` gives them their start values.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "core/PopulationRecord.h"
#include "core/WindowRecord.h"

namespace qv {

struct Rgb {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Capacities fixed for the run (tables are sized once from these).
inline constexpr int16_t DefaultMaxWindows = 50;
inline constexpr int16_t DefaultMaxFiles = 20;
inline constexpr int16_t DefaultMaxPopulations = 16;
inline constexpr int16_t DefaultMaxDefinitions = 16;
inline constexpr int PopulationTableSize = 101;  // slots 0..100

// Default colours of population slots 1..32 (populations 1..16, definitions 17..32).
inline constexpr std::array<Rgb, 33> DefaultPopulationColours = {{
    {0, 0, 0},
    {255, 50, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {120, 120, 120}, {100, 200, 255},
    {255, 200, 100}, {0, 150, 255}, {50, 200, 50}, {255, 255, 150}, {123, 70, 123}, {0, 90, 170},
    {60, 90, 60}, {60, 180, 60}, {120, 255, 120}, {120, 180, 255},
    {255, 0, 255}, {190, 190, 190}, {200, 0, 0}, {200, 180, 100}, {200, 0, 100}, {0, 255, 200},
    {255, 255, 150}, {255, 120, 70}, {190, 190, 190}, {120, 120, 120}, {0, 0, 255}, {120, 130, 190},
    {255, 80, 0}, {250, 220, 210}, {100, 100, 255}, {60, 80, 120},
}};

struct SharedState {
    // Program identity.
    std::array<int16_t, 4> ProgramVersion{0, 1, 2, 1};
    std::string VersionText = "1.2.1";
    std::string ReleaseDate = "19 November 2008";

    // Limits and options.
    int32_t MaxEventsLoaded = 1000000;
    int16_t MaxWindows = DefaultMaxWindows;
    int16_t MaxFiles = DefaultMaxFiles;
    int16_t MaxPopulations = DefaultMaxPopulations;
    int16_t MaxDefinitions = DefaultMaxDefinitions;
    int32_t FastDrawLimit = 50000;
    bool UseNegativeAbs = false;
    int16_t LogShift = 40;
    int32_t LogAxisFloor = 20;
    std::string SelectedPrefix = "[S] ";

    // Tables.
    std::vector<WindowRecord> WindowRegistry;      // 0..MaxWindows
    std::vector<WindowRecord> StatisticsRegistry;  // 0..MaxWindows, only InUse used
    std::vector<FileRecord> FileTable;             // 0..MaxFiles
    std::array<PopulationRecord, PopulationTableSize> PopulationTable{};

    // Pop-up menu exchange and menu counts.
    int16_t ChannelMenuCount = 0, WindowMenuCount = 0, StatisticsMenuCount = 0;
    int16_t PopupOwner = 0, AxisPopupAxis = 0, ChosenChannel = 0;

    // Window state shared between windows.
    int16_t ActiveWindowSlot = 0;
    int16_t LastCopiedWindow = 0;
    int16_t LastLoadedFile = 0;
    int16_t FullRedrawPending = 0;
    bool ShiftHeld = false;
    int32_t DefaultPlotWidth = 0, DefaultPlotHeight = 0;
    // Outer size of the histogram window resized last (twips; 0 = none yet).
    int32_t DefaultHistogramWidth = 0, DefaultHistogramHeight = 0;
    // Outer size of the overlay and of the mirror histogram window resized last.
    int32_t DefaultOverlayWidth = 0, DefaultOverlayHeight = 0;
    int32_t DefaultMirrorWidth = 0, DefaultMirrorHeight = 0;
    // Outer size of the histogram modeller window resized last (twips; 0 = none yet).
    int32_t DefaultModellerWidth = 0, DefaultModellerHeight = 0;

    // Right-hand panel.
    bool PanelCollapsed = true;
    int32_t PanelCollapsedWidth = 150;   // twips
    int32_t PanelExpandedWidth = 4000;   // twips
    bool PanelFrozen = false;
    Rgb PanelColour{200, 200, 200};

    // Run flags.
    bool ProgramClosing = false;
    bool SheetLoading = false;
    bool CopyingStatistics = false;
    bool ToolWindowSmall = true;
    bool ScriptRunning = false;
    int32_t PageWidthBase = 750;
    // The file information window's values are imposed on every loaded file.
    bool GlobalParameterValues = false;

    // Gate editing, one set for the whole program.
    bool RegionDrawMode = false;
    bool GateInProgress = false;
    int16_t DragCornerPopulation = 0, DragCornerIndex = 0, DragMovePopulation = 0, DragLabelPopulation = 0;
    PopulationRecord DraftRegion{};
    // Where the quadrant cross was last dropped in any dot plot (plot space).
    int32_t LastQuadrantX = 0, LastQuadrantY = 0;

    // "Show populations" menu item -> population slot.
    std::array<int16_t, PopulationTableSize> ShowPopulationMap{};

    int membershipSlots() const { return MaxPopulations + MaxDefinitions; }
    int firstDefinitionSlot() const { return MaxPopulations + 1; }
    bool isDefinitionSlot(int slot) const { return slot > MaxPopulations && slot <= membershipSlots(); }
};

// The one instance for the whole run.
extern SharedState g;

// Gives every value its start value, sizes the tables and sets the default
// population colours. Run at start-up (and by tests between cases).
void resetSharedState();

}  // namespace qv
