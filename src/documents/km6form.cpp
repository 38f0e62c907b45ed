#include "km6form.h"

#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "documents/formsources.h"
#include "documents/formparts.h"
#include "documents/rubproc.h"

namespace {

const QString moneyPattern = QStringLiteral("### ### ##0.00");
const ReportFont titleFont{.pointSize = 10, .bold = true};

// Captions the preparing functions write.
const QString cashierCode = QStringLiteral("cashierCode");
const QString shiftNumber = QStringLiteral("shiftNumber");
const QString department = QStringLiteral("department");
const QString counterCashier = QStringLiteral("counterCashier");
const QString actLabel = QStringLiteral("actLabel");
const QString cashCorrection = QStringLiteral("cashCorrection");
const QString cardCorrection = QStringLiteral("cardCorrection");
const QString revenueWords = QStringLiteral("revenueWords");
const QString orderDate = QStringLiteral("order");
const QString bankDate = QStringLiteral("bank");
const QString bagDate = QStringLiteral("bag");
const QString bagNumbers = QStringLiteral("bagNumbers");
const QString seniorCashier = QStringLiteral("seniorCashier");
const QString cashierOperator = QStringLiteral("cashierOperator");
const QString manager = QStringLiteral("manager");
const QString bagTotal = QStringLiteral("bagTotal");
const QString registersInkass = QStringLiteral("registersInkass");
const QString correctiveInkass = QStringLiteral("correctiveInkass");

// Vertical places on the title band, in millimetres from its top.
constexpr qreal documentLineTop = 59;
constexpr qreal counterTableTop = 77;
constexpr qreal counterHeadingHeight = 32;
constexpr qreal columnNumbersHeight = 4;
constexpr qreal rowHeight = 5;

// The ten columns of the counter table and of the breakdown beneath it.
const FormGrid counterColumns({18, 10, 10, 22, 20, 28, 23, 23, 25, 11}, 0);

void addHeader(QList<ReportItem> &items, FormKind kind, qreal width)
{
    const UnifiedFormHeader header{
        QStringLiteral("КМ-6"),
        FormSeries::KM,
        QStringLiteral("0330106"),
        {{QStringLiteral("по ОКПО"), requisite(QStringLiteral("OKPO"))},
         {{}, FixedText{}},
         {QStringLiteral("ИНН"), requisite(QStringLiteral("INN"))},
         {{}, FixedText{}},
         {QStringLiteral("Вид деятельности по ОКПД"), requisite(QStringLiteral("OKDP"))},
         {QStringLiteral("производителя"), registerNumber(kind, QStringLiteral("nproizv")),
          QStringLiteral("номер")},
         {QStringLiteral("регистрационный"), registerNumber(kind, QStringLiteral("nreg")),
          QStringLiteral("номер")},
         {{}, FixedText{}},
         {QStringLiteral("Кассир"), Caption{cashierCode}},
         {QStringLiteral("Смена"), Caption{shiftNumber}},
         {QStringLiteral("Вид операции"), FixedText{}}},
        {{{},
          requisite(QStringLiteral("nazvRBE")),
          QStringLiteral("(организация, адрес, номер телефона)")},
         {{}, composedRequisite(QStringLiteral("AdrTel")), {}, true},
         {{},
          composedRequisite(QStringLiteral("FilialAZS")),
          QStringLiteral("(структурное подразделение)")},
         // The model prints on the blank too: it is the register's, not the shift's.
         {QStringLiteral("Контрольно-\nкассовая машина"), zActiveValue(QStringLiteral("KKMNazv")),
          QStringLiteral("(модель (класс, тип, марка))")},
         {QStringLiteral("Прикладная программа"), composedRequisite(QStringLiteral("SoftName")),
          QStringLiteral("(наименование)")}}};
    addUnifiedFormHeader(items, header, width);
}

// The title beside the document's number, date and working hours.
void addDocumentLine(QList<ReportItem> &items, FormKind kind)
{
    const qreal top = documentLineTop;
    items << formText({0, top + 3, 54, 5}, QStringLiteral("СПРАВКА-ОТЧЕТ"), Qt::AlignCenter,
                      titleFont)
          << formText({0, top + 8, 54, 5}, QStringLiteral("КАССИРА-ОПЕРАЦИОНИСТА"), Qt::AlignCenter,
                      titleFont);

    const FormGrid grid({17, 19, 11, 11}, 55);
    constexpr qreal headingHeight = 7;
    constexpr qreal subHeadingHeight = 3.5;
    const qreal valuesTop = top + headingHeight + subHeadingHeight;
    items << headingCell(grid.cell(0, top, valuesTop - top), QStringLiteral("Номер документа"))
          << headingCell(grid.cell(1, top, valuesTop - top), QStringLiteral("Дата составления"))
          << headingCell(grid.cell(2, top, headingHeight, 2),
                         QStringLiteral("Время работы, ч, мин. "))
          << headingCell(grid.cell(2, top + headingHeight, subHeadingHeight), QStringLiteral("с"))
          << headingCell(grid.cell(3, top + headingHeight, subHeadingHeight), QStringLiteral("по"));
    const QStringList values{"NZ", "ZDay", "ZTIMEPRED", "ZTimeEnd"};
    for (int column = 0; column < values.size(); ++column)
        items << tableCell(grid.cell(column, valuesTop, rowHeight), zValue(kind, values[column]));
}

qreal addCounterTable(QList<ReportItem> &items, FormKind kind)
{
    const FormGrid &grid = counterColumns;
    const qreal top = counterTableTop;
    const qreal height = counterHeadingHeight;
    constexpr qreal groupHeight = 5;
    const qreal below = top + groupHeight;
    items << headingCell(grid.cell(0, top, height),
                         QStringLiteral("Порядковый номер контрольного счетчика (отчета фискальной "
                                        "памяти) на конец рабочего дня (смены)"))
          << headingCell(grid.cell(1, top, groupHeight, 2), QStringLiteral("Номер"))
          << headingCell(grid.cell(3, top, groupHeight, 3), QStringLiteral("Показания"))
          << headingCell(grid.cell(6, top, groupHeight, 2), QStringLiteral("Сумма, руб. коп."))
          << headingCell(grid.cell(8, top, groupHeight, 2),
                         QStringLiteral("Заведующий отделом, секцией"))
          << headingCell(grid.cell(1, below, height - groupHeight), QStringLiteral("отдела"))
          << headingCell(grid.cell(2, below, height - groupHeight), QStringLiteral("секции"))
          << headingCell(grid.cell(3, below, height - groupHeight),
                         QStringLiteral("контрольного счетчика (отчета фискальной памяти), "
                                        "регистрирующего количество переводов суммирующих "
                                        "счетчиков на нули"))
          << headingCell(grid.cell(4, below, groupHeight, 2),
                         QStringLiteral("суммирующего денежного счетчика"))
          << headingCell(grid.cell(4, below + groupHeight, height - 2 * groupHeight),
                         QStringLiteral("на начало рабочего дня (смены)"))
          << headingCell(grid.cell(5, below + groupHeight, height - 2 * groupHeight),
                         QStringLiteral("на конец рабочего дня (смены)"))
          << headingCell(grid.cell(6, below, height - groupHeight),
                         QStringLiteral("выручка за рабочий день (смену) по счетчику"))
          << headingCell(grid.cell(7, below, height - groupHeight),
                         QStringLiteral("денег, возвращенная покупателям (клиентам) по "
                                        "неиспользованным кассовым чекам"))
          << headingCell(grid.cell(8, below, height - groupHeight),
                         QStringLiteral("фамилия, и.,о."))
          << headingCell(grid.cell(9, below, height - groupHeight), QStringLiteral("подпись"));

    const qreal numbersTop = top + height;
    for (int column = 0; column < 10; ++column)
        items << headingCell(grid.cell(column, numbersTop, columnNumbersHeight),
                             QString::number(column + 1));

    const qreal rowTop = numbersTop + columnNumbersHeight;
    const auto amount = [&](int column, const char *name) {
        return tableCell(grid.cell(column, rowTop, rowHeight), zValue(kind, name, moneyPattern),
                         Qt::AlignRight | Qt::AlignVCenter);
    };
    items << tableCell(grid.cell(0, rowTop, rowHeight), zValue(kind, QStringLiteral("NZ")))
          << tableCell(grid.cell(1, rowTop, rowHeight), Caption{department})
          << tableCell(grid.cell(2, rowTop, rowHeight), FixedText{QStringLiteral("-")})
          << tableCell(grid.cell(3, rowTop, rowHeight), FixedText{QStringLiteral("-")})
          << amount(4, "NarPRODpred") << amount(5, "NarPROD") << amount(6, "SumProd")
          << amount(7, "SumVozvrat")
          << tableCell(grid.cell(8, rowTop, rowHeight), Caption{counterCashier}, Qt::AlignCenter,
                       ReportFont{.pointSize = 8})
          << tableCell(grid.cell(9, rowTop, rowHeight), FixedText{});
    return rowTop + rowHeight;
}

// The breakdown of the counter row by kind of payment, with the correction act's effect in the
// counter columns' place.
qreal addBreakdown(QList<ReportItem> &items, FormKind kind, qreal top)
{
    const FormGrid &grid = counterColumns;
    items << tableCell(grid.cell(0, top, rowHeight, 10),
                       FixedText{QStringLiteral("    Расшифровка отпуска по сменному отчету")},
                       Qt::AlignLeft | Qt::AlignVCenter, ReportFont{.pointSize = 9, .bold = true});
    const auto dashes = [&](qreal y, std::initializer_list<int> columns) {
        for (int column : columns)
            items << tableCell(grid.cell(column, y, rowHeight), FixedText{QStringLiteral("-")});
    };
    const auto text = [&](int column, qreal y, const QString &value, Qt::Alignment alignment) {
        items << tableCell(grid.cell(column, y, rowHeight), FixedText{value}, alignment);
    };
    const auto amount = [&](int column, qreal y, const char *name) {
        items << tableCell(grid.cell(column, y, rowHeight), zValue(kind, name, moneyPattern),
                           Qt::AlignRight | Qt::AlignVCenter);
    };
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;

    qreal y = top + rowHeight;
    dashes(y, {0, 1, 2, 3, 8, 9});
    items << tableCell(grid.cell(4, y, rowHeight), Caption{actLabel})
          << headingCell(grid.cell(5, y, rowHeight), QStringLiteral("Вид реализации"))
          << headingCell(grid.cell(6, y, rowHeight), QStringLiteral("*Выручка"))
          << headingCell(grid.cell(7, y, rowHeight), QStringLiteral("Возвраты"));

    const struct
    {
        QString caption;
        QString correction;
        const char *revenue;
        const char *refunds;
    } payments[]
        = {{QStringLiteral("     Выручка нал"), cashCorrection, "NalProd", "NalVozvrat"},
           {QStringLiteral("     Выручка безнал"), cardCorrection, "KredProd", "KredStorno"}};
    for (const auto &payment : payments) {
        y += rowHeight;
        dashes(y, {0, 1, 2, 3, 8, 9});
        items << tableCell(grid.cell(4, y, rowHeight), Caption{payment.correction});
        text(5, y, payment.caption, left);
        amount(6, y, payment.revenue);
        amount(7, y, payment.refunds);
    }

    y += rowHeight;
    dashes(y, {0, 1, 2, 3, 8, 9});
    items << tableCell(grid.cell(4, y, rowHeight, 4),
                       FixedText{QStringLiteral("*выручка в гр.7 указывается без учета возврата")},
                       left);

    y += rowHeight;
    dashes(y, {0, 1, 2, 3, 8, 9});
    items << tableCell(grid.cell(4, y, rowHeight), FixedText{});
    text(5, y, QStringLiteral("Итого  "), Qt::AlignRight | Qt::AlignVCenter);
    amount(6, y, "SumProd");
    amount(7, y, "SumVozvrat");
    return y + rowHeight;
}

// The real cash revenue in words, then in figures.
qreal addRevenue(QList<ReportItem> &items, FormKind kind, qreal top)
{
    items << formText({0, top, 38, 5}, QStringLiteral("Итого выручка в сумме"));
    addHintedField(items, {38, top, 152, 5}, Caption{revenueWords}, QStringLiteral("(прописью)"),
                   Qt::AlignLeft);
    const qreal figures = top + 9;
    items
        << underlined({38, figures, 30, 5},
                      zValue(kind, QStringLiteral("NalViruchkaRub"), QStringLiteral("### ### ##0")),
                      Qt::AlignRight | Qt::AlignBottom)
        << formText({68, figures, 9, 5}, QStringLiteral("руб."), Qt::AlignCenter | Qt::AlignBottom)
        << underlined({77, figures, 10, 5},
                      zValue(kind, QStringLiteral("NalViruchkaCop"), QStringLiteral("00")),
                      Qt::AlignCenter | Qt::AlignBottom)
        << formText({87, figures, 9, 5}, QStringLiteral("коп."), Qt::AlignCenter | Qt::AlignBottom);
    return figures + 5;
}

// Where the cash went: the receipt order, the bank and the collectors' bags.
qreal addCashRoute(QList<ReportItem> &items, qreal top)
{
    constexpr qreal datesLeft = 92;
    qreal y = top;
    items << formText({0, y, 60, 5}, QStringLiteral("Принята и оприходована по кассе"));
    y += 5;
    items << formText({0, y, 56, 5}, QStringLiteral("по приходному кассовому ордеру №"))
          << underlined({56, y, 30, 5}, FixedText{});
    addDateLine(items, dateCaptions(orderDate), {datesLeft, y});

    y += 8;
    items << formText({0, y, 22, 5}, QStringLiteral("Сдана в банк"))
          << formText({22, y, 7, 5}, QStringLiteral("р/с"))
          << underlined({29, y, 37, 5}, requisite(QStringLiteral("RSchet")))
          << formText({66, y, 5, 5}, QStringLiteral("в"), Qt::AlignCenter | Qt::AlignBottom)
          << underlined({71, y, 89, 5}, requisite(QStringLiteral("BANK")),
                        Qt::AlignLeft | Qt::AlignBottom, ReportFont{.pointSize = 8})
          << formText({160, y, 9, 5}, QStringLiteral("БИК"), Qt::AlignCenter | Qt::AlignBottom)
          << underlined({169, y, 21, 5}, requisite(QStringLiteral("BIK")));
    y += 7;
    items << formText({22, y, 7, 5}, QStringLiteral("к/с"))
          << underlined({29, y, 37, 5}, requisite(QStringLiteral("KSchet")));
    addDateLine(items, dateCaptions(bankDate), {datesLeft, y});

    y += 8;
    items << formText({0, y, 22, 5}, QStringLiteral("Квитанция №"))
          << underlined({22, y, 66, 5}, Caption{bagNumbers});
    addDateLine(items, dateCaptions(bagDate), {datesLeft, y});
    return y + 5;
}

qreal addSignatures(QList<ReportItem> &items, qreal top)
{
    // The two cashiers' cells stand under the manager's, whose line has a position.
    constexpr qreal alignedRole = roleWidthUnderPosition;
    constexpr qreal lineStep = 11;
    addSignatureLine(
        items,
        {QStringLiteral("Старший кассир"), Caption{seniorCashier}, std::nullopt, alignedRole},
        {0, top});
    addSignatureLine(items,
                     {QStringLiteral("Кассир-операционист"), Caption{cashierOperator}, std::nullopt,
                      alignedRole},
                     {0, top + lineStep});
    return top + 2 * lineStep
           + addSignatureLine(items,
                              {QStringLiteral("Руководитель"), Caption{manager},
                               requisite(QStringLiteral("UPRAVDOLJN"))},
                              {0, top + 2 * lineStep});
}

// The encashment totals in small print, for the accountants' cross-check.
qreal addEncashmentNote(QList<ReportItem> &items, FormKind kind, qreal top)
{
    constexpr qreal step = 3.5;
    const ReportFont font = formSmallFont();
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const auto text = [&](qreal x, qreal y, qreal width, const QString &value) {
        items << formText({x, y, width, step}, value, Qt::AlignLeft | Qt::AlignVCenter, font);
    };
    const auto value = [&](const QRectF &rect, const ItemContent &content) {
        items << ReportItem{rect, content, {}}.withFont(font).withAlignment(right);
    };
    const auto amount = [&](qreal x, qreal y, const ItemContent &content) {
        value({x, y, 24, step}, content);
        text(x + 24, y, 8, QStringLiteral(" руб."));
    };

    if (kind == FormKind::Blank) {
        text(0, top, 42, QStringLiteral("Примечание, общая сумма инкассации:"));
        items << underlined({42, top, 24, step}, FixedText{}, right, font);
        text(66, top, 8, QStringLiteral(" руб."));
        return top + step;
    }
    text(0, top, 42, QStringLiteral("Примечание. Общая сумма инкассации:"));
    text(42, top, 20, QStringLiteral("по сумкам"));
    amount(62, top, Caption{bagTotal});
    qreal y = top + step;
    text(42, y, 20, QStringLiteral("по всем кассам"));
    amount(62, y, Caption{registersInkass});
    text(96, y, 20, QStringLiteral("сум.кор.инкасс."));
    amount(116, y, Caption{correctiveInkass});
    y += step;
    text(42, y, 14, QStringLiteral("по кассе №"));
    value({56, y, 6, step}, zValue(kind, QStringLiteral("nKass")));
    amount(62, y, zValue(kind, QStringLiteral("INKASS"), QStringLiteral("### ###.00")));
    text(96, y, 20, QStringLiteral("кор.инкассация"));
    amount(116, y, zValue(kind, QStringLiteral("korrInkass"), QStringLiteral("### ##0.00")));
    return y + step;
}

ReportLayout km6Layout(FormKind kind)
{
    ReportLayout layout;
    const QRectF area = layout.page().printableArea();
    ReportBand &title = layout.band(BandKind::Title);
    addHeader(title.items, kind, area.width());
    addDocumentLine(title.items, kind);
    qreal y = addCounterTable(title.items, kind);
    y = addBreakdown(title.items, kind, y + 2);
    y = addRevenue(title.items, kind, y + 3);
    y = addCashRoute(title.items, y + 3);
    y = addSignatures(title.items, y + 4);
    title.height = addEncashmentNote(title.items, kind, y + 3);

    layout.pageItems() << formText({0, area.height() - 4, area.width(), 4},
                                   QStringLiteral("Печать с оборотом. Подписи печать на обороте"),
                                   Qt::AlignLeft | Qt::AlignBottom, formSmallFont());
    return layout;
}

// A correction of the revenue by the act: the amount on the right, or a centred "-" for none.
void setCorrection(ReportLayout &layout, const QString &caption, double amount)
{
    if (amount != 0) {
        layout.setCaption(caption, plainAmountText(amount) + QStringLiteral("  "));
        alignCaption(layout, caption, Qt::AlignRight | Qt::AlignVCenter);
    } else {
        layout.setCaption(caption, QStringLiteral("-"));
        alignCaption(layout, caption, Qt::AlignCenter);
    }
}

QString managerInitials(TfDM &dm)
{
    return fioInitials(stationRequisite(dm, QStringLiteral("UPRAVFIO")), true);
}

} // namespace

ReportLayout qrKM6()
{
    return km6Layout(FormKind::Filled);
}

ReportLayout qrKM6BL()
{
    return km6Layout(FormKind::Blank);
}

ReportLayout printKM6(DocumentContext &context)
{
    TfDM &dm = context.dm;
    const ShiftTexts &shift = context.shift;
    openRequisites(dm);
    openZActive(context);
    ReportLayout layout = qrKM6();
    bindFormSources(layout, dm);

    setDateCaptions(layout, orderDate, dateToDocParts(shift.date));
    if (strToFloatClean(shift.inkassTotal) != 0) {
        const DocDateParts encashment = dateToDocParts(shift.inkassDate);
        setDateCaptions(layout, bankDate, encashment);
        setDateCaptions(layout, bagDate, encashment);
    }

    layout.setCaption(revenueWords, rubToWords(zAmount(dm, QStringLiteral("realNalViruchka"))));
    layout.setCaption(bagNumbers, shift.bagList);

    const double cash = zAmount(dm, QStringLiteral("dNalViruchka"));
    const double card = zAmount(dm, QStringLiteral("dBNalViruchka"));
    setCorrection(layout, cashCorrection, cash);
    setCorrection(layout, cardCorrection, card);
    layout.setCaption(actLabel, cash != 0 || card != 0
                                    ? QStringLiteral("Акт № ") + zText(dm, QStringLiteral("NAkt"))
                                    : QStringLiteral("-"));

    const QString cashier = chosenOperatorInitials(shift.operator1);
    for (const QString &caption : {cashierCode, counterCashier, seniorCashier})
        layout.setCaption(caption, cashier);
    layout.setCaption(cashierOperator, chosenOperatorInitials(shift.operator2));
    layout.setCaption(manager, managerInitials(dm));
    layout.setCaption(shiftNumber, shift.number);
    layout.setCaption(department, QStringLiteral("1:") + zText(dm, QStringLiteral("nKass")));

    layout.setCaption(bagTotal, shift.inkassTotalShown);
    layout.setCaption(registersInkass, shift.registersInkass);
    layout.setCaption(correctiveInkass, shift.correctiveInkass);
    return layout;
}

ReportLayout mKM6Click(DocumentContext &context)
{
    ReportLayout layout = qrKM6BL();
    useOpenedRequisites(context.dm);
    bindFormSources(layout, context.dm);
    setLastRegisterNumbers(layout, context.lastZ);
    layout.setCaption(manager, managerInitials(context.dm));
    return layout;
}

const QList<DocumentCommand> &km6Documents()
{
    static const QList<DocumentCommand> documents{
        {QStringLiteral("km6"), QStringLiteral("КМ6 СПР.ОТЧЕТ"), printKM6},
        {QStringLiteral("km6-blank"), QStringLiteral("KM6 (бланк)"), mKM6Click},
    };
    return documents;
}
