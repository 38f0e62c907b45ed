#include "cashbook.h"

#include "db/datamodule.h"
#include "documents/formblocks.h"
#include "documents/formgrid.h"
#include "documents/formsources.h"
#include "documents/rubproc.h"
#include "platform/report/reportpainter.h"

namespace {

const QString headingCaption = QStringLiteral("heading");
const QString cashierCaption = QStringLiteral("cashier");
const QString accountantCaption = QStringLiteral("accountant");
const QString receiptsCountCaption = QStringLiteral("receiptsCount");
const QString paymentsCountCaption = QStringLiteral("paymentsCount");
const QString blankManufacturerCaption = QStringLiteral("blankManufacturerNumber");
const QString blankRegistrationCaption = QStringLiteral("blankRegistrationNumber");
const QString headPositionCaption = QStringLiteral("headPosition");
const QString headCaption = QStringLiteral("head");
const QString chiefAccountantCaption = QStringLiteral("chiefAccountant");

const QString headingText = QStringLiteral("КАССА ЗА ");
const QString amountPattern = QStringLiteral("### ### ##0.00");

constexpr qreal headerBandHeight = 20;
constexpr qreal tableHeadingHeight = 14;
constexpr qreal columnNumberHeight = 5;
constexpr qreal lineHeight = 7;
constexpr qreal fieldHeight = 5;
constexpr qreal bottomLineHeight = 4;

// Where the counts of the checked orders stand, written in words.
constexpr qreal countLeft = 96;
constexpr qreal countWidth = 60;

ReportFont headingFont()
{
    return {.pointSize = 8};
}

enum class SheetKind { Register, Shift, Blank };

// What sets the three sheets apart: where the amounts come from (a blank has none), how the
// cells that take no amount are crossed out, and whether the note on corrections prints.
struct SheetTraits
{
    QString source;
    QString cross; // the mark of the cells that take no amount
    bool note = false;
};

SheetTraits traitsOf(SheetKind kind)
{
    switch (kind) {
    case SheetKind::Register:
        return {FormSource::zActive, QStringLiteral("х"), true};
    case SheetKind::Shift:
        return {FormSource::zSum, QStringLiteral("х"), false};
    case SheetKind::Blank:
        break;
    }
    return {{}, QStringLiteral("x"), false};
}

struct Entry
{
    QString account;
    ItemContent receipt;
    ItemContent payment;
};

// A line of the table, or lines sharing the text of column 2.
struct Group
{
    QString text;
    QList<Entry> entries;
    bool textSpansAccount = false;
    qreal entryHeight = lineHeight;
};

void addSheetHeader(ReportBand &band, qreal width)
{
    band.height = headerBandHeight;
    band.items << ReportItem::text({0, 0, width, 4}, QStringLiteral("Форма КО-4 "))
                      .withFont(headingFont())
                      .withAlignment(Qt::AlignRight | Qt::AlignVCenter)
               << ReportItem::caption({0, 5, width, 7}, headingCaption)
                      .withFont({.pointSize = 12, .bold = true})
                      .withAlignment(Qt::AlignCenter)
               << ReportItem::text({0, 12, width, 5}, QStringLiteral("Вкладной лист кассовой книги"))
                      .withFont(formBodyFont())
                      .withAlignment(Qt::AlignCenter);
}

QList<Group> movementGroups(const SheetTraits &traits)
{
    auto amount = [&](const QString &column) -> ItemContent {
        if (traits.source.isEmpty())
            return FixedText{};
        return DataField{traits.source, column, amountPattern};
    };
    const ItemContent none = FixedText{};
    const ItemContent cross = FixedText{traits.cross};
    return {
        {QStringLiteral("Остаток на начало дня    "), {{{}, amount("SumKassPred"), cross}}, true},
        {{}, {{{}, none, none}}},
        {QStringLiteral("Соответствующая информация с ПКО"),
         {{QStringLiteral("50.02"), amount("realNalViruchka"), none},
          {QStringLiteral("  внос в ККМ  "), amount("srealvnos"), none},
          {QStringLiteral("  вынос из ККМ    "), none, amount("srealvinos")}}},
        {QStringLiteral("Соответствующая информация с РКО"),
         {{QStringLiteral("57.02"), none, amount("srealinkass")}}},
        {QStringLiteral("Итого за день"), {{{}, amount("realNalPrihod"), amount("realNalRashod")}}},
        {QStringLiteral("Остаток на конец дня"), {{{}, amount("realsumkass"), cross}}},
        {QStringLiteral("в том числе на заработную плату, выплаты социального характера и "
                        "стипендии"),
         {{{}, none, cross}},
         false,
         2 * lineHeight - 2},
    };
}

// Amounts to the right; the cross of a cell that takes none in the middle.
Qt::Alignment amountAlignment(const ItemContent &content)
{
    return std::holds_alternative<DataField>(content) ? Qt::AlignRight | Qt::AlignVCenter
                                                      : Qt::AlignCenter;
}

// The five numbered columns with the day's lines. Returns the height taken.
qreal addMovementTable(QList<ReportItem> &items, const SheetTraits &traits)
{
    const FormGrid columns({22, 68, 36, 32, 32});
    const QStringList headings{QStringLiteral("Номер документа"),
                               QStringLiteral("От кого получено или кому выдано"),
                               QStringLiteral("Номер корреспондирующего счета, субсчета"),
                               QStringLiteral("Приход руб.коп."),
                               QStringLiteral("Расход руб.коп.")};
    for (int column = 0; column < columns.columnCount(); ++column) {
        items << tableCell(columns.cell(column, 0, tableHeadingHeight), FixedText{headings[column]},
                           Qt::AlignCenter, headingFont())
                     .withWordWrap()
              << tableCell(columns.cell(column, tableHeadingHeight, columnNumberHeight),
                           FixedText{QString::number(column + 1)}, Qt::AlignCenter, headingFont());
    }

    const Qt::Alignment text = Qt::AlignLeft | Qt::AlignVCenter;
    qreal y = tableHeadingHeight + columnNumberHeight;
    for (const Group &group : movementGroups(traits)) {
        const qreal height = group.entryHeight * group.entries.size();
        const int textLast = group.textSpansAccount ? 2 : 1;
        items << tableCell(columns.cell(1, y, height, textLast), FixedText{group.text}, text)
                     .withWordWrap();
        for (const Entry &entry : group.entries) {
            items << tableCell(columns.cell(0, y, group.entryHeight), FixedText{});
            if (!group.textSpansAccount) {
                items << tableCell(columns.cell(2, y, group.entryHeight), FixedText{entry.account});
            }
            items << tableCell(columns.cell(3, y, group.entryHeight), entry.receipt,
                               amountAlignment(entry.receipt))
                  << tableCell(columns.cell(4, y, group.entryHeight), entry.payment,
                               amountAlignment(entry.payment));
            y += group.entryHeight;
        }
    }
    return y;
}

// "Записи в кассовой книге проверил ..." with the counts of the checked orders in words.
qreal addCheckedOrders(QList<ReportItem> &items, qreal top)
{
    const ReportFont font = formBodyFont();
    const Qt::Alignment bottomLeft = Qt::AlignLeft | Qt::AlignBottom;
    const QString hint = QStringLiteral("(прописью)");
    items << ReportItem::text({0, top, countLeft, fieldHeight},
                              QStringLiteral("Записи в кассовой книге проверил и документы в "
                                             "количестве"))
                 .withFont(font)
                 .withAlignment(bottomLeft);
    addHintedField(items, {countLeft, top, countWidth, fieldHeight}, Caption{receiptsCountCaption},
                   hint, Qt::AlignLeft);
    items << ReportItem::text({countLeft + countWidth, top, 34, fieldHeight},
                              QStringLiteral("приходных"))
                 .withFont(font)
                 .withAlignment(bottomLeft);

    const qreal second = top + 9;
    items << ReportItem::text({countLeft - 6, second, 6, fieldHeight}, QStringLiteral("и"))
                 .withFont(font)
                 .withAlignment(Qt::AlignRight | Qt::AlignBottom);
    addHintedField(items, {countLeft, second, countWidth, fieldHeight},
                   Caption{paymentsCountCaption}, hint, Qt::AlignLeft);
    constexpr qreal paymentsWidth = 16.5;
    items << ReportItem::text({countLeft + countWidth, second, paymentsWidth, fieldHeight},
                              QStringLiteral("расходных"))
                 .withFont(font)
                 .withAlignment(bottomLeft)
          << ReportItem::text({countLeft + countWidth + paymentsWidth, second, 16, fieldHeight},
                              QStringLiteral("получил."))
                 .withFont(font)
                 .withAlignment(bottomLeft);
    return second + fieldHeight + 3 - top;
}

// The small line at the bottom edge of the page: the station and, on a register's sheet, the
// register's numbers.
void addBottomLine(ReportLayout &layout, SheetKind kind)
{
    const qreal top = layout.page().printableArea().height() - bottomLineHeight;
    qreal x = 0;
    auto add = [&](qreal width, const ItemContent &content) {
        ItemStyle style;
        style.font = formSmallFont();
        layout.pageItems() << ReportItem{{x, top, width, bottomLineHeight}, content, style};
        x += width;
    };
    add(80, DataField{FormSource::requisites, QStringLiteral("FilialAZS"), {}});
    if (kind == SheetKind::Shift)
        return;
    auto number = [kind](const QString &column, const QString &blankCaption) -> ItemContent {
        if (kind == SheetKind::Blank)
            return Caption{blankCaption};
        return DataField{FormSource::zActive, column, {}};
    };
    add(8, FixedText{QStringLiteral("KKM")});
    add(25, number(QStringLiteral("nproizv"), blankManufacturerCaption));
    add(10, FixedText{QStringLiteral("Рег.№")});
    add(25, number(QStringLiteral("nreg"), blankRegistrationCaption));
}

ReportLayout cashBookSheet(SheetKind kind)
{
    const SheetTraits traits = traitsOf(kind);
    ReportLayout layout;
    const qreal width = layout.page().printableArea().width();
    addSheetHeader(layout.band(BandKind::PageHeader), width);

    ReportBand &body = layout.band(BandKind::Title);
    qreal y = addMovementTable(body.items, traits) + 6;
    y += addSignatureLine(body.items, {QStringLiteral("Кассир"), Caption{cashierCaption}, std::nullopt}, {0, y}) + 6;
    y += addCheckedOrders(body.items, y) + 3;
    y += addSignatureLine(body.items, {QStringLiteral("Бухгалтер"), Caption{accountantCaption}, std::nullopt},
                          {0, y});
    if (traits.note) {
        y += 5;
        body.items << ReportItem::text({0, y, width, 3},
                                       QStringLiteral("Примечание: корректирующая инкассация "
                                                      "отражается в строке \"вынос\""))
                          .withFont(formSmallFont());
        y += 3;
    }
    body.height = y;
    addBottomLine(layout, kind);
    return layout;
}

void writeSignatories(ReportLayout &layout, DocumentContext &context)
{
    layout.setCaption(cashierCaption, fioInitials(chosenOperator(context.shift.operator1), false));
    layout.setCaption(accountantCaption,
                      fioInitials(stationRequisite(context.dm, QStringLiteral("BUHGALTER")), false));
}

// "один" with the rest of its line dashed out.
QString countInWords()
{
    const QString one = QStringLiteral("один");
    return padWithDashes(one, countWidth - 2 * reportTextPadding, formBodyFont().toQFont())
        .value_or(one);
}

ReportLayout preparedSheet(ReportLayout layout, DocumentContext &context, const Query &figures)
{
    bindFormSources(layout, context.dm);
    layout.setCaption(headingCaption,
                      headingText + (figures.isEmpty()
                                         ? QString()
                                         : figures.field(QStringLiteral("ZDay")).asString()));
    writeSignatories(layout, context);
    return layout;
}

void recomputeBalances(DocumentContext &context)
{
    if (context.recomputeBalances)
        context.recomputeBalances();
}

} // namespace

ReportLayout qrKO4()
{
    return cashBookSheet(SheetKind::Register);
}

ReportLayout qrKO4Com()
{
    return cashBookSheet(SheetKind::Shift);
}

ReportLayout qrKO4BL()
{
    return cashBookSheet(SheetKind::Blank);
}

ReportLayout qrKO4TL1()
{
    ReportLayout layout(QPageLayout::Landscape);
    const qreal width = layout.page().printableArea().width();
    ReportBand &title = layout.band(BandKind::Title);
    const UnifiedFormHeader header{
        QStringLiteral("КО-4"),
        FormSeries::KO,
        QStringLiteral("0310004"),
        {{QStringLiteral("по ОКПО"), DataField{FormSource::station, QStringLiteral("OKPO"), {}}},
         {QString(), FixedText{}}},
        {{{}, DataField{FormSource::station, QStringLiteral("nazvRBE"), {}}, QStringLiteral("(организация)")},
         {{},
          DataField{FormSource::requisites, QStringLiteral("FilialAZS"), {}},
          QStringLiteral("(структурное подразделение)")}}};
    qreal y = addUnifiedFormHeader(title.items, header, width) + 40;

    title.items << ReportItem::text({0, y, width, 14}, QStringLiteral("КАССОВАЯ КНИГА"))
                       .withFont({.pointSize = 26, .bold = true})
                       .withAlignment(Qt::AlignCenter);
    y += 22;
    // "на ________ ____ г.", centred under the title.
    constexpr qreal periodWidth = 60, yearWidth = 16, onWidth = 8, yearTextWidth = 8;
    qreal x = (width - (onWidth + periodWidth + 2 + yearWidth + yearTextWidth)) / 2;
    const ReportFont font{.pointSize = 12};
    title.items << ReportItem::text({x, y, onWidth, 7}, QStringLiteral("на"))
                       .withFont(font)
                       .withAlignment(Qt::AlignRight | Qt::AlignBottom);
    x += onWidth;
    title.items << ReportItem::cell({x, y, periodWidth, 7}, FrameSide::Bottom);
    x += periodWidth + 2;
    title.items << ReportItem::cell({x, y, yearWidth, 7}, FrameSide::Bottom);
    x += yearWidth;
    title.items << ReportItem::text({x, y, yearTextWidth, 7}, QStringLiteral("г."))
                       .withFont(font)
                       .withAlignment(Qt::AlignLeft | Qt::AlignBottom);
    title.height = y + 7;
    return layout;
}

ReportLayout qrKO4TL2()
{
    ReportLayout layout(QPageLayout::Landscape);
    ReportBand &title = layout.band(BandKind::Title);
    const ReportFont font = formBodyFont();
    const Qt::Alignment bottomLeft = Qt::AlignLeft | Qt::AlignBottom;
    title.items << ReportItem::text({0, 0, 80, 4}, QStringLiteral("Печатать на последней странице:"))
                       .withFont(formSmallFont());
    qreal y = 40;
    title.items << ReportItem::text({0, y, 80, fieldHeight}, QStringLiteral("В этой книге пронумеровано"))
                       .withFont(font)
                       .withAlignment(bottomLeft);
    y += fieldHeight + 1;
    title.items << ReportItem::text({0, y, 26, fieldHeight}, QStringLiteral("и прошнуровано"))
                       .withFont(font)
                       .withAlignment(bottomLeft)
                << ReportItem::cell({26, y, 40, fieldHeight}, FrameSide::Bottom)
                << ReportItem::text({67, y, 20, fieldHeight}, QStringLiteral("листов"))
                       .withFont(font)
                       .withAlignment(bottomLeft);
    y += fieldHeight + 10;
    title.items << ReportItem::text({0, y, 40, fieldHeight}, QStringLiteral("М.П.(штампа)"))
                       .withFont(font)
                       .withAlignment(bottomLeft);
    y += fieldHeight + 10;
    y += addSignatureLine(title.items,
                          {QStringLiteral("Руководитель организации"), Caption{headCaption},
                           Caption{headPositionCaption}},
                          {0, y})
         + 8;
    const SignatureLine chiefAccountant{QStringLiteral("Главный бухгалтер"),
                                        Caption{chiefAccountantCaption}, std::nullopt,
                                        roleWidthUnderPosition};
    y += addSignatureLine(title.items, chiefAccountant, {0, y}) + 8;
    addDateLine(title.items, {FixedText{}, FixedText{}, FixedText{}}, {0, y});
    title.height = y + fieldHeight;
    return layout;
}

ReportLayout printKO4(DocumentContext &context)
{
    openRequisites(context.dm);
    recomputeBalances(context);
    openZActive(context);
    ReportLayout layout = preparedSheet(qrKO4(), context, context.dm.adoqZActive);
    layout.setCaption(receiptsCountCaption, countInWords());
    layout.setCaption(paymentsCountCaption, countInWords());
    return layout;
}

ReportLayout printKM4Com(DocumentContext &context)
{
    openRequisites(context.dm);
    recomputeBalances(context);
    Query &zSum = context.dm.adoqZsum;
    zSum.close();
    zSum.setParam(QStringLiteral("iddovra"), context.idDovra);
    zSum.open();
    return preparedSheet(qrKO4Com(), context, zSum);
}

ReportLayout mKO4Click(DocumentContext &context)
{
    useOpenedRequisites(context.dm);
    ReportLayout layout = qrKO4BL();
    bindFormSources(layout, context.dm);
    layout.setCaption(headingCaption, headingText);
    layout.setCaption(accountantCaption,
                      fioInitials(stationRequisite(context.dm, QStringLiteral("BUHGALTER")), false));
    layout.setCaption(blankManufacturerCaption, context.lastZ.manufacturerNumber);
    layout.setCaption(blankRegistrationCaption, context.lastZ.registrationNumber);
    return layout;
}

ReportLayout mKO4TL1Click(DocumentContext &context)
{
    useOpenedRequisites(context.dm);
    ReportLayout layout = qrKO4TL1();
    bindFormSources(layout, context.dm);
    return layout;
}

ReportLayout mKO4TL2Click(DocumentContext &context)
{
    useOpenedRequisites(context.dm);
    ReportLayout layout = qrKO4TL2();
    TfDM &dm = context.dm;
    layout.setCaption(headPositionCaption, stationRequisite(dm, QStringLiteral("RUKDOLJN")));
    layout.setCaption(headCaption, fioInitials(stationRequisite(dm, QStringLiteral("RUKFIO")), true));
    layout.setCaption(chiefAccountantCaption,
                      fioInitials(stationRequisite(dm, QStringLiteral("GLBUHFIO")), true));
    return layout;
}

const QList<DocumentCommand> &cashBookDocuments()
{
    static const QList<DocumentCommand> commands{
        {QStringLiteral("ko4"), QStringLiteral("КО4 КАС.КНИГА"), printKO4},
        {QStringLiteral("ko4-shift"), QStringLiteral("КО4 КАС.КН.ОБЩ"), printKM4Com},
        {QStringLiteral("ko4-blank"), QStringLiteral("KO4 (бланк)"), mKO4Click},
        {QStringLiteral("ko4-title1"), QStringLiteral("КО4 (тит.лист 1)"), mKO4TL1Click},
        {QStringLiteral("ko4-title2"), QStringLiteral("КО4 (тит.лист 2)"), mKO4TL2Click},
    };
    return commands;
}
