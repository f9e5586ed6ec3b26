#pragma once
// The layout every owner's statistics grid shares: the file information
// rows (merged across the table), the header row with the shown column
// titles and the corner text, then one row per statistics record. The owner
// turns its records into cell texts; this writes them into the grid and
// sizes it.
#include <string>
#include <vector>

#include "core/FileRecord.h"
#include "output/model/StatisticsGrid.h"

namespace qv {

// What an owner's statistics grid shows besides its data columns, as the
// statistics window was set: the information rows, whether a copy is being
// made, and the extent of the population table.
struct StatisticsGridChoice {
    bool fileNameRow = false;
    bool sampleIdRow = false;
    bool commentsRow = false;
    bool copying = false;    // a copy is being made: information texts once
    int maxPopulations = 16;
    int maxDefinitions = 16;
};

struct StatisticsTableRow {
    std::string label;
    std::vector<std::string> cells;  // one per shown column; none for a gap row
};

struct StatisticsTableLayout {
    std::vector<std::string> titles;  // titles of the shown data columns, in order
    bool fileNameRow = false;
    bool sampleIdRow = false;
    bool commentsRow = false;
    bool copying = false;             // a copy is being made: information texts once
    std::string corner;               // the header row's first cell
    std::vector<StatisticsTableRow> rows;
};

// Label column width, in twips.
inline constexpr int StatisticsLabelColumnWidth = 1500;

// A file comment on one line: every carriage return becomes ", ".
std::string StatisticsCommentLine(const std::string& comment);

// Rebuilds `grid` from scratch: the shown information rows ("File name",
// "Sample ID", "Comments", each text after a blank, in every data column or
// only the first while copying), the header row, the rows; then sizes the
// grid (1500 twips for the label column plus the standard width per data
// column plus 100, rows times the standard height plus 380). A layout
// without data columns keeps column 1 for the information texts when it
// shows any, else it is a table of labels alone.
void FillStatisticsTable(StatisticsGrid& grid, const StatisticsTableLayout& layout, const FileRecord& file);

}  // namespace qv
