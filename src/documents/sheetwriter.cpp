#include "sheetwriter.h"

#include "platform/report/reportpainter.h"

#include <QFontMetricsF>
#include <QImage>

namespace {

constexpr qreal measuringDpi = 1200;
constexpr qreal millimetresPerInch = 25.4;
constexpr qreal numberWidth = 7;

} // namespace

qreal printedTextHeight(const QString &text, const QFont &font, qreal width)
{
    QImage device(1, 1, QImage::Format_Mono);
    const int dotsPerMeter = qRound(measuringDpi * 1000 / millimetresPerInch);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    const qreal toDots = measuringDpi / millimetresPerInch;
    const QRectF bounds = QFontMetricsF(font, &device)
                              .boundingRect(QRectF(0, 0, width * toDots, 1e6), Qt::TextWordWrap,
                                            text);
    return bounds.height() / toDots;
}

SheetWriter::SheetWriter(ReportBand &band, qreal width, const ReportFont &font)
    : m_band(band)
    , m_width(width)
    , m_font(font)
{}

void SheetWriter::heading(const QString &text)
{
    ReportFont bold = m_font;
    bold.bold = true;
    addWrapped(0, text, bold, Qt::AlignHCenter | Qt::AlignTop);
}

void SheetWriter::paragraph(const QString &text)
{
    addWrapped(0, text, m_font, Qt::AlignLeft | Qt::AlignTop);
}

void SheetWriter::numbered(int number, const QString &text)
{
    const qreal top = m_band.height;
    addWrapped(numberWidth, text, m_font, Qt::AlignLeft | Qt::AlignTop);
    const QRectF numberRect(0, top, numberWidth, m_band.height - top);
    m_band.items.append(ReportItem::text(numberRect, QStringLiteral("%1.").arg(number))
                            .withFont(m_font)
                            .withAlignment(Qt::AlignRight | Qt::AlignTop));
}

void SheetWriter::space(qreal height)
{
    m_band.height += height;
}

void SheetWriter::addWrapped(qreal left, const QString &text, const ReportFont &font,
                             Qt::Alignment alignment)
{
    const qreal width = m_width - left;
    const qreal height = printedTextHeight(text, font.toQFont(), width - 2 * reportTextPadding);
    m_band.items.append(ReportItem::text({left, m_band.height, width, height}, text)
                            .withFont(font)
                            .withAlignment(alignment)
                            .withWordWrap());
    m_band.height += height;
}
