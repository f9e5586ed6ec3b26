#include "output/model/StatisticsTable.h"

#include <algorithm>

namespace qv {

std::string StatisticsCommentLine(const std::string& comment) {
    std::string out;
    for (char c : comment) {
        if (c == '\r') out += ", ";
        else out += c;
    }
    return out;
}

void FillStatisticsTable(StatisticsGrid& grid, const StatisticsTableLayout& layout, const FileRecord& file) {
    // The information texts stand in column 1: a table showing only
    // information rows keeps that one column for them.
    const bool infoRows = layout.fileNameRow || layout.sampleIdRow || layout.commentsRow;
    const int cols = 1 + std::max(static_cast<int>(layout.titles.size()), infoRows ? 1 : 0);
    grid.setCols(cols);
    grid.setRows(1);
    grid.clear();
    const int standardWidth = grid.standardColumnWidth();
    const int rowHeight = grid.rowHeight(0);
    grid.setColWidth(0, StatisticsLabelColumnWidth);

    int row = 0;
    auto addRow = [&]() {
        if (row >= grid.Rows()) grid.setRows(row + 1);
        return row++;
    };

    struct Info {
        bool shown;
        const char* label;
        std::string text;
        bool fileName;
    };
    const Info infos[3] = {{layout.fileNameRow, "File name", " " + file.FileName, true},
                           {layout.sampleIdRow, "Sample ID", " " + file.SampleId, false},
                           {layout.commentsRow, "Comments", " " + StatisticsCommentLine(file.Comment), false}};
    for (const Info& info : infos) {
        if (!info.shown) continue;
        const int r = addRow();
        grid.setText(r, 0, info.label);
        grid.setRowMerge(r, true);
        grid.setRowHoldsFileName(r, info.fileName);
        const int lastColumn = layout.copying ? 1 : cols - 1;
        for (int c = 1; c <= lastColumn; ++c) grid.setText(r, c, info.text);
    }

    const int header = addRow();
    grid.setText(header, 0, layout.corner);
    for (size_t i = 0; i < layout.titles.size(); ++i) grid.setText(header, static_cast<int>(i) + 1, layout.titles[i]);

    for (const StatisticsTableRow& data : layout.rows) {
        const int r = addRow();
        grid.setText(r, 0, data.label);
        for (size_t i = 0; i < data.cells.size() && static_cast<int>(i) + 1 < cols; ++i)
            grid.setText(r, static_cast<int>(i) + 1, data.cells[i]);
    }

    grid.setWidth(StatisticsLabelColumnWidth + (cols - 1) * standardWidth + 100);
    grid.setHeight(grid.Rows() * rowHeight + 380);
}

}  // namespace qv
