#include "reportlayout.h"

#include <QPageSize>

QSizeF PageSetup::paperSize() const
{
    const QSizeF portrait = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

QRectF PageSetup::printableArea() const
{
    return QRectF(QPointF(), paperSize()).marginsRemoved(margins);
}

QFont ReportFont::toQFont() const
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

ReportItem ReportItem::text(const QRectF &rect, const QString &text)
{
    return {rect, FixedText{text}, {}};
}

ReportItem ReportItem::caption(const QRectF &rect, const QString &name)
{
    return {rect, Caption{name}, {}};
}

ReportItem ReportItem::field(const QRectF &rect, const QString &source, const QString &column,
                             const QString &pattern)
{
    return {rect, DataField{source, column, pattern}, {}};
}

ReportItem ReportItem::picture(const QRectF &rect, const QImage &image)
{
    return {rect, Picture{image}, {}};
}

ReportItem ReportItem::cell(const QRectF &rect, FrameSides sides, qreal width)
{
    return text(rect, {}).withFrame(sides, width);
}

ReportItem ReportItem::withFont(const ReportFont &font) const
{
    ReportItem item = *this;
    item.style.font = font;
    return item;
}

ReportItem ReportItem::withAlignment(Qt::Alignment alignment) const
{
    ReportItem item = *this;
    item.style.alignment = alignment;
    return item;
}

ReportItem ReportItem::withWordWrap(bool wrap) const
{
    ReportItem item = *this;
    item.style.wordWrap = wrap;
    return item;
}

ReportItem ReportItem::withFrame(FrameSides sides, qreal width) const
{
    ReportItem item = *this;
    item.style.frame = {sides, width};
    return item;
}

ReportLayout::ReportLayout(QPageLayout::Orientation orientation)
{
    m_page.orientation = orientation;
}

void ReportLayout::setCaption(const QString &name, const QString &text)
{
    m_captions.insert(name, text);
}

void ReportLayout::setSource(const QString &name, std::shared_ptr<const RowSource> source)
{
    m_sources.insert(name, std::move(source));
}

const RowSource *ReportLayout::source(const QString &name) const
{
    return m_sources.value(name).get();
}
