#include "stationacts.h"

#include "db/datamodule.h"
#include "documents/formparts.h"
#include "documents/formsources.h"
#include "documents/rubproc.h"
#include "documents/shiftformblocks.h"
#include "documents/transferact.h"

namespace {

const QString actQuery = QStringLiteral("adoqKAkt");
const QString zDayCaption = QStringLiteral("lblZDay");
const QString zMonthCaption = QStringLiteral("lblZMonth");
const QString zYearCaption = QStringLiteral("lblZYear");
const QString revenuePattern = QStringLiteral("### ### ##0.00     ");
const QString appendixPattern = QStringLiteral("### ### ##0.00");

constexpr qreal lineHeight = 5.5;
constexpr qreal headingHalf = 95;
constexpr qreal dateLineLeft = 130;
constexpr qreal figureLabelWidth = 125;
constexpr qreal figureValueWidth = 50;
constexpr qreal signatureSpacing = 10;
// The acts' running text stands in the middle of its line.
constexpr Qt::Alignment middleLeft = Qt::AlignLeft | Qt::AlignVCenter;

// A date line left empty for the day the act is drawn up or entered.
DateLine emptyDate(bool guillemets, const QString &yearPrefix = {})
{
    return {FixedText{}, FixedText{}, FixedText{}, guillemets, yearPrefix};
}

// The organisation at the left, the structural unit at the right, and an empty date line beneath.
qreal addActHeading(QList<ReportItem> &items, qreal width, const DateLine &date)
{
    items.append(ReportItem{{0, 0, headingHalf, lineHeight}, requisiteField(QStringLiteral("nazvRBE")), {}}
                     .withFont(formBodyFont()));
    items.append(ReportItem{{width - headingHalf, 0, headingHalf, lineHeight},
                            composedRequisiteField(QStringLiteral("FilialAZS")),
                            {}}
                     .withFont(formBodyFont())
                     .withAlignment(Qt::AlignRight | Qt::AlignVCenter));
    addDateLine(items, date, {dateLineLeft, lineHeight + 2});
    return 2 * lineHeight + 4;
}

// "Кассовый аппарат №" and "Z-очет №" of the Z-report, "от" and its date, all as high as the
// date line's cells.
qreal addRegisterLine(QList<ReportItem> &items, qreal top)
{
    constexpr qreal height = 5;
    items.append(formText({0, top, 32, height}, QStringLiteral("Кассовый аппарат №"), middleLeft));
    items.append(underlined({32, top, 30, height}, zActiveField(QStringLiteral("nproizv")),
                            Qt::AlignCenter));
    items.append(formText({66, top, 17, height}, QStringLiteral("Z-очет №"), middleLeft));
    items.append(underlined({83, top, 16, height}, zActiveField(QStringLiteral("NZ")),
                            Qt::AlignCenter));
    items.append(formText({101, top, 5, height}, QStringLiteral("от"), middleLeft));
    addDateLine(items, {Caption{zDayCaption}, Caption{zMonthCaption}, Caption{zYearCaption}},
                {106, top});
    return height;
}

// The Z-report's date split for the date line; empty cells when there is no Z-report.
void writeZReportDate(ReportLayout &layout, const Query &zActive)
{
    const QString day = zActive.isEmpty() ? QString()
                                          : zActive.field(QStringLiteral("ZDay")).asString();
    const DocDateParts parts = day.isEmpty() ? DocDateParts{} : dateToDocParts(day);
    layout.setCaption(zDayCaption, parts.day);
    layout.setCaption(zMonthCaption, parts.month);
    layout.setCaption(zYearCaption, parts.year);
}

// Balances are stored where the window can write them; the export program reads them as stored.
void recomputeBalances(DocumentContext &context)
{
    if (context.recomputeBalances)
        context.recomputeBalances();
}

// The common first steps of both acts, the closing balances brought up to date on the way.
void openActData(DocumentContext &context)
{
    openRequisites(context.dm);
    recomputeBalances(context);
    openZActive(context);
}

void bindActData(ReportLayout &layout, DocumentContext &context)
{
    setRequisiteSources(layout, context.dm);
    setDatasetSource(layout, zActiveQuery, context.dm.adoqZActive);
    writeZReportDate(layout, context.dm.adoqZActive);
}

// --- The act determining the revenue ---

qreal addCommission(QList<ReportItem> &items, qreal top)
{
    items.append(formText({0, top, 60, lineHeight}, QStringLiteral("Комиссия в составе:"), middleLeft));
    qreal y = top + lineHeight;
    for (const char *member : {"1. Управляющий (мастер) АЗС", "2. Администратор АЗС",
                               "3. Оператор-кассир (начальник смены)", "4. Оператор-кассир"}) {
        items.append(formText({5, y, 65, lineHeight}, QString::fromUtf8(member), middleLeft));
        items.append(underlined({72, y, 80, lineHeight}, FixedText{}, Qt::AlignLeft));
        y += lineHeight + 0.5;
    }
    return y - top;
}

qreal addFigures(QList<ReportItem> &items, qreal top)
{
    const QList<std::pair<QString, QString>> figures{
        {QStringLiteral("Показания накопительных счетчиков на момент закрытия смены"), "NarPROD"},
        {QStringLiteral("Показания накопительных счетчиков на конец предыдущей смены"), "NarPRODpred"},
        {QStringLiteral("Итого выручка по показаниям счетчика"), "SumProd"},
        {QStringLiteral("Возврат по налу"), "NalVozvrat"},
        {QStringLiteral("Возврат по безналу"), "KredStorno"},
        {QStringLiteral("Итого выручка по наличным"), "NalViruchka"},
        {QStringLiteral("Итого выручка по безналу"), "KredViruchka"},
        {QStringLiteral("Сумма наличности в кассе"), "realsumkass"},
        {QStringLiteral("Сдано платежных документов"), "KredViruchka"},
        {QStringLiteral("Расхождение по наличности"), "dNalViruchka"},
        {{}, {}}, // a line left for the reason of the difference
        {QStringLiteral("Расхождение по безналу"), "dBNalViruchka"}};
    qreal y = top;
    for (const auto &[label, column] : figures) {
        if (column.isEmpty()) {
            items.append(ReportItem::cell({0, y, figureLabelWidth + figureValueWidth, lineHeight},
                                          FrameSide::Bottom));
        } else {
            items.append(formText({0, y, figureLabelWidth, lineHeight}, label, middleLeft));
            items.append(underlined({figureLabelWidth, y, figureValueWidth, lineHeight},
                                    zActiveField(column, revenuePattern),
                                    Qt::AlignRight | Qt::AlignVCenter));
        }
        y += lineHeight + 0.5;
    }
    return y - top;
}

// The goods report a commission fills in by hand when it recognises more cash than the Z-report.
qreal addGoodsTable(QList<ReportItem> &items, qreal top, qreal width)
{
    items.append(formText({0, top, width, lineHeight},
                          QStringLiteral("При признании наличной выручки больше, чем по Z-отчету, "
                                         "заполняются данные товарного отчета:"), middleLeft));
    const qreal tableTop = top + lineHeight + 1;
    const FormGrid grid({55, 35, 35, 45}, 10);
    QList<GridCell> cells;
    int column = 0;
    for (const char *heading : {"Бензин", "Литраж", "Цена", "Сумма"})
        cells.append({column++, 0, FixedText{QString::fromUtf8(heading)}});
    const QStringList goods{QStringLiteral("  АИ-98"), QStringLiteral("  АИ-95"),
                            QStringLiteral("  АИ-92"), QStringLiteral("  АИ-80"),
                            QStringLiteral("  Д/Т"), QStringLiteral("  Прочие товары")};
    for (int row = 0; row < goods.size(); ++row) {
        cells.append({0, row + 1, FixedText{goods.at(row)}, 1, 1, Qt::AlignLeft | Qt::AlignVCenter});
        for (int value = 1; value < 4; ++value)
            cells.append({value, row + 1});
    }
    const QList<qreal> rows(goods.size() + 1, lineHeight);
    qreal height = addGridCells(items, grid, rows, cells, tableTop, formBodyFont());
    ReportFont bold = formBodyFont();
    bold.bold = true;
    height += addGridCells(items, grid, {lineHeight},
                           {{0, 0, FixedText{QStringLiteral("  ИТОГО")}, 1, 1,
                             Qt::AlignLeft | Qt::AlignVCenter},
                            {1, 0}, {2, 0}, {3, 0}},
                           tableTop + height, bold);
    return tableTop + height - top;
}

qreal addDecision(QList<ReportItem> &items, qreal top)
{
    items.append(formText({0, top, 60, lineHeight}, QStringLiteral("Комиссия постановила:"), middleLeft));
    qreal y = top + lineHeight + 1;
    const QList<std::pair<QString, QString>> recognised{
        {QStringLiteral("ПРИЗНАТЬ СУММУ НАЛИЧНОЙ ВЫРУЧКИ"), QStringLiteral("realNalViruchka")},
        {QStringLiteral("ПРИЗНАТЬ СУММУ БЕЗНАЛИЧНОЙ ВЫРУЧКИ"), QStringLiteral("realBNalViruchka")}};
    for (const auto &[label, column] : recognised) {
        items.append(formText({0, y, 80, lineHeight}, label, middleLeft));
        items.append(underlined({80, y, 45, lineHeight}, zActiveField(column), Qt::AlignCenter));
        y += lineHeight + 1;
    }
    items.append(formText({0, y, 90, lineHeight},
                          QStringLiteral("АКТ ОТРАЖЕН В КНИГЕ КАССИРА-ОПЕРАЦИОНИСТА"), middleLeft));
    addDateLine(items, emptyDate(true, QStringLiteral("20")), {90, y});
    return y + lineHeight - top;
}

qreal addCommissionSignatures(QList<ReportItem> &items, qreal top)
{
    items.append(formText({0, top, 60, lineHeight}, QStringLiteral("Подписи членов комиссии:"), middleLeft));
    qreal y = top + lineHeight + 1;
    const FixedText empty;
    const QList<ItemContent> positions{requisiteField(QStringLiteral("UPRAVDOLJN")),
                                       FixedText{QStringLiteral("Оператор")},
                                       FixedText{QStringLiteral("Оператор")}, empty};
    for (const ItemContent &position : positions) {
        addSignatureLine(items, {.name = empty, .position = position, .roleWidth = 0,
                                 .nameBeforeSignature = true},
                         {0, y});
        y += signatureSpacing;
    }
    return y - top;
}

ReportLayout revenueActLayout()
{
    ReportLayout layout;
    const qreal width = printableWidth(layout);
    ReportBand &title = layout.band(BandKind::Title);
    QList<ReportItem> &items = title.items;
    qreal y = addActHeading(items, width, emptyDate(true, QStringLiteral("20"))) + 2;

    items.append(boldText({0, y, width / 2, 7}, QStringLiteral("АКТ №"), 12,
                          Qt::AlignRight | Qt::AlignVCenter));
    ReportFont numberFont = formBodyFont();
    numberFont.pointSize = 12;
    numberFont.bold = true;
    items.append(ReportItem{{width / 2 + 2, y, 40, 7}, DataField{actQuery, QStringLiteral("nakt"), {}}, {}}
                     .withFont(numberFont));
    y += 7;
    items.append(formText({0, y, width, lineHeight}, QStringLiteral("Об определении выручки"),
                          Qt::AlignCenter));
    y += lineHeight + 3;
    y += addCommission(items, y) + 2;
    y += addRegisterLine(items, y) + 3;
    y += addFigures(items, y) + 2;
    y += addGoodsTable(items, y, width) + 3;
    y += addDecision(items, y) + 3;
    y += addCommissionSignatures(items, y);
    ReportFont note = formSmallFont();
    note.pointSize = 7;
    items.append(ReportItem::text({0, y, width, 4},
                                  QStringLiteral("Примечание: соответствие суммы в кассе по Z-отчету "
                                                 "производится корректирующей инкассацией или вносом "
                                                 "наличных в следующую смену"))
                     .withFont(note));
    title.height = y + 4;
    return layout;
}

// --- The appendix on the corrective encashment, withdrawal and deposit ---

const QString managerNameCaption = QStringLiteral("lblUpravFIO");
const QString accountantNameCaption = QStringLiteral("lblBuhFIO");
const QString operatorNameCaption = QStringLiteral("lblOperFIO");

qreal addCorrections(QList<ReportItem> &items, qreal top)
{
    // The labels carry their own blanks, which line "на сумму" up in the form's serif font.
    const QList<std::pair<QString, QString>> corrections{
        {QStringLiteral("ИНКАССАЦИЯ (корректирующая) на сумму "), QStringLiteral("skorrinkass")},
        {QStringLiteral("ВЫНОС (корректирующий)              на сумму "), QStringLiteral("skorrvinos")},
        {QStringLiteral("ВНОС (корректирующий)                  на сумму "), QStringLiteral("skorrvnos")},
        {QStringLiteral("Фактический остаток в кассе "), QStringLiteral("realsumkass")}};
    qreal y = top;
    for (const auto &[label, column] : corrections) {
        items.append(formText({0, y, 75, lineHeight}, label, middleLeft));
        items.append(underlined({75, y, 40, lineHeight}, zActiveField(column, appendixPattern),
                                Qt::AlignRight | Qt::AlignVCenter));
        y += lineHeight + 2;
    }
    return y - top;
}

qreal addAppendixSignatures(QList<ReportItem> &items, qreal top)
{
    const QList<SignatureLine> lines{
        {.role = QStringLiteral("ОПЕРАЦИЮ РАЗРЕШИЛ"), .name = Caption{managerNameCaption},
         .position = requisiteField(QStringLiteral("UPRAVDOLJN")), .boldRole = true,
         .nameBeforeSignature = true},
        {.role = QStringLiteral("СОГЛАСОВАНО"), .name = Caption{accountantNameCaption},
         .position = FixedText{QStringLiteral("Гл.бухгалтер")}, .boldRole = true,
         .nameBeforeSignature = true},
        {.role = QStringLiteral("Оператор-контролер-кассир"), .name = Caption{operatorNameCaption},
         .nameBeforeSignature = true}};
    qreal y = top;
    for (const SignatureLine &line : lines) {
        addSignatureLine(items, line, {0, y});
        y += signatureSpacing + 2;
    }
    addDateLine(items, emptyDate(false), {0, y});
    return y + lineHeight - top;
}

ReportLayout appendixLayout()
{
    ReportLayout layout;
    const qreal width = printableWidth(layout);
    ReportBand &title = layout.band(BandKind::Title);
    QList<ReportItem> &items = title.items;
    qreal y = addActHeading(items, width, emptyDate(false)) + 4;
    items.append(boldText({0, y, width, 7},
                          QStringLiteral("ПРИЛОЖЕНИЕ К АКТУ № _____ (об определении выручки)"), 12,
                          Qt::AlignCenter));
    y += 12;
    y += addRegisterLine(items, y) + 5;
    items.append(formText({0, y, width, lineHeight},
                          QStringLiteral("В соответсвии с Актом № _____ от ____.______________.20___ "
                                         "г.   для коррекции:"), middleLeft));
    y += lineHeight + 1;
    items.append(boldText({0, y, 25, lineHeight}, QStringLiteral("ВЫПОЛНЕН(А)"), 9));
    items.append(formText({25, y, 100, lineHeight},
                          QStringLiteral("о коррекции ошибочной суммы в кассе"), middleLeft));
    y += lineHeight + 5;
    y += addCorrections(items, y) + 6;
    y += addAppendixSignatures(items, y) + 6;
    items.append(ReportItem::text({0, y, width, 4},
                                  QStringLiteral("Примечание: настоящий Акт является приложением к "
                                                 "Акту об определении выручки"))
                     .withFont(formSmallFont()));
    title.height = y + 4;
    return layout;
}

} // namespace

ReportLayout qrAktNB()
{
    return revenueActLayout();
}

ReportLayout qrKorInkassVn()
{
    return appendixLayout();
}

ReportLayout printKAkt(DocumentContext &context)
{
    openActData(context);
    Query &act = context.dm.adoqKAkt;
    act.close();
    act.setParam(QStringLiteral("idz"), context.idZ);
    act.open();
    ReportLayout layout = qrAktNB();
    bindActData(layout, context);
    setDatasetSource(layout, actQuery, act);
    return layout;
}

ReportLayout printKorInkassVn(DocumentContext &context)
{
    openActData(context);
    ReportLayout layout = qrKorInkassVn();
    bindActData(layout, context);
    TfDM &dm = context.dm;
    layout.setCaption(accountantNameCaption,
                      fioInitials(stationRequisite(dm, QStringLiteral("BUHGALTER")), true));
    layout.setCaption(operatorNameCaption, chosenOperatorInitials(context.shift.operator1));
    layout.setCaption(managerNameCaption,
                      fioInitials(stationRequisite(dm, QStringLiteral("UPRAVFIO")), true));
    return layout;
}

const QList<DocumentCommand> &stationActDocuments()
{
    static const QList<DocumentCommand> documents{
        {QStringLiteral("revenue-act"), QStringLiteral("АКТ-Нал/БНал"), printKAkt},
        {QStringLiteral("correction-appendix"), QStringLiteral("Кор.ИНКАС/Внос"), printKorInkassVn},
        {QStringLiteral("transfer"), QStringLiteral("ВНОС/ВЫНОС(ОБЩ)"), btnAktPerenosClick},
        {QStringLiteral("transfer-blank"), QStringLiteral("ПЕРЕНОС (бланк)"), mPERENOSClick},
    };
    return documents;
}
