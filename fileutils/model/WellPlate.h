#pragma once
// A folder seen as a 96-well plate: which wells a file name fills, and which
// file each well holds after a scan of the folder's names.
#include <array>
#include <string>
#include <vector>

namespace qv {

inline constexpr int PlateRows = 8;
inline constexpr int PlateColumns = 12;
inline constexpr int PlateWells = PlateRows * PlateColumns;

// Row letter of row 1..8: "A".."H".
char RowLetter(int row);
// Well number 1..96, counted row by row.
inline int WellNumber(int row, int column) { return (row - 1) * PlateColumns + column; }
inline int WellRow(int well) { return (well - 1) / PlateColumns + 1; }
inline int WellColumn(int well) { return (well - 1) % PlateColumns + 1; }
// The label drawn in a well: row letter and column, "A1" .. "H12".
std::string WellLabel(int well);

// The three forms of a well's code that a file name may carry, for A1:
// "_A1_", "A01_" and "_A01".
std::array<std::string, 3> WellCodes(int row, int column);

// The wells (1..96, ascending) whose code occurs in the upper-cased name.
std::vector<int> WellsOfName(const std::string& name);

// The file each well holds: index 1..96 the full path (folder & name),
// "" for an empty well; index 0 stays empty. `names` are taken in the order
// given, so when several fit one well the last one listed stays.
using WellFiles = std::array<std::string, PlateWells + 1>;
WellFiles AssignWells(const std::string& folder, const std::vector<std::string>& names);

}  // namespace qv
