#pragma once
// The cells of a statistics window's grid, without a widget: the owner of
// the window writes its statistics here, the window shows them, and the
// clipboard and tool texts are read from here. Rows and columns count from
// 0; sizes are in twips (15 to a pixel). Reads outside the grid give an
// empty text or 0 and writes outside it change nothing, so a grid of one
// column (every statistic column switched off) is as safe as any other.
#include <string>
#include <vector>

namespace qv {

class StatisticsGrid {
public:
    // Sizes of a column and a row that nobody has set, until the window
    // gives the ones that fit its font.
    static constexpr int DefaultColumnWidth = 1200;
    static constexpr int DefaultRowHeight = 255;

    StatisticsGrid() { resize(1, 1); }

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    // Grows or shrinks the grid keeping the cells that stay; new cells are
    // empty, new columns and rows take the standard sizes. At least one row
    // and one column always remain.
    void setRows(int rows) { resize(rows, cols_); }
    void setCols(int cols) { resize(rows_, cols); }

    // Empties every cell and drops every row's merge mark (the owner marks
    // its information rows again at each refresh); sizes stay.
    void clear();

    std::string text(int row, int col) const;
    void setText(int row, int col, std::string text);

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight(int row) const;

    // A marked row shows runs of equal neighbouring cells as one cell.
    bool rowMerge(int row) const;
    void setRowMerge(int row, bool merge);

    // A marked row holds a name from the file system (bytes in the file
    // system's encoding, not 8-bit text): shown decoded, copied as it is.
    bool rowHoldsFileName(int row) const;
    void setRowHoldsFileName(int row, bool holds);

    // The grid's outer size, as the owner sets it and reads it back.
    int width() const { return width_; }
    int height() const { return height_; }
    void setWidth(int twips) { width_ = twips < 0 ? 0 : twips; }
    void setHeight(int twips) { height_ = twips < 0 ? 0 : twips; }

    int standardColumnWidth() const { return standardColWidth_; }
    int standardRowHeight() const { return standardRowHeight_; }
    // Sets the standard sizes and gives them to every column and row.
    void setStandardSizes(int columnTwips, int rowTwips);

    // Column ranges [first, last] that a marked row shows as one cell:
    // the runs of two or more equal neighbouring cells. Empty for an
    // unmarked row.
    std::vector<std::pair<int, int>> mergedRuns(int row) const;

private:
    bool inside(int row, int col) const { return row >= 0 && col >= 0 && row < rows_ && col < cols_; }
    void resize(int rows, int cols);

    int rows_ = 0;
    int cols_ = 0;
    std::vector<std::string> cells_;  // row-major
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    std::vector<bool> rowMerge_;
    std::vector<bool> rowFileName_;
    int width_ = 0;
    int height_ = 0;
    int standardColWidth_ = DefaultColumnWidth;
    int standardRowHeight_ = DefaultRowHeight;
};

// The whole grid as text: cells joined by TAB, rows by LF, nothing after the
// last cell of a row or after the last row.
std::string StatisticsGridText(const StatisticsGrid& grid);

// The three text layouts that tools and the clipboard read from a grid whose
// first `infoRows` rows are information rows and whose next row holds the
// column titles:
//  "1-rivinen-otsikko": "[W id] label title" + TAB for every titled data
//      row and every column 1..last;
//  "1-rivinen-tieto": every non-empty data cell + TAB;
//  "monirivinen": StatisticsGridText.
// Any other mode (also one differing only in case) gives "".
std::string StatisticsText(const StatisticsGrid& grid, int ownerId, int infoRows, const std::string& mode);

}  // namespace qv
