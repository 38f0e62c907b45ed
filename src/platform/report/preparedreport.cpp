#include "preparedreport.h"

#include "numberpattern.h"

namespace {

template<class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};

struct PlacedBand
{
    const ReportBand *band = nullptr;
    qreal top = 0; // from the paper's top
    int detailRow = -1;
};

using PlacedPage = QList<PlacedBand>;

// Decides which band goes where; texts are resolved once the page count is known.
class Paginator
{
public:
    explicit Paginator(const ReportLayout &layout)
        : m_layout(layout)
        , m_area(layout.page().printableArea())
    {}

    QList<PlacedPage> run();

private:
    const ReportBand &band(BandKind kind) const { return m_layout.band(kind); }
    qreal footerTop() const { return m_area.bottom() - band(BandKind::PageFooter).height; }
    void startPage();
    void place(const ReportBand &band, int detailRow = -1);
    void placeInBody(const ReportBand &band, int detailRow = -1);

    const ReportLayout &m_layout;
    const QRectF m_area;
    QList<PlacedPage> m_pages;
    qreal m_y = 0;
    bool m_bodyStarted = false;
};

QList<PlacedPage> Paginator::run()
{
    startPage();
    const ReportBand &detail = band(BandKind::Detail);
    if (const RowSource *rows = m_layout.source(detail.source); rows && !detail.isEmpty()) {
        for (int row = 0; row < rows->rowCount(); ++row)
            placeInBody(detail, row);
    }
    placeInBody(band(BandKind::Summary));
    for (PlacedPage &page : m_pages) {
        if (!band(BandKind::PageFooter).isEmpty())
            page.append(PlacedBand{&band(BandKind::PageFooter), footerTop()});
    }
    return m_pages;
}

void Paginator::startPage()
{
    m_pages.append(PlacedPage());
    m_y = m_area.top();
    m_bodyStarted = false;
    place(band(BandKind::PageHeader));
    if (m_pages.size() == 1)
        placeInBody(band(BandKind::Title));
    place(band(BandKind::ColumnHeader));
}

void Paginator::place(const ReportBand &band, int detailRow)
{
    if (band.isEmpty())
        return;
    m_pages.last().append(PlacedBand{&band, m_y, detailRow});
    m_y += band.height;
}

void Paginator::placeInBody(const ReportBand &band, int detailRow)
{
    if (band.isEmpty())
        return;
    constexpr qreal tolerance = 1e-6;
    if (m_bodyStarted && m_y + band.height > footerTop() + tolerance)
        startPage();
    place(band, detailRow);
    m_bodyStarted = true;
}

class TextResolver
{
public:
    TextResolver(const ReportLayout &layout, int pageNumber, int pageCount)
        : m_layout(layout)
        , m_pageNumber(pageNumber)
        , m_pageCount(pageCount)
    {}

    QString text(const ItemContent &content, int detailRow) const
    {
        return std::visit(
            Overloaded{
                [](const FixedText &fixed) { return fixed.text; },
                [this](const Caption &caption) { return captionText(caption.name); },
                [&](const DataField &field) { return fieldValueText(field, detailRow); },
                [](const Picture &) { return QString(); },
            },
            content);
    }

private:
    QString captionText(const QString &name) const
    {
        if (name == ReportLayout::pageNumberCaption)
            return QString::number(m_pageNumber);
        if (name == ReportLayout::pageCountCaption)
            return QString::number(m_pageCount);
        return m_layout.caption(name);
    }

    QString fieldValueText(const DataField &field, int detailRow) const
    {
        const RowSource *rows = m_layout.source(field.source);
        if (!rows)
            return {};
        const bool detailSource = field.source == m_layout.band(BandKind::Detail).source;
        const int row = detailRow >= 0 && detailSource ? detailRow : rows->currentRow();
        return fieldText(rows->value(row, field.column), field.pattern);
    }

    const ReportLayout &m_layout;
    const int m_pageNumber;
    const int m_pageCount;
};

PreparedItem prepareItem(const ReportItem &item, QPointF origin, const TextResolver &resolver,
                         int detailRow = -1)
{
    const auto *picture = std::get_if<Picture>(&item.content);
    return {item.rect.translated(origin), resolver.text(item.content, detailRow), item.style,
            picture ? picture->image : QImage()};
}

QString millimetres(qreal value)
{
    return QString::number(qRound(value * 10) / 10.0, 'f', 1);
}

} // namespace

PreparedReport prepareReport(const ReportLayout &layout)
{
    const QList<PlacedPage> placedPages = Paginator(layout).run();
    const QRectF area = layout.page().printableArea();
    PreparedReport report{layout.page(), {}};
    for (int i = 0; i < placedPages.size(); ++i) {
        const TextResolver resolver(layout, i + 1, int(placedPages.size()));
        PreparedPage page;
        for (const PlacedBand &placed : placedPages.at(i)) {
            for (const ReportItem &item : placed.band->items)
                page.items.append(
                    prepareItem(item, {area.left(), placed.top}, resolver, placed.detailRow));
        }
        for (const ReportItem &item : layout.pageItems())
            page.items.append(prepareItem(item, area.topLeft(), resolver));
        report.pages.append(page);
    }
    return report;
}

QString dumpReport(const PreparedReport &report)
{
    QString dump;
    for (int i = 0; i < report.pages.size(); ++i) {
        for (const PreparedItem &item : report.pages.at(i).items) {
            const QRectF &r = item.rect;
            dump += QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(QString::number(i + 1), millimetres(r.x()), millimetres(r.y()),
                             millimetres(r.width()), millimetres(r.height()));
            if (!item.text.isEmpty())
                dump += QLatin1Char(' ')
                        + QString(item.text).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            if (!item.image.isNull())
                dump += QStringLiteral(" <picture %1×%2>")
                            .arg(item.image.width())
                            .arg(item.image.height());
            dump += QLatin1Char('\n');
        }
    }
    return dump;
}
