#pragma once

#include "documents/formblocks.h"
#include "platform/report/reportlayout.h"

// The tables of the forms: framed cells on fixed column widths, headings that span several
// columns or rows, and lines of one cell per column. Lengths are millimetres.

class FormGrid
{
public:
    explicit FormGrid(const QList<qreal> &widths, qreal left = 0);

    int columnCount() const { return int(m_edges.size()) - 1; }
    qreal left() const { return m_edges.first(); }
    qreal right() const { return m_edges.last(); }
    // Columns column..column + span - 1, counted from 0, from top and height high.
    QRectF cell(int column, qreal top, qreal height, int span = 1) const;

private:
    QList<qreal> m_edges; // the left edge of every column, then the right edge of the last
};

// One cell framed on all sides, its text wrapped.
ReportItem tableCell(const QRectF &rect, const ItemContent &content,
                     Qt::Alignment alignment = Qt::AlignCenter, const ReportFont &font = formBodyFont());

// A framed cell of a grid: over columns column..column + span - 1 and rows row..row + rowSpan - 1.
struct GridCell
{
    int column = 0;
    int row = 0;
    ItemContent content = FixedText{};
    int span = 1;
    int rowSpan = 1;
    Qt::Alignment alignment = Qt::AlignCenter;
};

// The cells framed on all sides and wrapped, rows rowHeights high one under the other from top.
// Returns the height of the rows.
qreal addGridCells(QList<ReportItem> &items, const FormGrid &grid, const QList<qreal> &rowHeights,
                   const QList<GridCell> &cells, qreal top, const ReportFont &font);

// The row of column numbers under a table's headings: "1", "2", ...
QList<GridCell> columnNumberCells(const FormGrid &grid, int row);
