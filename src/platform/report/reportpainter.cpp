#include "reportpainter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace {

// Millimetres on the paper → the device's pixels.
class PaperToDevice
{
public:
    explicit PaperToDevice(QPagedPaintDevice *device)
        : m_xScale(device->logicalDpiX() / 25.4)
        , m_yScale(device->logicalDpiY() / 25.4)
        , m_origin(device->pageLayout().paintRectPixels(device->logicalDpiX()).topLeft())
    {}

    QPointF point(QPointF mm) const
    {
        return QPointF(mm.x() * m_xScale, mm.y() * m_yScale) - m_origin;
    }
    QRectF rect(const QRectF &mm) const
    {
        return QRectF(point(mm.topLeft()), point(mm.bottomRight()));
    }
    qreal length(qreal mm) const { return mm * m_xScale; }

private:
    qreal m_xScale;
    qreal m_yScale;
    QPointF m_origin;
};

void setUpPage(QPagedPaintDevice *device, QPageLayout::Orientation orientation)
{
    if (auto *printer = dynamic_cast<QPrinter *>(device))
        printer->setFullPage(true);
    device->setPageSize(QPageSize(QPageSize::A4));
    device->setPageOrientation(orientation);
    device->setPageMargins(QMarginsF(), QPageLayout::Millimeter);
}

void paintFrame(QPainter &painter, const PreparedItem &item, const PaperToDevice &scale)
{
    const Frame &frame = item.style.frame;
    if (!frame.sides)
        return;
    painter.setPen(QPen(Qt::black, scale.length(frame.width), Qt::SolidLine, Qt::SquareCap));
    const QRectF r = scale.rect(item.rect);
    if (frame.sides & FrameSide::Top)
        painter.drawLine(r.topLeft(), r.topRight());
    if (frame.sides & FrameSide::Bottom)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    if (frame.sides & FrameSide::Left)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (frame.sides & FrameSide::Right)
        painter.drawLine(r.topRight(), r.bottomRight());
}

// Text that does not fit shows beyond its cell rather than being cut: a misplaced text is
// noticed on paper, a clipped one silently loses figures.
void paintText(QPainter &painter, const PreparedItem &item, const PaperToDevice &scale)
{
    if (item.text.isEmpty())
        return;
    painter.setFont(item.style.font.toQFont());
    painter.setPen(Qt::black);
    int flags = int(item.style.alignment) | Qt::TextDontClip;
    if (item.style.wordWrap)
        flags |= Qt::TextWordWrap;
    const QRectF area = item.rect.adjusted(reportTextPadding, 0, -reportTextPadding, 0);
    painter.drawText(scale.rect(area), flags, item.text);
}

void paintPicture(QPainter &painter, const PreparedItem &item, const PaperToDevice &scale)
{
    if (item.image.isNull())
        return;
    const QRectF area = scale.rect(item.rect);
    QSizeF size = item.image.size();
    size.scale(area.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(area.center());
    painter.drawImage(target, item.image);
}

} // namespace

bool paintReports(const QList<PreparedReport> &reports, QPagedPaintDevice *device)
{
    if (reports.isEmpty())
        return false;
    setUpPage(device, reports.first().page.orientation);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    bool firstPage = true;
    for (const PreparedReport &report : reports) {
        for (const PreparedPage &page : report.pages) {
            if (!firstPage) {
                // A landscape journal may follow a portrait form in the same file.
                device->setPageOrientation(report.page.orientation);
                device->newPage();
            }
            firstPage = false;
            const PaperToDevice scale(device);
            for (const PreparedItem &item : page.items) {
                paintPicture(painter, item, scale);
                paintText(painter, item, scale);
                paintFrame(painter, item, scale);
            }
        }
    }
    return painter.end();
}

bool paintReport(const PreparedReport &report, QPagedPaintDevice *device)
{
    return paintReports({report}, device);
}
