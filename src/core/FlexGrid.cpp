#include "core/FlexGrid.h"

#include <algorithm>

#include "core/HostError.h"

namespace plexa {

namespace {
HostError OutOfRange() {
    return HostError(381, L"Subscript out of range", L"MSHFlexGrid");
}
}  // namespace

void FlexGrid::SetRows(int32_t rows) {
    if (rows < fixedRows) {
        throw HostError(30009, L"Invalid Row value", L"MSHFlexGrid");
    }
    m_rows = rows;
    // Rows that come back later are new rows: empty, of the default height.
    m_cells.erase(m_cells.lower_bound(rows), m_cells.end());
    m_rowHeights.erase(m_rowHeights.lower_bound(rows), m_rowHeights.end());
    row = std::min(row, rows - 1);
    rowSel = std::min(rowSel, rows - 1);
    m_topRow =
        std::clamp(m_topRow, std::min(fixedRows, rows - 1), std::max(fixedRows, MaxTopRow()));
}

void FlexGrid::SetCols(int32_t cols) {
    if (cols < 1) {
        throw HostError(30010, L"Invalid Col value", L"MSHFlexGrid");
    }
    m_cols = cols;
    for (auto& [r, cells] : m_cells) {
        cells.resize(static_cast<std::size_t>(cols));
    }
    m_colWidths.resize(static_cast<std::size_t>(cols), -1);
    m_colAlignments.resize(static_cast<std::size_t>(cols), flex::AlignGeneral);
    col = std::min(col, cols - 1);
    colSel = std::min(colSel, cols - 1);
}

const GridCell& FlexGrid::Cell(int32_t r, int32_t c) const {
    static const GridCell kEmpty;
    if (r < 0 || r >= m_rows || c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    const auto it = m_cells.find(r);
    return it == m_cells.end() ? kEmpty : it->second[static_cast<std::size_t>(c)];
}

GridCell& FlexGrid::Cell(int32_t r, int32_t c) {
    if (r < 0 || r >= m_rows || c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    auto it = m_cells.find(r);
    if (it == m_cells.end()) {
        it = m_cells.emplace(r, std::vector<GridCell>(static_cast<std::size_t>(m_cols))).first;
    }
    return it->second[static_cast<std::size_t>(c)];
}

int32_t FlexGrid::ColWidth(int32_t c) const {
    if (c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    return m_colWidths[static_cast<std::size_t>(c)];
}

void FlexGrid::SetColWidth(int32_t c, int32_t width) {
    if (c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    m_colWidths[static_cast<std::size_t>(c)] = width;
}

int32_t FlexGrid::ColAlignment(int32_t c) const {
    if (c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    return m_colAlignments[static_cast<std::size_t>(c)];
}

void FlexGrid::SetColAlignment(int32_t c, int32_t alignment) {
    if (c < 0 || c >= m_cols) {
        throw OutOfRange();
    }
    m_colAlignments[static_cast<std::size_t>(c)] = alignment;
}

int32_t FlexGrid::RowHeight(int32_t r) const {
    if (r < 0 || r >= m_rows) {
        throw OutOfRange();
    }
    const auto it = m_rowHeights.find(r);
    return it == m_rowHeights.end() ? -1 : it->second;
}

void FlexGrid::SetRowHeight(int32_t r, int32_t height) {
    if (r < 0 || r >= m_rows) {
        throw OutOfRange();
    }
    if (height == -1) {
        m_rowHeights.erase(r);
    } else {
        m_rowHeights[r] = height;
    }
}

int32_t FlexGrid::MaxTopRow() const {
    // The rows that take room on the screen; a row of height 0 is never shown. Only rows with a
    // height of their own can be of height 0.
    int32_t lastShown = fixedRows;
    for (int32_t r = m_rows - 1; r >= fixedRows; --r) {
        const auto it = m_rowHeights.find(r);
        if (it == m_rowHeights.end() || it->second != 0) {
            lastShown = r;
            break;
        }
    }
    return std::max(fixedRows, lastShown - visibleRows + 1);
}

void FlexGrid::SetTopRow(int32_t r) {
    if (r < 0 || r >= m_rows) {
        throw OutOfRange();
    }
    const int32_t top = std::clamp(r, fixedRows, MaxTopRow());
    if (top == m_topRow) {
        return;
    }
    m_topRow = top;
    if (onScroll) {
        onScroll();
    }
}

}  // namespace plexa
