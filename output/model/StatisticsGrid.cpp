#include "output/model/StatisticsGrid.h"

#include <algorithm>

namespace qv {

void StatisticsGrid::resize(int rows, int cols) {
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    if (rows == rows_ && cols == cols_) return;
    std::vector<std::string> cells(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    const int keepRows = std::min(rows, rows_);
    const int keepCols = std::min(cols, cols_);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] =
                std::move(cells_[static_cast<size_t>(r) * static_cast<size_t>(cols_) + static_cast<size_t>(c)]);
    cells_ = std::move(cells);
    colWidths_.resize(static_cast<size_t>(cols), standardColWidth_);
    rowHeights_.resize(static_cast<size_t>(rows), standardRowHeight_);
    rowMerge_.resize(static_cast<size_t>(rows), false);
    rowFileName_.resize(static_cast<size_t>(rows), false);
    rows_ = rows;
    cols_ = cols;
}

void StatisticsGrid::clear() {
    for (std::string& cell : cells_) cell.clear();
    std::fill(rowMerge_.begin(), rowMerge_.end(), false);
    std::fill(rowFileName_.begin(), rowFileName_.end(), false);
}

std::string StatisticsGrid::text(int row, int col) const {
    if (!inside(row, col)) return {};
    return cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)];
}

bool StatisticsGrid::rowHoldsFileName(int row) const { return inside(row, 0) && rowFileName_[static_cast<size_t>(row)]; }

void StatisticsGrid::setRowHoldsFileName(int row, bool holds) {
    if (inside(row, 0)) rowFileName_[static_cast<size_t>(row)] = holds;
}

void StatisticsGrid::setText(int row, int col, std::string text) {
    if (!inside(row, col)) return;
    cells_[static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col)] = std::move(text);
}

int StatisticsGrid::colWidth(int col) const {
    return col >= 0 && col < cols_ ? colWidths_[static_cast<size_t>(col)] : 0;
}

void StatisticsGrid::setColWidth(int col, int twips) {
    if (col >= 0 && col < cols_) colWidths_[static_cast<size_t>(col)] = std::max(twips, 0);
}

int StatisticsGrid::rowHeight(int row) const {
    return row >= 0 && row < rows_ ? rowHeights_[static_cast<size_t>(row)] : 0;
}

bool StatisticsGrid::rowMerge(int row) const {
    return row >= 0 && row < rows_ && rowMerge_[static_cast<size_t>(row)];
}

void StatisticsGrid::setRowMerge(int row, bool merge) {
    if (row >= 0 && row < rows_) rowMerge_[static_cast<size_t>(row)] = merge;
}

void StatisticsGrid::setStandardSizes(int columnTwips, int rowTwips) {
    standardColWidth_ = std::max(columnTwips, 1);
    standardRowHeight_ = std::max(rowTwips, 1);
    std::fill(colWidths_.begin(), colWidths_.end(), standardColWidth_);
    std::fill(rowHeights_.begin(), rowHeights_.end(), standardRowHeight_);
}

std::vector<std::pair<int, int>> StatisticsGrid::mergedRuns(int row) const {
    std::vector<std::pair<int, int>> runs;
    if (!rowMerge(row)) return runs;
    int first = 0;
    for (int c = 1; c <= cols_; ++c) {
        if (c < cols_ && text(row, c) == text(row, first)) continue;
        if (c - 1 > first) runs.emplace_back(first, c - 1);
        first = c;
    }
    return runs;
}

std::string StatisticsGridText(const StatisticsGrid& grid) {
    std::string text;
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c) {
            text += grid.text(r, c);
            if (c < grid.Cols() - 1) text += '\t';
        }
        if (r < grid.Rows() - 1) text += '\n';
    }
    return text;
}

std::string StatisticsText(const StatisticsGrid& grid, int ownerId, int infoRows, const std::string& mode) {
    const int header = infoRows;
    std::string text;
    if (mode == "1-rivinen-otsikko") {
        const std::string prefix = "[W " + std::to_string(ownerId) + "] ";
        // Columns up to the last titled one: beyond it a column holds only
        // information texts (a table without statistic columns).
        int last = grid.Cols() - 1;
        while (last >= 1 && grid.text(header, last).empty()) --last;
        for (int r = header + 1; r < grid.Rows(); ++r) {
            const std::string label = grid.text(r, 0);
            if (label.empty()) continue;
            for (int c = 1; c <= last; ++c) text += prefix + label + " " + grid.text(header, c) + '\t';
        }
        return text;
    }
    if (mode == "1-rivinen-tieto") {
        for (int r = header + 1; r < grid.Rows(); ++r)
            for (int c = 1; c < grid.Cols(); ++c) {
                const std::string cell = grid.text(r, c);
                if (!cell.empty()) text += cell + '\t';
            }
        return text;
    }
    if (mode == "monirivinen") return StatisticsGridText(grid);
    return {};
}

}  // namespace qv
