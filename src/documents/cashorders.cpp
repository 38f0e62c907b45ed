#include "cashorders.h"

#include "db/datamodule.h"
#include "documents/formsources.h"
#include "documents/formparts.h"
#include "documents/rubproc.h"
#include "platform/report/reportpainter.h"

namespace {

// A line of dashes width millimetres long, so that nothing can be written there by hand.
QString dashLine(qreal width)
{
    return padWithDashes({}, width, formBodyFont().toQFont()).value_or(QString());
}

const ReportFont titleFont{.pointSize = 10, .bold = true};
const QString wholeRubles = QStringLiteral("########0");
const QString kopecks = QStringLiteral("00");
const Qt::Alignment centred = Qt::AlignCenter | Qt::AlignBottom;
const Qt::Alignment onRight = Qt::AlignRight | Qt::AlignBottom;

// Captions of both orders.
const QString accountant = QStringLiteral("accountant");
const QString cashier = QStringLiteral("cashier");

// Captions of KO-1.
const QString unitCode = QStringLiteral("unitCode");
const QString receivedFrom = QStringLiteral("receivedFrom");
const QString receiptFrom = QStringLiteral("receiptFrom");
const QString reportReference = QStringLiteral("reportReference");
const QString receiptDate = QStringLiteral("receiptDate");

// Captions of KO-2.
const QString amountFigures = QStringLiteral("amountFigures");
const QString issuedTo = QStringLiteral("issuedTo");
const QString bagReference = QStringLiteral("bagReference");
const QString manager = QStringLiteral("manager");
const QString receivedDashes = QStringLiteral("receivedDashes");
const QString receivedKopecks = QStringLiteral("receivedKopecks");
const QString compiledOn = QStringLiteral("compiledOn");
const QString issueDate = QStringLiteral("issueDate");

constexpr qreal pageWidth = 190;
// KO-1: the order at the left, the cut line, the receipt at the right.
constexpr qreal orderWidth = 122;
constexpr qreal cutLineX = 126;
constexpr qreal receiptLeft = 130;
constexpr qreal receiptWidth = 60;
// KO-2's line of what the collectors received, dashed up to "руб.".
constexpr qreal receivedDashesWidth = 162;
const QString issueKopeckCaption = QStringLiteral("issueKopecks");

// "Номер документа" and "Дата составления" over their values, at the right of the title.
void addDocumentNumberTable(QList<ReportItem> &items, qreal left, qreal columnWidth,
                            const ItemContent &date, const QString &title, qreal titleLeft)
{
    const FormGrid grid({columnWidth, columnWidth}, left);
    items << headingCell(grid.cell(0, 34, 7), QStringLiteral("Номер документа"))
          << headingCell(grid.cell(1, 34, 7), QStringLiteral("Дата составления"))
          << tableCell(grid.cell(0, 41, 5), FixedText{}) << tableCell(grid.cell(1, 41, 5), date)
          << formText({titleLeft, 41, left - 2 - titleLeft, 5}, title, Qt::AlignCenter, titleFont);
}

// The accounting table of the orders: one row of headings over the rest, the debit or the
// credit split into four sub-columns, and the row of accounts.
struct AccountingTable
{
    QList<qreal> widths;
    int splitColumn; // the first of the four columns under the split heading
    QString splitHeading;
    QString singleHeading; // the other of debit and credit, standing alone
    QString analyticsHeading;
    QList<ItemContent> row;
};

void addAccountingTable(QList<ReportItem> &items, const AccountingTable &table)
{
    constexpr qreal top = 49;
    constexpr qreal upper = 4;
    constexpr qreal lower = 10;
    const FormGrid grid(table.widths);
    const int split = table.splitColumn;
    const int single = split == 0 ? 4 : 0;
    items << headingCell(grid.cell(split, top, upper, 4), table.splitHeading)
          << headingCell(grid.cell(single, top, upper + lower), table.singleHeading)
          << headingCell(grid.cell(split, top + upper, lower), {})
          << headingCell(grid.cell(split + 1, top + upper, lower),
                         QStringLiteral("код структурного подразделения"))
          << headingCell(grid.cell(split + 2, top + upper, lower),
                         QStringLiteral("корреспондирующий счет, субсчет"))
          << headingCell(grid.cell(split + 3, top + upper, lower), table.analyticsHeading)
          << headingCell(grid.cell(5, top, upper + lower), QStringLiteral("Сумма, руб. коп."))
          << headingCell(grid.cell(6, top, upper + lower),
                         QStringLiteral("Код целевого назначения"))
          << headingCell(grid.cell(7, top, upper + lower), {});
    for (int column = 0; column < table.row.size(); ++column) {
        items << tableCell(grid.cell(column, top + upper + lower, 5), table.row[column],
                           column == 5 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    }
}

// A label and the value underlined after it up to right.
void addLabelled(QList<ReportItem> &items, qreal left, qreal top, qreal labelWidth, qreal right,
                 const QString &label, const ItemContent &value)
{
    items << formText({left, top, labelWidth, 5}, label)
          << underlined({left + labelWidth, top, right - left - labelWidth, 5}, value);
}

// "руб.", the kopecks underlined and "коп.", 28 mm from left.
void addKopecksTail(QList<ReportItem> &items, qreal left, qreal top, const ItemContent &kopeckValue)
{
    items << formText({left, top, 8, 5}, QStringLiteral("руб."), centred)
          << underlined({left + 8, top, 10, 5}, kopeckValue, centred)
          << formText({left + 18, top, 10, 5}, QStringLiteral("коп."), centred);
}

// Rubles and kopecks in underlined cells, each followed by its unit.
void addRublesKopecks(QList<ReportItem> &items, qreal left, qreal top, qreal rublesWidth,
                      const ItemContent &rubles, const ItemContent &kopeckValue)
{
    items << underlined({left, top, rublesWidth, 5}, rubles, onRight);
    addKopecksTail(items, left + rublesWidth, top, kopeckValue);
}

// Small print at the foot of the page: labels and the values after them, side by side.
void addFootLine(ReportLayout &layout, const QList<std::pair<qreal, ItemContent>> &cells)
{
    const QRectF area = layout.page().printableArea();
    qreal x = 0;
    for (const auto &[width, content] : cells) {
        layout.pageItems() << ReportItem{{x, area.height() - 4, width, 4}, content, {}}
                                  .withFont(formSmallFont())
                                  .withAlignment(Qt::AlignLeft | Qt::AlignBottom);
        x += width;
    }
}

AmountInWordsLine orderWords()
{
    return AmountInWordsLine({14, 91, orderWidth - 14, 5}, QStringLiteral("orderWords"),
                             {{0, 99, orderWidth, 5}, QStringLiteral("orderWordsRest")},
                             QStringLiteral("orderKopecks"));
}

// The receipt is narrow: its words in smaller print fit two lines up to a million.
AmountInWordsLine receiptWords()
{
    return AmountInWordsLine(
        {receiptLeft, 84, receiptWidth, 5}, QStringLiteral("receiptWords"),
        {{receiptLeft, 92, receiptWidth, 5}, QStringLiteral("receiptWordsRest")},
        QStringLiteral("receiptKopecks"), ReportFont{.pointSize = 8});
}

AmountInWordsLine issueWords()
{
    return AmountInWordsLine({14, 94, pageWidth - 14, 5}, QStringLiteral("issueWords"),
                             {{0, 102, pageWidth, 5}, QStringLiteral("issueWordsRest")},
                             issueKopeckCaption);
}

// The VAT of the revenue; the blank has it as two words, the figures left to the hand.
void addVat(QList<ReportItem> &items, FormKind kind, qreal left, qreal top, qreal figuresLeft,
            qreal figuresTop)
{
    if (kind == FormKind::Filled) {
        items << formText({left, top, 27, 5}, QStringLiteral("В том числе НДС"));
    } else {
        items << formText({left, top, 19, 5}, QStringLiteral("В том числе"))
              << formText({left + 19, top, 9, 5}, QStringLiteral("НДС"));
    }
    addRublesKopecks(items, figuresLeft, figuresTop, 20,
                     zValue(kind, QStringLiteral("NalViruchkaNDSRub"), wholeRubles),
                     zValue(kind, QStringLiteral("NalViruchkaNDSKop"), kopecks));
}

void addReceiptOrder(QList<ReportItem> &items, FormKind kind)
{
    addUnifiedFormHeader(
        items,
        {QStringLiteral("КО-1"),
         FormSeries::KO,
         QStringLiteral("0310001"),
         {{QStringLiteral("по ОКПО"), requisite(QStringLiteral("OKPO"))}, {{}, FixedText{}}},
         {{{}, requisite(QStringLiteral("nazvRBE")), QStringLiteral("(организация)")},
          {{},
           composedRequisite(QStringLiteral("FilialAZS")),
           QStringLiteral("(структурное подразделение)")}},
         20},
        orderWidth);
    addDocumentNumberTable(items, 72, 25, zValue(kind, QStringLiteral("ZDay")),
                           QStringLiteral("ПРИХОДНЫЙ КАССОВЫЙ ОРДЕР"), 0);
    addAccountingTable(
        items, {{14, 8, 20, 22, 18, 20, 12, 8},
                1,
                QStringLiteral("Кредит"),
                QStringLiteral("Дебет"),
                QStringLiteral("код аналитического учета"),
                {FixedText{QStringLiteral("50.2")}, FixedText{}, Caption{unitCode},
                 FixedText{QStringLiteral("90.1")}, FixedText{QStringLiteral("-")},
                 zValue(kind, QStringLiteral("realNalViruchka"), QStringLiteral("########0.00")),
                 FixedText{}, FixedText{}}});

    addLabelled(items, 0, 71, 20, orderWidth, QStringLiteral("Принято от"), Caption{receivedFrom});
    addLabelled(items, 0, 78, 20, orderWidth, QStringLiteral("Основание:"),
                FixedText{QStringLiteral("Торговая выручка за смену")});
    items << underlined({0, 84, orderWidth, 5}, FixedText{});
    items << formText({0, 91, 14, 5}, QStringLiteral("Сумма"));
    orderWords().addTo(items);
    addVat(items, kind, 0, 106, 30, 106);
    addLabelled(items, 0, 113, 20, orderWidth, QStringLiteral("Приложение"),
                FixedText{QStringLiteral("Справка-отчет кассира-операциониста")});
    items << underlined({20, 119, orderWidth - 20, 5}, Caption{reportReference});

    for (const auto &[top, role, name] :
         {std::tuple{128.0, QStringLiteral("Главный бухгалтер"), accountant},
          std::tuple{139.0, QStringLiteral("Получил кассир"), cashier}}) {
        addSignatureLine(items, {role, Caption{name}, std::nullopt, 34}, {0, top});
    }
}

void addReceipt(QList<ReportItem> &items, FormKind kind)
{
    const qreal left = receiptLeft;
    const qreal right = receiptLeft + receiptWidth;
    addHintedField(items, {left, 15, receiptWidth, 5}, requisite(QStringLiteral("nazvRBE")),
                   QStringLiteral("(организация)"));
    items << formText({left, 25, receiptWidth, 6}, QStringLiteral("КВИТАНЦИЯ"), Qt::AlignCenter,
                      titleFont)
          << formText({left, 32, 48, 5}, QStringLiteral("к приходно-кассовому ордеру №"))
          << underlined({left + 48, 32, 12, 5}, FixedText{});
    addLabelled(items, left, 39, 18, right, QStringLiteral("Принято от"), Caption{receiptFrom});
    items << underlined({left, 45, receiptWidth, 5}, FixedText{});
    addLabelled(items, left, 52, 18, right, QStringLiteral("Основание:"),
                FixedText{QStringLiteral("Торговая выручка за смену")});
    items << underlined({left, 57, receiptWidth, 5},
                        FixedText{QStringLiteral("Согласно Справке-отчету")})
          << underlined({left, 62, receiptWidth, 5},
                        FixedText{QStringLiteral("кассира-операциониста")})
          << underlined({left, 67, receiptWidth, 5}, Caption{reportReference});

    items << formText({left, 75, 12, 5}, QStringLiteral("Сумма"));
    addRublesKopecks(items, left + 12, 75, 20,
                     zValue(kind, QStringLiteral("NalViruchkaRub"), wholeRubles),
                     zValue(kind, QStringLiteral("NalViruchkaCop"), kopecks));
    items << formText({left + 12, 80, 20, 3}, QStringLiteral("(цифрами)"),
                      Qt::AlignHCenter | Qt::AlignTop, formSmallFont());
    receiptWords().addTo(items);
    addVat(items, kind, left, 99, left + 12, 104);
    addDateLine(items, dateCaptions(receiptDate), {left, 112});
    items << formText({left, 119, receiptWidth, 4}, QStringLiteral("М.П. (штампа)"),
                      Qt::AlignLeft | Qt::AlignVCenter, formSmallFont());

    for (const auto &[top, role, name] :
         {std::tuple{125.0, QStringLiteral("Главный бухгалтер"), accountant},
          std::tuple{140.0, QStringLiteral("Кассир"), cashier}}) {
        items << formText({left, top, receiptWidth, 5}, role);
        addSignatureLine(items, {{}, Caption{name}, std::nullopt, 0, 22, 36}, {left, top + 5});
    }
}

// A dashed line between the order and its receipt, with scissors at its top.
void addCutLine(QList<ReportItem> &items, qreal bottom)
{
    items << formText({cutLineX - 2, 0, 4, 4}, QStringLiteral("✂"), Qt::AlignCenter,
                      ReportFont{.family = QStringLiteral("DejaVu Sans"), .pointSize = 8});
    for (qreal y = 5; y + 2 <= bottom; y += 3.5)
        items << ReportItem::cell({cutLineX, y, 1, 2}, FrameSide::Left);
}

ReportLayout ko1Layout(FormKind kind)
{
    ReportLayout layout;
    ReportBand &title = layout.band(BandKind::Title);
    title.height = 154;
    addReceiptOrder(title.items, kind);
    addReceipt(title.items, kind);
    addCutLine(title.items, title.height);
    if (kind == FormKind::Filled) {
        addFootLine(layout, {{12, FixedText{QStringLiteral("Касса №")}},
                             {8, zValue(kind, QStringLiteral("nKass"))},
                             {8, FixedText{QStringLiteral("KKM")}},
                             {24, zValue(kind, QStringLiteral("nproizv"))},
                             {10, FixedText{QStringLiteral("№ Рег.")}},
                             {24, zValue(kind, QStringLiteral("nreg"))}});
    }
    return layout;
}

ReportLayout ko2Layout(FormKind kind)
{
    ReportLayout layout;
    ReportBand &title = layout.band(BandKind::Title);
    QList<ReportItem> &items = title.items;
    addUnifiedFormHeader(
        items,
        {QStringLiteral("К0-2"),
         FormSeries::KO,
         QStringLiteral("0310002"),
         {{QStringLiteral("по ОКПО"), requisite(QStringLiteral("OKPO"))}, {{}, FixedText{}}},
         {{{}, requisite(QStringLiteral("nazvRBE")), QStringLiteral("(организация)")},
          {{},
           composedRequisite(QStringLiteral("FilialAZS")),
           QStringLiteral("(структурное подразделение)")}}},
        pageWidth);
    addDocumentNumberTable(items, 130, 30, Caption{compiledOn},
                           QStringLiteral("РАСХОДНЫЙ КАССОВЫЙ ОРДЕР"), 20);
    addAccountingTable(items, {{12, 34, 34, 30, 20, 28, 20, 12},
                               0,
                               QStringLiteral("Дебет"),
                               QStringLiteral("Кредит"),
                               QStringLiteral("Код аналитического учета"),
                               {FixedText{}, composedRequisite(QStringLiteral("AZSN")),
                                FixedText{QStringLiteral("57.02")}, FixedText{QStringLiteral("-")},
                                FixedText{QStringLiteral("50.2")}, Caption{amountFigures},
                                FixedText{}, FixedText{}}});

    addLabelled(items, 0, 71, 14, 118, QStringLiteral("Выдать"), requisite(QStringLiteral("BANK")));
    items << formText({118, 71, 7, 5}, QStringLiteral("ч/з"), centred);
    addHintedField(items, {125, 71, 65, 5}, Caption{issuedTo},
                   QStringLiteral("(фамилия, имя, отчество)"), Qt::AlignLeft);
    addLabelled(items, 0, 81, 20, pageWidth, QStringLiteral("Основание"),
                FixedText{QStringLiteral("Сдана торговая выручка через инкассаторов для "
                                         "зачисления на расчетный счет")});
    items << underlined({0, 87, pageWidth, 5},
                        FixedText{dashLine(pageWidth - 2 * reportTextPadding)});
    items << formText({0, 94, 14, 5}, QStringLiteral("Сумма"));
    issueWords().addTo(items);

    items << formText({0, 110, 20, 5}, QStringLiteral("Приложение"));
    addLabelled(items, 20, 110, 32, pageWidth,
                kind == FormKind::Filled ? QStringLiteral("Квитанция к сумке")
                                         : QStringLiteral("Квитанция к сумке:"),
                Caption{bagReference});
    items << underlined({0, 116, pageWidth, 5}, FixedText{});

    addSignatureLine(items,
                     {QStringLiteral("Руководитель организации"), Caption{manager},
                      FixedText{QStringLiteral("Управляющий АЗС")}},
                     {0, 124});
    addSignatureLine(items,
                     {QStringLiteral("Главный бухгалтер"), Caption{accountant}, std::nullopt,
                      roleWidthUnderPosition},
                     {0, 135});

    items << formText({0, 146, 16, 5}, QStringLiteral("Получил"));
    addLabelled(items, 16, 146, 44, pageWidth, QStringLiteral("Смотри квитанцию к сумке:"),
                Caption{bagReference});
    items << underlined({0, 152, receivedDashesWidth, 5}, Caption{receivedDashes});
    addKopecksTail(items, receivedDashesWidth, 152, Caption{receivedKopecks});

    addDateLine(items, dateCaptions(issueDate), {0, 160});
    addLabelled(items, 100, 160, 16, 156, QStringLiteral("Подпись"), FixedText{});
    items << formText({0, 168, 6, 5}, QStringLiteral("По"))
          << underlined({6, 168, pageWidth - 6, 5}, FixedText{})
          << formText({6, 173, pageWidth - 6, 3},
                      QStringLiteral("(наименование, номер, дата и место выдачи документа,"),
                      Qt::AlignHCenter | Qt::AlignTop, formSmallFont())
          << formText({6, 176, pageWidth - 6, 3},
                      QStringLiteral("удостоверяющего личность получателя)"),
                      Qt::AlignHCenter | Qt::AlignTop, formSmallFont());
    addSignatureLine(items, {QStringLiteral("Выдал кассир"), Caption{cashier}, std::nullopt, roleWidthUnderPosition},
                     {0, 182});
    title.height = 191;

    addFootLine(layout, {{80, composedRequisite(QStringLiteral("FilialAZS"))},
                         {8, FixedText{QStringLiteral("KKM")}},
                         {24, registerNumber(kind, QStringLiteral("nproizv"))},
                         {10, FixedText{QStringLiteral("Рег.№")}},
                         {24, registerNumber(kind, QStringLiteral("nreg"))}});
    return layout;
}

QString initialsOf(TfDM &dm, const QString &requisiteColumn)
{
    return fioInitials(stationRequisite(dm, requisiteColumn), true);
}

// The kopecks as KO-2 takes them from the words: a blank and the two digits.
QString issueKopecks(const QString &words)
{
    const QString digits = kopeckDigits(words);
    return digits.isEmpty() ? QString() : u' ' + digits;
}

} // namespace

ReportLayout qrKO1()
{
    return ko1Layout(FormKind::Filled);
}

ReportLayout qrK01BL()
{
    return ko1Layout(FormKind::Blank);
}

ReportLayout qrKO2()
{
    return ko2Layout(FormKind::Filled);
}

ReportLayout qrKO2BL()
{
    return ko2Layout(FormKind::Blank);
}

ReportLayout printKO1(DocumentContext &context)
{
    TfDM &dm = context.dm;
    openRequisites(dm);
    openZActive(context);
    ReportLayout layout = qrKO1();
    bindFormSources(layout, dm);

    const QString day = zText(dm, QStringLiteral("ZDay"));
    setDateCaptions(layout, receiptDate, dateToDocParts(day));
    layout.setCaption(unitCode, QStringLiteral("АЗС ") + stationRequisite(dm, QStringLiteral("nAZS")));
    const double revenue = zAmount(dm, QStringLiteral("realNalViruchka"));
    orderWords().fill(layout, revenue);
    receiptWords().fill(layout, revenue);
    layout.setCaption(receivedFrom, chosenOperator(context.shift.operator1));
    layout.setCaption(receiptFrom, chosenOperatorInitials(context.shift.operator1));
    layout.setCaption(reportReference, QStringLiteral("№ %1 (%2 - %3) от %4")
                                           .arg(zText(dm, QStringLiteral("NZ")),
                                                zText(dm, QStringLiteral("ZTIMEPRED")),
                                                zText(dm, QStringLiteral("ZTimeEnd")), day));
    layout.setCaption(accountant, initialsOf(dm, QStringLiteral("BUHGALTER")));
    layout.setCaption(cashier, chosenOperatorInitials(context.shift.operator1));
    return layout;
}

ReportLayout printKO2(DocumentContext &context)
{
    TfDM &dm = context.dm;
    const ShiftTexts &shift = context.shift;
    openRequisites(dm);
    openZActive(context);
    ReportLayout layout = qrKO2();
    bindFormSources(layout, dm);

    if (!shift.date.isEmpty()) {
        setDateCaptions(layout, issueDate, dateToDocParts(shift.date));
        layout.setCaption(compiledOn, shift.date);
    }
    // What the collectors took: the encashment less the act's corrective encashment.
    const double amount
        = zAmount(dm, QStringLiteral("INKASS")) - zAmount(dm, QStringLiteral("skorrinkass"));
    layout.setCaption(amountFigures, plainAmountText(amount));
    issueWords().fill(layout, amount);
    layout.setCaption(issueKopeckCaption, issueKopecks(rubToWords(amount)));

    layout.setCaption(issuedTo, chosenOperator(shift.operator1));
    layout.setCaption(cashier, chosenOperatorInitials(shift.operator1));
    layout.setCaption(manager, initialsOf(dm, QStringLiteral("UPRAVFIO")));
    layout.setCaption(accountant, initialsOf(dm, QStringLiteral("BUHGALTER")));
    layout.setCaption(bagReference, shift.bagList + QStringLiteral(" от ") + shift.inkassDate);
    layout.setCaption(receivedDashes,
                      dashLine(receivedDashesWidth - 2 * reportTextPadding));
    layout.setCaption(receivedKopecks, QStringLiteral("00"));
    return layout;
}

ReportLayout mKO1Click(DocumentContext &context)
{
    ReportLayout layout = qrK01BL();
    useOpenedRequisites(context.dm);
    bindFormSources(layout, context.dm);
    layout.setCaption(unitCode,
                      QStringLiteral("АЗС ") + stationRequisite(context.dm, QStringLiteral("nAZS")));
    layout.setCaption(accountant, initialsOf(context.dm, QStringLiteral("BUHGALTER")));
    return layout;
}

ReportLayout mKO2Click(DocumentContext &context)
{
    ReportLayout layout = qrKO2BL();
    useOpenedRequisites(context.dm);
    bindFormSources(layout, context.dm);
    setLastRegisterNumbers(layout, context.lastZ);
    layout.setCaption(manager, initialsOf(context.dm, QStringLiteral("UPRAVFIO")));
    layout.setCaption(accountant, initialsOf(context.dm, QStringLiteral("BUHGALTER")));
    return layout;
}

const QList<DocumentCommand> &cashOrderDocuments()
{
    static const QList<DocumentCommand> documents{
        {QStringLiteral("ko1"), QStringLiteral("КО1 ПРИХ.К.ОРДЕР"), printKO1},
        {QStringLiteral("ko2"), QStringLiteral("КО2 РАСХ.К.ОРДЕР"), printKO2},
        {QStringLiteral("ko1-blank"), QStringLiteral("КО1 (бланк)"), mKO1Click},
        {QStringLiteral("ko2-blank"), QStringLiteral("КО2 (бланк)"), mKO2Click},
    };
    return documents;
}
