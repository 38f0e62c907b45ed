#include "formgrid.h"

#include <numeric>

FormGrid::FormGrid(const QList<qreal> &widths, qreal left)
{
    m_edges.append(left);
    for (const qreal width : widths)
        m_edges.append(m_edges.last() + width);
}

QRectF FormGrid::cell(int column, qreal top, qreal height, int span) const
{
    const qreal cellLeft = m_edges.at(column);
    return {cellLeft, top, m_edges.at(column + span) - cellLeft, height};
}

ReportItem tableCell(const QRectF &rect, const ItemContent &content, Qt::Alignment alignment,
                     const ReportFont &font)
{
    return ReportItem{rect, content, {}}
        .withFont(font)
        .withAlignment(alignment)
        .withWordWrap()
        .withFrame(allSides);
}

qreal addGridCells(QList<ReportItem> &items, const FormGrid &grid, const QList<qreal> &rowHeights,
                   const QList<GridCell> &cells, qreal top, const ReportFont &font)
{
    auto rowTop = [&](int row) {
        return std::accumulate(rowHeights.cbegin(), rowHeights.cbegin() + row, top);
    };
    for (const GridCell &cell : cells) {
        const qreal cellTop = rowTop(cell.row);
        const QRectF rect = grid.cell(cell.column, cellTop, rowTop(cell.row + cell.rowSpan) - cellTop,
                                      cell.span);
        items.append(tableCell(rect, cell.content, cell.alignment, font));
    }
    return rowTop(int(rowHeights.size())) - top;
}

QList<GridCell> columnNumberCells(const FormGrid &grid, int row)
{
    QList<GridCell> cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells.append({column, row, FixedText{QString::number(column + 1)}});
    return cells;
}
