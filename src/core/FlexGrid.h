// The flexible-grid control of the dialog model: rows and columns of cells, each with a text and
// a picture (named by the image control it comes from), fixed header rows, column widths and
// alignments, row heights, the current cell and selection, and the row shown at the top.
// Setting the top row scrolls the grid, which raises onScroll, as the real grid's Scroll event.
// Only the rows that hold a cell written to, or a height of their own, take memory: a grid of
// ten thousand rows of which a page is filled costs what the page costs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/Form.h"

namespace plexa {

// flexAlign... values of ColAlignment and CellPictureAlignment.
namespace flex {
inline constexpr int32_t AlignLeftCenter = 1;
inline constexpr int32_t AlignCenterCenter = 4;
inline constexpr int32_t AlignRightCenter = 7;
inline constexpr int32_t AlignGeneral = 9;
}  // namespace flex

struct GridCell {
    std::wstring text;
    // The image control whose picture the cell shows ("imgDL", "imgFlag(2)"); "" for none.
    std::wstring picture;
    int32_t pictureAlignment = flex::AlignLeftCenter;
};

class FlexGrid : public Control {
public:
    explicit FlexGrid(std::wstring name) : Control(std::move(name), ControlType::FlexGrid) {}

    int32_t Rows() const { return m_rows; }
    int32_t Cols() const { return m_cols; }
    // Changes the number of rows or columns, keeping the cells that remain; new rows have the
    // default height. Throws HostError 30009 ("Invalid Row value") below the fixed rows.
    void SetRows(int32_t rows);
    void SetCols(int32_t cols);

    // Cells; throw HostError 381 ("Subscript out of range") outside the grid.
    const GridCell& Cell(int32_t row, int32_t col) const;
    GridCell& Cell(int32_t row, int32_t col);
    const std::wstring& TextMatrix(int32_t row, int32_t col) const { return Cell(row, col).text; }
    void SetTextMatrix(int32_t row, int32_t col, const std::wstring& value) {
        Cell(row, col).text = value;
    }

    // Twips; a row height of -1 is the default height.
    int32_t ColWidth(int32_t col) const;
    void SetColWidth(int32_t col, int32_t width);
    int32_t ColAlignment(int32_t col) const;
    void SetColAlignment(int32_t col, int32_t alignment);
    int32_t RowHeight(int32_t row) const;
    void SetRowHeight(int32_t row, int32_t height);

    // The first row shown below the header; setting it keeps it within the rows that can be
    // scrolled to and raises onScroll when it moves.
    int32_t TopRow() const { return m_topRow; }
    void SetTopRow(int32_t row);
    // The last row that can be at the top.
    int32_t MaxTopRow() const;

    int32_t fixedRows = 1;
    // How many rows below the header the grid's height shows.
    int32_t visibleRows = 7;
    // The current cell and the far corner of the selection.
    int32_t row = 0;
    int32_t col = 0;
    int32_t rowSel = 0;
    int32_t colSel = 0;
    // Whole rows are selected when a cell is clicked.
    bool selectWholeRows = true;
    // Painting on (off while many cells change).
    bool redraw = true;

    // The grid scrolled (the top row moved).
    std::function<void()> onScroll;
    // A mouse button went down over a cell.
    std::function<void(int32_t row, int32_t col)> onMouseDown;
    std::function<void()> onDblClick;
    // A character typed while the grid has the focus.
    std::function<void(int32_t keyAscii)> onKeyPress;

private:
    int32_t m_rows = 2;
    int32_t m_cols = 2;
    int32_t m_topRow = 1;
    // The rows with a cell written to, by row; every other cell is empty.
    std::map<int32_t, std::vector<GridCell>> m_cells;
    std::vector<int32_t> m_colWidths = std::vector<int32_t>(2, -1);
    std::vector<int32_t> m_colAlignments = std::vector<int32_t>(2, flex::AlignGeneral);
    // The rows whose height is not the default (-1), by row.
    std::map<int32_t, int32_t> m_rowHeights;
};

}  // namespace plexa
