#include "transferact.h"

#include "db/datamodule.h"
#include "documents/formparts.h"
#include "documents/formsources.h"
#include "documents/rubproc.h"
#include "documents/shiftformblocks.h"

namespace {

const QString linesQuery = QStringLiteral("adoqPERENOS");
const QString sumQuery = QStringLiteral("adoqPERENOSsum");
const QString lastZDateCaption = QStringLiteral("lblLastZDay");
const QString moneyPattern = QStringLiteral("### ### ##0.00    ");

// Columns 1 to 9 across the portrait page.
const QList<qreal> columnWidths{28, 18, 20, 20, 18, 22, 22, 26, 16};
const QList<qreal> headingRows{6, 8, 24, 4};
constexpr qreal lineHeight = 6;
constexpr qreal pageHeaderHeight = 8;
constexpr qreal formLineHeight = 3;

FormGrid tableGrid()
{
    return FormGrid(columnWidths);
}

// The station's own form code, small at the top right of every page.
void addPageHeader(ReportLayout &layout)
{
    const qreal width = printableWidth(layout);
    ReportBand &header = layout.band(BandKind::PageHeader);
    header.height = pageHeaderHeight;
    const QStringList lines{QStringLiteral("Форма АВВ-50.2 "), QStringLiteral("формат КМ-7, КМ-9")};
    for (int i = 0; i < lines.size(); ++i) {
        header.items.append(ReportItem::text({0, i * formLineHeight, width, formLineHeight}, lines[i])
                                .withFont(formSmallFont())
                                .withAlignment(Qt::AlignRight | Qt::AlignVCenter));
    }
}

void addTitle(ReportLayout &layout, const ItemContent &date)
{
    const qreal width = printableWidth(layout);
    ReportBand &title = layout.band(BandKind::Title);
    qreal y = addRequisiteLines(title.items, stationLines(), {0, 0}, width) + 3;
    y += addDocumentNumberTable(title.items, {width - documentNumberTableWidth(false), y}, date) + 4;
    title.items.append(boldText({0, y, width, 7},
                                QStringLiteral("АКТ ПЕРЕНОСА ДЕНЕЖНЫХ СРЕДСТВ МЕЖДУ ККМ"), 12,
                                Qt::AlignCenter));
    title.height = y + 10;
}

void addColumnHeadings(ReportLayout &layout)
{
    const FormGrid grid = tableGrid();
    auto text = [](const QString &heading) { return FixedText{heading}; };
    QList<GridCell> cells = registerHeadingCells();
    cells << GridCell{4, 0, text(counterHeading), 1, 3}
          << GridCell{5, 0, text(QStringLiteral("ВНЕСЕНО/СНЯТО НАЛИЧНЫХ ДЕНЕЖНЫХ СРЕДСТВ С ККМ")), 2, 2}
          << GridCell{5, 2, text(QStringLiteral("ВНОС В ККМ (подкрепление)"))}
          << GridCell{6, 2, text(QStringLiteral("ВЫНОС ИЗ ККМ (без инкассации)"))}
          << GridCell{7, 0,
                      text(QStringLiteral("Основание (инвентаризация, замена ЭКЛЗ, ремонт/ замена "
                                          "ККМ, Инкассация с одной ККМ)")),
                      1, 3}
          << GridCell{8, 0, text(confirmationHeading),
                      1, 3};
    cells += columnNumberCells(grid, 3);
    ReportBand &band = layout.band(BandKind::ColumnHeader);
    band.height = addGridCells(band.items, grid, headingRows, cells, 0, formSmallFont());
}

GridCell amountCell(int column, const QString &source, const QString &name, FormFill fill)
{
    return {column, 0, filledOnly(fill, DataField{source, name, moneyPattern}), 1, 1,
            amountAlignment};
}

void addLines(ReportLayout &layout, FormFill fill)
{
    QList<GridCell> cells = registerLineCells(linesQuery);
    if (fill == FormFill::Blank)
        cells = blankedCells(cells);
    cells << amountCell(5, linesQuery, QStringLiteral("VNOS"), fill)
          << amountCell(6, linesQuery, QStringLiteral("VINOS"), fill) << GridCell{7} << GridCell{8};
    ReportBand &band = layout.band(BandKind::Detail);
    band.source = fill == FormFill::Filled ? linesQuery : blankLines;
    band.height = addGridCells(band.items, tableGrid(), {lineHeight}, cells, 0, tableFont());
}

void addSummary(ReportLayout &layout, FormFill fill)
{
    const qreal width = printableWidth(layout);
    const FormGrid grid = tableGrid();
    ReportBand &summary = layout.band(BandKind::Summary);
    QList<ReportItem> &items = summary.items;
    items.append(boldText(grid.cell(0, 0, lineHeight, 5).adjusted(0, 0, -2, 0),
                          QStringLiteral("Итого"), 9, Qt::AlignRight | Qt::AlignVCenter));
    addGridCells(items, grid, {lineHeight},
                 {amountCell(5, sumQuery, QStringLiteral("sVNOS"), fill),
                  amountCell(6, sumQuery, QStringLiteral("sVINOS"), fill),
                  amountCell(7, sumQuery, QStringLiteral("sRAZNOST"), fill), GridCell{8}},
                 0, tableFont());

    qreal y = lineHeight + 4;
    items.append(ReportItem::text({0, y, width, 5}, QStringLiteral("Основания для операций:"))
                     .withFont(formBodyFont()));
    y += 5;
    addHintedField(items, {0, y, width, 5}, FixedText{},
                   QStringLiteral("(инвентаризация, замена ЭКЛЗ, ремонт/замена ККМ, Инкассация "
                                  "по одной кассе)"));
    y += 10;
    addHintedField(items, {0, y, width, 5}, FixedText{}, {});
    y += 10;
    summary.height = y + addManagerAndCashier(items, {0, y}) + 2;
}

ReportLayout transferLayout(FormFill fill)
{
    ReportLayout layout;
    addPageHeader(layout);
    addTitle(layout, fill == FormFill::Filled ? ItemContent{zActiveField(QStringLiteral("ZDay"))}
                                              : ItemContent{Caption{lastZDateCaption}});
    addColumnHeadings(layout);
    addLines(layout, fill);
    addSummary(layout, fill);
    addBackPrintNote(layout, QStringLiteral("Печать с оборотом. Подписи печать на обороте"), 8);
    return layout;
}

// The manager with initials first, the shift's first operator with the surname first.
void writeNames(ReportLayout &layout, DocumentContext &context)
{
    layout.setCaption(managerCaption,
                      fioInitials(stationRequisite(context.dm, QStringLiteral("UPRAVFIO")), false));
    layout.setCaption(cashierCaption, chosenOperatorInitials(context.shift.operator1));
}

} // namespace

ReportLayout qrPERENOS()
{
    return transferLayout(FormFill::Filled);
}

ReportLayout qrPERENOSBL()
{
    return transferLayout(FormFill::Blank);
}

ReportLayout btnAktPerenosClick(DocumentContext &context)
{
    TfDM &dm = context.dm;
    openZActive(context);
    reopenForShift(dm.adoqPERENOS, context.idDovra);
    reopenForShift(dm.adoqPERENOSsum, context.idDovra);
    ReportLayout layout = qrPERENOS();
    setRequisiteSources(layout, dm);
    setDatasetSource(layout, zActiveQuery, dm.adoqZActive);
    setDatasetSource(layout, linesQuery, dm.adoqPERENOS);
    setDatasetSource(layout, sumQuery, dm.adoqPERENOSsum);
    writeNames(layout, context);
    return layout;
}

ReportLayout mPERENOSClick(DocumentContext &context)
{
    ReportLayout layout = qrPERENOSBL();
    setRequisiteSources(layout, context.dm);
    setBlankLineSource(layout, context.dm);
    layout.setCaption(lastZDateCaption, context.lastZ.date);
    writeNames(layout, context);
    return layout;
}
