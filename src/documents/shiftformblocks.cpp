#include "shiftformblocks.h"

#include "db/datamodule.h"
#include "documents/documentcommands.h"

#include "platform/report/datasetrowsource.h"

namespace {

constexpr qreal numberCellWidth = 24;
constexpr qreal timeCellWidth = 18;
constexpr qreal numberHeadingHeight = 7;
constexpr qreal numberValueHeight = 5;
constexpr qreal signatureSpacing = 10;
constexpr qreal noteHeight = 4;

} // namespace

void setDatasetSource(ReportLayout &layout, const QString &name, const Dataset &dataset)
{
    layout.setSource(name, std::make_shared<DatasetRowSource>(&dataset));
}

void setRequisiteSources(ReportLayout &layout, TfDM &dm)
{
    useOpenedRequisites(dm);
    setDatasetSource(layout, filialTable, dm.tabFILIAL);
    setDatasetSource(layout, filialQuery, dm.adoqFILIAL);
}

void setBlankLineSource(ReportLayout &layout, TfDM &dm)
{
    openIfClosed(dm.tabXX);
    setDatasetSource(layout, blankLines, dm.tabXX);
}

void reopenForShift(Query &query, qint32 idDovra)
{
    query.close();
    query.setParam(QStringLiteral("idDovra"), idDovra);
    query.open();
}

DataField requisiteField(const QString &column)
{
    return {filialTable, column, {}};
}

DataField composedRequisiteField(const QString &column)
{
    return {filialQuery, column, {}};
}

DataField zActiveField(const QString &column, const QString &pattern)
{
    return {zActiveQuery, column, pattern};
}

qreal printableWidth(const ReportLayout &layout)
{
    return layout.page().printableArea().width();
}

ItemContent filledOnly(FormFill fill, const ItemContent &content)
{
    return fill == FormFill::Filled ? content : FixedText{};
}

QList<RequisiteLine> stationLines()
{
    return {{{}, requisiteField(QStringLiteral("nazvRBE")),
             QStringLiteral("(организация, адрес, номер телефона)")},
            {{}, composedRequisiteField(QStringLiteral("AdrTel")), {}},
            {{}, composedRequisiteField(QStringLiteral("FilialAZS")),
             QStringLiteral("(структурное подразделение)")}};
}

qreal addDocumentNumberTable(QList<ReportItem> &items, const QPointF &at, const ItemContent &date,
                             const std::optional<ItemContent> &time)
{
    QList<qreal> widths{numberCellWidth, numberCellWidth};
    QStringList headings{QStringLiteral("Номер\nдокумента"), QStringLiteral("Дата\nсоставления")};
    QList<ItemContent> values{FixedText{}, date};
    if (time) {
        widths << timeCellWidth;
        headings << QStringLiteral("Время \nч., мин.");
        values << *time;
    }
    QList<GridCell> headingCells;
    QList<GridCell> valueCells;
    for (int column = 0; column < headings.size(); ++column) {
        headingCells.append({column, 0, FixedText{headings.at(column)}});
        valueCells.append({column, 1, values.at(column)});
    }
    const FormGrid grid(widths, at.x());
    const QList<qreal> rows{numberHeadingHeight, numberValueHeight};
    addGridCells(items, grid, rows, headingCells, at.y(), formSmallFont());
    return addGridCells(items, grid, rows, valueCells, at.y(), formBodyFont());
}

qreal documentNumberTableWidth(bool withTime)
{
    return 2 * numberCellWidth + (withTime ? timeCellWidth : 0);
}

QList<GridCell> registerHeadingCells()
{
    return {{0, 0, FixedText{QStringLiteral("Номер")}, 3},
            {0, 1, FixedText{QStringLiteral("кассы")}, 1, 2},
            {1, 1, FixedText{QStringLiteral("контрольно-кассовой машины")}, 2},
            {1, 2, FixedText{QStringLiteral("производителя")}},
            {2, 2, FixedText{QStringLiteral("регистрационный")}},
            {3, 0,
             FixedText{QStringLiteral("Порядковый номер контрольного счетчика (отчета фискальной "
                                      "памяти) на конец рабочего дня (смены)")},
             1, 3}};
}

QList<GridCell> registerLineCells(const QString &source)
{
    auto field = [&source](const char *column) {
        return DataField{source, QString::fromLatin1(column), {}};
    };
    return {{0, 0, field("nkasskkmnazv"), 1, 1, Qt::AlignLeft | Qt::AlignVCenter},
            {1, 0, field("nproizv")},
            {2, 0, field("nreg")},
            {3, 0, field("nz")},
            {4, 0, field("zdoc")}};
}

QList<GridCell> blankedCells(QList<GridCell> cells)
{
    for (GridCell &cell : cells)
        cell.content = FixedText{};
    return cells;
}

ReportFont tableFont()
{
    ReportFont font;
    font.pointSize = 8;
    return font;
}

ReportItem boldText(const QRectF &rect, const QString &text, qreal pointSize,
                    Qt::Alignment alignment)
{
    ReportFont font;
    font.pointSize = pointSize;
    font.bold = true;
    return ReportItem::text(rect, text).withFont(font).withAlignment(alignment);
}

qreal addManagerAndCashier(QList<ReportItem> &items, const QPointF &at)
{
    addSignatureLine(items,
                     {QStringLiteral("Руководитель"), Caption{managerCaption},
                      requisiteField(QStringLiteral("UPRAVDOLJN"))},
                     at);
    const qreal cashierTop = at.y() + signatureSpacing;
    return addSignatureLine(items,
                            {QStringLiteral("Старший кассир"), Caption{cashierCaption}, std::nullopt},
                            {at.x(), cashierTop})
           + cashierTop - at.y();
}

void addBackPrintNote(ReportLayout &layout, const QString &text, qreal pointSize)
{
    // The footer only keeps the bands clear of the note, which the page itself carries.
    layout.band(BandKind::PageFooter).height = noteHeight;
    const QRectF area = layout.page().printableArea();
    ReportFont font;
    font.pointSize = pointSize;
    layout.pageItems().append(
        ReportItem::text({0, area.height() - noteHeight, area.width(), noteHeight}, text)
            .withFont(font)
            .withAlignment(Qt::AlignLeft | Qt::AlignBottom));
}
