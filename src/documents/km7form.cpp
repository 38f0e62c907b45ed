#include "km7form.h"

#include "db/datamodule.h"
#include "documents/formparts.h"
#include "documents/formsources.h"
#include "documents/rubproc.h"
#include "documents/shiftformblocks.h"

namespace {

const QString linesQuery = QStringLiteral("adoqKM7");
const QString sumQuery = QStringLiteral("adoqKM7Sum");
const QString correctedQuery = QStringLiteral("adoqKM7korr");
const QString moneyPattern = QStringLiteral("### ### ##0.00   ");

// Columns 1 to 14 of the table, across the landscape page.
const QList<qreal> columnWidths{26, 17, 19, 17, 15, 24, 24, 24, 22, 16, 22, 16, 19, 16};
const QList<qreal> headingRows{5, 8, 22, 4};
constexpr qreal lineHeight = 6;
constexpr qreal pageHeaderHeight = 10;
constexpr qreal numberTableLeft = 120;
constexpr qreal appendixLeft = 205;
constexpr qreal refundsTop = lineHeight + 4;
constexpr qreal refundWordsTop = refundsTop + 6;
constexpr qreal refundWordsWidth = 200;

FormGrid tableGrid()
{
    return FormGrid(columnWidths);
}

// The refunds "прописью": the words end with their noun and "---", the ruble mark follows.
AmountInWordsLine refundsInWords()
{
    AmountInWordsLine line({0, refundWordsTop, refundWordsWidth, 5},
                           QStringLiteral("lblVozvratPropis"), QStringLiteral("lblVozvratKop"));
    line.setRubleMark(QStringLiteral("руб."));
    line.setHint(QStringLiteral("(прописью)"));
    return line;
}

void addPageHeader(ReportLayout &layout)
{
    ReportBand &header = layout.band(BandKind::PageHeader);
    header.height = pageHeaderHeight;
    addFormLines(header.items, QStringLiteral("КМ-7"), FormSeries::KM, printableWidth(layout));
}

// "Приложения к кассовым очетам" with an empty line over "номер, дата".
void addAppendixLine(QList<ReportItem> &items, qreal top, qreal width)
{
    const qreal cellWidth = width - appendixLeft;
    items.append(ReportItem::text({appendixLeft, top, cellWidth, 4},
                                  QStringLiteral("Приложения к кассовым очетам"))
                     .withFont(formSmallFont()));
    items.append(ReportItem::cell({appendixLeft, top + 4, cellWidth, 5}, FrameSide::Bottom));
    items.append(ReportItem::text({appendixLeft, top + 9, cellWidth, 3}, QStringLiteral("номер, дата"))
                     .withFont(formSmallFont())
                     .withAlignment(Qt::AlignHCenter | Qt::AlignTop));
}

void addTitle(ReportLayout &layout, FormFill fill)
{
    const qreal width = printableWidth(layout);
    ReportBand &title = layout.band(BandKind::Title);
    UnifiedFormHeader header{QStringLiteral("КМ-7"),
                             FormSeries::KM,
                             QStringLiteral("0330107"),
                             {{QStringLiteral("по ОКПО"), requisiteField(QStringLiteral("OKPO"))},
                              {QStringLiteral("ИНН"), requisiteField(QStringLiteral("INN"))},
                              {QStringLiteral("Вид деятельности по ОКПД"),
                               requisiteField(QStringLiteral("OKDP"))},
                              {QStringLiteral("Вид операции"), FixedText{}}},
                             stationLines()};
    header.formLines = false; // they are in the page header
    qreal y = addUnifiedFormHeader(title.items, header, width) + 3;

    const qreal tableHeight = addDocumentNumberTable(
        title.items, {numberTableLeft, y}, filledOnly(fill, zActiveField(QStringLiteral("ZDay"))),
        filledOnly(fill, zActiveField(QStringLiteral("ZTimeEnd"))));
    title.items.append(boldText({0, y + tableHeight - 6, numberTableLeft - 5, 6},
                                QStringLiteral("СВЕДЕНИЯ"), 12, Qt::AlignRight | Qt::AlignVCenter));
    addAppendixLine(title.items, y, width);
    y += tableHeight + 2;
    title.items.append(boldText({0, y, width, 6},
                                QStringLiteral("О ПОКАЗАНИЯХ СЧЕТЧИКОВ КОНТРОЛЬНО-КАССОВЫХ МАШИН И "
                                               "ВЫРУЧКЕ ОРГАНИЗАЦИИ"),
                                11, Qt::AlignCenter));
    title.height = y + 8;
}

void addColumnHeadings(ReportLayout &layout)
{
    const FormGrid grid = tableGrid();
    auto text = [](const QString &heading) { return FixedText{heading}; };
    QList<GridCell> cells = registerHeadingCells();
    cells << GridCell{4, 0, text(QStringLiteral("Показания")), 3}
          << GridCell{4, 1, text(counterHeading), 1, 2}
          << GridCell{5, 1, text(QStringLiteral("суммирующих денежных счетчиков")), 2}
          << GridCell{5, 2, text(QStringLiteral("на начало рабочего дня (смены)"))}
          << GridCell{6, 2, text(QStringLiteral("на конец рабочего дня (смены)"))}
          << GridCell{7, 0,
                      text(QStringLiteral("Выручка согласно показаниям счетчика в сумме, руб. коп.")),
                      1, 3}
          << GridCell{8, 0, text(QStringLiteral("В том числе по отделам (секциям)")), 6};
    const QList<std::pair<QString, QString>> departments{
        {QStringLiteral("Отдел (секция) /наличные/"),
         QStringLiteral("выручка в сумме, руб.коп. (нал.)")},
        {QStringLiteral("Отдел (секция) /безнал./"),
         QStringLiteral("выручка в сумме, руб.коп. (безнал.)")},
        {QStringLiteral("Отдел (секция)"), QStringLiteral("выручка в сумме, руб.коп.")}};
    int column = 8;
    for (const auto &[department, revenue] : departments) {
        cells << GridCell{column, 1, text(department), 2} << GridCell{column, 2, text(revenue)}
              << GridCell{column + 1, 2, text(confirmationHeading)};
        column += 2;
    }
    cells += columnNumberCells(grid, 3);

    ReportBand &band = layout.band(BandKind::ColumnHeader);
    band.height = addGridCells(band.items, grid, headingRows, cells, 0, formSmallFont());
}

GridCell amountCell(int column, const QString &source, const QString &name)
{
    return {column, 0, DataField{source, name, moneyPattern}, 1, 1, amountAlignment};
}

void addLines(ReportLayout &layout, FormFill fill)
{
    QList<GridCell> cells = registerLineCells(linesQuery);
    cells << amountCell(5, linesQuery, QStringLiteral("narprodpred"))
          << amountCell(6, linesQuery, QStringLiteral("narprod"))
          << amountCell(7, linesQuery, QStringLiteral("viruchka"))
          << amountCell(8, linesQuery, QStringLiteral("fNalViruchka")) << GridCell{9}
          << amountCell(10, linesQuery, QStringLiteral("fBNalViruchka"));
    for (int column = 11; column < columnWidths.size(); ++column)
        cells << GridCell{column};

    ReportBand &band = layout.band(BandKind::Detail);
    band.source = fill == FormFill::Filled ? linesQuery : blankLines;
    band.height = addGridCells(band.items, tableGrid(),
                               {lineHeight}, fill == FormFill::Filled ? cells : blankedCells(cells),
                               0, tableFont());
}

void addSummary(ReportLayout &layout, FormFill fill)
{
    const FormGrid grid = tableGrid();
    ReportBand &summary = layout.band(BandKind::Summary);
    QList<ReportItem> &items = summary.items;
    items.append(boldText(grid.cell(0, 0, lineHeight, 7).adjusted(0, 0, -2, 0),
                          QStringLiteral("Итого"), 9, Qt::AlignRight | Qt::AlignVCenter));
    auto total = [fill](int column, const QString &source, const QString &name) {
        GridCell cell = amountCell(column, source, name);
        cell.content = filledOnly(fill, cell.content);
        return cell;
    };
    const FixedText cross{QStringLiteral("X")};
    addGridCells(items, grid, {lineHeight},
                 {total(7, sumQuery, QStringLiteral("sviruchka")),
                  total(8, correctedQuery, QStringLiteral("sfnal")), GridCell{9, 0, cross},
                  total(10, correctedQuery, QStringLiteral("sfbnal")), GridCell{11, 0, cross},
                  GridCell{12}, GridCell{13}},
                 0, tableFont());

    items.append(ReportItem::text({0, refundsTop, printableWidth(layout), 5},
                                  QStringLiteral("Выдано покупателям (клиентам) по возвращенным ими "
                                                 "чекам (ошибочно пробитым чекам) согласно акту в "
                                                 "сумме"))
                     .withFont(formBodyFont()));
    refundsInWords().addTo(items);
    const qreal signaturesTop = refundWordsTop + 12;
    summary.height = signaturesTop + addManagerAndCashier(items, {0, signaturesTop}) + 2;
}

ReportLayout km7Layout(FormFill fill)
{
    ReportLayout layout(QPageLayout::Landscape);
    addPageHeader(layout);
    addTitle(layout, fill);
    addColumnHeadings(layout);
    addLines(layout, fill);
    addSummary(layout, fill);
    addBackPrintNote(layout, QStringLiteral("Печатать с оборотом. Подписи печатать на обороте."), 8);
    return layout;
}

} // namespace

ReportLayout qrKM7()
{
    return km7Layout(FormFill::Filled);
}

ReportLayout qrKM7BL()
{
    return km7Layout(FormFill::Blank);
}

ReportLayout PrintKM7(DocumentContext &context)
{
    TfDM &dm = context.dm;
    openZActive(context);
    reopenForShift(dm.adoqKM7, context.idDovra);
    reopenForShift(dm.adoqKM7korr, context.idDovra);
    reopenForShift(dm.adoqKM7Sum, context.idDovra);

    ReportLayout layout = qrKM7();
    setRequisiteSources(layout, dm);
    setDatasetSource(layout, zActiveQuery, dm.adoqZActive);
    setDatasetSource(layout, linesQuery, dm.adoqKM7);
    setDatasetSource(layout, sumQuery, dm.adoqKM7Sum);
    setDatasetSource(layout, correctedQuery, dm.adoqKM7korr);
    // The refunds as the Z-reports state them: the acts do not change what was paid out.
    refundsInWords().fillWithNoun(layout, dm.adoqKM7Sum.field(QStringLiteral("sVOZVRATnal")).asFloat());
    layout.setCaption(managerCaption, fioInitials(stationRequisite(dm, QStringLiteral("UPRAVFIO")), false));
    layout.setCaption(cashierCaption, chosenOperatorInitials(context.shift.operator1));
    return layout;
}

ReportLayout mKM7Click(DocumentContext &context)
{
    ReportLayout layout = qrKM7BL();
    setRequisiteSources(layout, context.dm);
    setBlankLineSource(layout, context.dm);
    layout.setCaption(managerCaption,
                      fioInitials(stationRequisite(context.dm, QStringLiteral("UPRAVFIO")), true));
    return layout;
}

const QList<DocumentCommand> &km7Documents()
{
    static const QList<DocumentCommand> documents{
        {QStringLiteral("km7"), QStringLiteral("KM7 СВЕДЕН.ОБЩ"), PrintKM7},
        {QStringLiteral("km7-blank"), QStringLiteral("KM7 (бланк)"), mKM7Click},
    };
    return documents;
}
