#include "fileutils/model/WellPlate.h"

#include <algorithm>
#include <cctype>

namespace qv {

char RowLetter(int row) { return static_cast<char>('A' + row - 1); }

std::string WellLabel(int well) { return RowLetter(WellRow(well)) + std::to_string(WellColumn(well)); }

std::array<std::string, 3> WellCodes(int row, int column) {
    const std::string r(1, RowLetter(row));
    const std::string c = std::to_string(column);
    const std::string c2 = column < 10 ? "0" + c : c;
    return {"_" + r + c + "_", r + c2 + "_", "_" + r + c2};
}

std::vector<int> WellsOfName(const std::string& name) {
    // Byte-wise upper case: only the ASCII letters of the codes matter.
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char ch) {
        return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : static_cast<char>(ch);
    });
    std::vector<int> wells;
    for (int row = 1; row <= PlateRows; ++row)
        for (int column = 1; column <= PlateColumns; ++column) {
            const std::array<std::string, 3> codes = WellCodes(row, column);
            if (std::any_of(codes.begin(), codes.end(),
                            [&](const std::string& code) { return upper.find(code) != std::string::npos; }))
                wells.push_back(WellNumber(row, column));
        }
    return wells;
}

WellFiles AssignWells(const std::string& folder, const std::vector<std::string>& names) {
    WellFiles files{};
    for (const std::string& name : names)
        for (int well : WellsOfName(name)) files[static_cast<size_t>(well)] = folder + name;
    return files;
}

}  // namespace qv
