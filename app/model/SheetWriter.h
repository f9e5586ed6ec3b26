#pragma once
// The text of an analysis sheet, the autosave file and an analysis package:
// every line in its fixed order, each ended by CR LF. Widget-free: the main
// window gathers the windows' settings lines and the service windows' blocks
// and hands them over as plain values.
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/SharedState.h"

namespace qv {

// The three ways the workspace is written: "Autosave", "Sheet", "Paketti"
// (a package), compared exactly.
enum class SheetMode { Autosave, Sheet, Package };
std::optional<SheetMode> SheetModeOf(std::string_view mode);

// One window in use: its registry slot, its type name and what its
// SaveInfo returned (element 0 the count, then "key:value" lines).
struct SheetWindowBlock {
    int id = 0;
    std::string type;
    std::vector<std::string> info;
};

// One loaded data file: a sheet names it by its full path, a package by its
// name alone and the length of its bytes appended after "content:".
struct SheetFileEntry {
    int slot = 0;
    std::string path;     // Folder followed by FileName
    std::string name;     // FileName
    int64_t length = 0;   // packages only
};

struct SheetContent {
    SheetMode mode = SheetMode::Sheet;
    std::string versionText;
    std::string date;
    int maxPopulations = DefaultMaxPopulations;
    int maxDefinitions = DefaultMaxDefinitions;
    const std::array<PopulationRecord, PopulationTableSize>* populations = nullptr;
    std::vector<SheetFileEntry> files;  // in slot order
    std::vector<SheetWindowBlock> windows;  // in slot order
    bool printViewVisible = false;
    std::vector<std::string> printViewInfo;  // the print page's SaveInfo; empty when it has none
    bool fileInfoVisible = false;
    std::vector<std::string> fileInfoInfo;   // written only while fileInfoVisible
};

// A window's or service window's settings that cannot be written: a count
// that is not a number or names more lines than were given.
class SheetWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every line of the sheet up to and including the final empty line. A
// package's "content:" and data are the caller's to append. Throws
// SheetWriteError for a settings block that cannot be written.
std::string SheetText(const SheetContent& content);

// The marker that starts a package's data, right after the sheet's last line.
inline constexpr std::string_view PackageDataMarker = "content:";

}  // namespace qv
