#pragma once

#include "rowsource.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>
#include <variant>

// A report layout as a value: the page, the bands with their items, the page-level items, the
// captions the preparing code writes and the row sources the data fields read. Every length
// is in millimetres; a form builds its layout in code, item by item.

struct PageSetup
{
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10};

    // A4, turned by the orientation.
    QSizeF paperSize() const;
    // The paper less the margins: where bands and page-level items are measured from.
    QRectF printableArea() const;
};

struct ReportFont
{
    QString family = QStringLiteral("Liberation Serif");
    qreal pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    QFont toQFont() const;
    bool operator==(const ReportFont &) const = default;
};

enum class FrameSide { Top = 0x1, Bottom = 0x2, Left = 0x4, Right = 0x8 };
Q_DECLARE_FLAGS(FrameSides, FrameSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(FrameSides)
inline constexpr FrameSides allSides
    = FrameSide::Top | FrameSide::Bottom | FrameSide::Left | FrameSide::Right;

// Lines drawn on the chosen edges of an item's rectangle: tables are built from framed cells.
struct Frame
{
    FrameSides sides;
    qreal width = 0.2;

    bool operator==(const Frame &) const = default;
};

struct ItemStyle
{
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
    Frame frame;

    bool operator==(const ItemStyle &) const = default;
};

struct FixedText
{
    QString text;
};

// A label whose text the preparing code writes with ReportLayout::setCaption.
struct Caption
{
    QString name;
};

// A column of a row source: the detail band's row inside the detail band over that source,
// the source's current row anywhere else. Numbers follow the pattern (see numberpattern.h).
struct DataField
{
    QString source;
    QString column;
    QString pattern;
};

// A picture scaled into the item's rectangle, keeping its proportions, centred.
struct Picture
{
    QImage image;
};

using ItemContent = std::variant<FixedText, Caption, DataField, Picture>;

struct ReportItem
{
    QRectF rect; // from the band's top-left corner; page-level items: from the printable area's
    ItemContent content;
    ItemStyle style;

    static ReportItem text(const QRectF &rect, const QString &text);
    static ReportItem caption(const QRectF &rect, const QString &name);
    static ReportItem field(const QRectF &rect, const QString &source, const QString &column,
                            const QString &pattern = {});
    static ReportItem picture(const QRectF &rect, const QImage &image);
    // A cell that only draws its frame.
    static ReportItem cell(const QRectF &rect, FrameSides sides, qreal width = Frame().width);

    [[nodiscard]] ReportItem withFont(const ReportFont &font) const;
    [[nodiscard]] ReportItem withAlignment(Qt::Alignment alignment) const;
    [[nodiscard]] ReportItem withWordWrap(bool wrap = true) const;
    [[nodiscard]] ReportItem withFrame(FrameSides sides, qreal width = Frame().width) const;
};

enum class BandKind { Title, PageHeader, ColumnHeader, Detail, Summary, PageFooter };
inline constexpr int bandKindCount = int(BandKind::PageFooter) + 1;

// A horizontal strip of fixed height. Only the detail band has a source: it prints once per
// row of it, and not at all when the source is missing or empty.
struct ReportBand
{
    qreal height = 0;
    QString source;
    QList<ReportItem> items;

    bool isEmpty() const { return height <= 0 && items.isEmpty(); }
};

class ReportLayout
{
public:
    // Captions that the engine fills itself on every page.
    static constexpr QLatin1String pageNumberCaption{"pageNumber"};
    static constexpr QLatin1String pageCountCaption{"pageCount"};

    explicit ReportLayout(QPageLayout::Orientation orientation = QPageLayout::Portrait);

    PageSetup &page() { return m_page; }
    const PageSetup &page() const { return m_page; }

    ReportBand &band(BandKind kind) { return m_bands[size_t(kind)]; }
    const ReportBand &band(BandKind kind) const { return m_bands[size_t(kind)]; }

    // Items placed on the page itself, printed on every page at the same position.
    QList<ReportItem> &pageItems() { return m_pageItems; }
    const QList<ReportItem> &pageItems() const { return m_pageItems; }

    // A caption never set prints empty.
    void setCaption(const QString &name, const QString &text);
    QString caption(const QString &name) const { return m_captions.value(name); }

    void setSource(const QString &name, std::shared_ptr<const RowSource> source);
    // Null when no source of that name was set.
    const RowSource *source(const QString &name) const;

private:
    PageSetup m_page;
    std::array<ReportBand, bandKindCount> m_bands;
    QList<ReportItem> m_pageItems;
    QHash<QString, QString> m_captions;
    QHash<QString, std::shared_ptr<const RowSource>> m_sources;
};
