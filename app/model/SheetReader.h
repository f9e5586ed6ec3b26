#pragma once
// Taking an analysis sheet or package apart. Widget-free: the text is parsed
// into what the sheet holds (version, populations, files, window blocks, the
// service windows' lines), with every slot, index and number checked against
// the tables, so that the main window only acts on sound entries. Lines that
// name a slot outside the tables, numbers that do not read, unknown keys and
// a second block for one window slot are left out here.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SharedState.h"

namespace qv {

// The capacities the sheet is read against (the running program's).
struct SheetLimits {
    int maxPopulations = DefaultMaxPopulations;
    int maxDefinitions = DefaultMaxDefinitions;
    int maxFiles = DefaultMaxFiles;
    int maxWindows = DefaultMaxWindows;
};

// A line of the sheet that is to reach a population or definition slot.
struct SheetSlotLine {
    int slot = 0;
    std::vector<std::string> keys;  // key words from 2 on
    std::string value;
};

// A data file named by the sheet, in line order.
struct SheetFile {
    int slot = 0;
    std::string path;  // sheets: the full path
    // Packages: the file's plain name and where its bytes lie in the package.
    std::string name;
    size_t offset = 0;
    int64_t length = -1;
    bool refused = false;  // a length that is negative or runs past the end
};

// One window block: the slot, the type name and its settings lines whole.
struct SheetWindow {
    int id = 0;
    std::string type;
    std::vector<std::string> lines;
};

struct ParsedSheet {
    bool hasVersion = false;
    int versionMajor = 0, versionMinor = 0;
    // False when the version's major or minor starts with a number out of range.
    bool versionReadable = true;
    bool package = false;
    // Packages: where the data starts (just behind the marker), npos without one.
    size_t dataOffset = std::string::npos;
    std::vector<SheetSlotLine> populationLines;  // populations and definitions, in line order
    std::vector<SheetFile> files;
    std::vector<SheetWindow> windows;
    std::optional<bool> printViewVisible;
    std::vector<std::string> printViewLines;
    std::optional<bool> fileInfoVisible;
    std::vector<std::string> fileInfoLines;
};

// Parses the sheet's bytes. `isKnownKind` says which window type names this
// program can make; a block of any other type is left out.
ParsedSheet ParseSheet(std::string_view bytes, const SheetLimits& limits,
                       const std::function<bool(const std::string&)>& isKnownKind);

// True when the sheet was written by a later version than major.minor, or
// a piece of its version starts with a number out of range (as a sheet of
// a later version, it cannot be told apart from one). A piece that does not
// start with a number reads as 0: "abc.def" is version 0.0.
bool SheetIsNewer(const ParsedSheet& sheet, int major, int minor);

// The first name of a package's files that is not a plain file name (holds a
// "/" or "\", is empty, "." or ".."); nullopt when every name is sound.
std::optional<std::string> UnsafePackageName(const ParsedSheet& sheet);

// Applies the population and definition lines to the table: a slot with
// lines first gets its start value (ResetPopulationSlot), then each line
// marks it in use and sets the field it names. Slots without lines keep
// their values. Values that do not read or do not fit the field are ignored.
void ApplyPopulationLines(const ParsedSheet& sheet, std::array<PopulationRecord, PopulationTableSize>& table,
                          const SheetLimits& limits);

// A name beside `wanted` in a folder for an extracted package file: the name
// itself, then "base (2).ext", "base (3).ext", ... `candidate(k)` for k = 1
// gives the name itself.
std::string PackageCopyName(const std::string& wanted, int k);

}  // namespace qv
