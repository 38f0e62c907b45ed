#include "km3act.h"

#include "db/datamodule.h"
#include "documents/formblocks.h"
#include "documents/rubproc.h"

#include "platform/report/reportoutput.h"

#include <QLocale>

#include <memory>
#include <optional>

namespace {

// The printable width of the portrait page.
constexpr qreal formWidth = 190;
constexpr qreal lineHeight = 5;
constexpr qreal detailHeight = 6;
constexpr qreal approvalLeft = 106;

const QString receiptsSource = QStringLiteral("xVozvrat");
const QString blankLinesSource = QStringLiteral("xxx");

// Captions the preparing code writes.
namespace cap {
const QString nazvRBE = QStringLiteral("nazvRBE");
const QString filialAZS = QStringLiteral("FilialAZS");
const QString kkmNazv = QStringLiteral("KKMNazv");
const QString softName = QStringLiteral("SoftName");
const QString okpo = QStringLiteral("OKPO");
const QString inn = QStringLiteral("INN");
const QString okdp = QStringLiteral("OKDP");
const QString nproizv = QStringLiteral("NPROIZV");
const QString nreg = QStringLiteral("NREG");
const QString cashier = QStringLiteral("lblKassir");
const QString zDay = QStringLiteral("ZDay");
const QString managerPosition = QStringLiteral("UPRAVDOLJN");
const QString approvalName = QStringLiteral("lblUtverdFIO");
const QString approvalDay = QStringLiteral("lblUtverdDay");
const QString approvalMonth = QStringLiteral("lblUtverdMonth");
const QString approvalYear = QStringLiteral("lblUtverdYear");
const QString kindLine = QStringLiteral("lblVidRascheta");
const QString closingSentence = QStringLiteral("lblUmenshit");
const QString permittedBy = QStringLiteral("lblRazreshil");
const QString total = QStringLiteral("lblItogo");
const QString words = QStringLiteral("lblPropis");
const QString wordsRest = QStringLiteral("lblPropis2");
const QString kopecks = QStringLiteral("lblKop");
const QString operatorName = QStringLiteral("lblKassirOper");
const QString chiefAccountant = QStringLiteral("lblGlBuh");
} // namespace cap

struct KindTexts
{
    QString kindLine;
    QString closingSentence;
};

KindTexts kindTexts(bool cash)
{
    if (cash)
        return {QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (НАЛ.РАСЧЕТ)"),
                QStringLiteral("На указанную сумму следует уменьшить выручку кассы.")};
    return {QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (Б/НАЛ.РАСЧЕТ)"),
            QStringLiteral("На указанную сумму следует уменьшить выручку по безналичным рассчетам.")};
}

ReportFont boldBody()
{
    ReportFont font = formBodyFont();
    font.bold = true;
    return font;
}

ReportFont tableFont()
{
    ReportFont font = formBodyFont();
    font.pointSize = 8;
    return font;
}

ReportItem line(qreal top, const QString &text, qreal left = 0, qreal width = formWidth)
{
    return ReportItem::text({left, top, width, lineHeight}, text).withFont(formBodyFont());
}

ReportItem centred(qreal top, const ItemContent &content, const ReportFont &font)
{
    return ReportItem{{0, top, formWidth, lineHeight}, content, {}}.withFont(font).withAlignment(Qt::AlignCenter);
}

// The kind's two texts: captions in the act, fixed in a blank.
struct KindContent
{
    ItemContent kindLine;
    ItemContent closingSentence;
};

KindContent kindContent(std::optional<bool> blankOfKind)
{
    if (!blankOfKind)
        return {Caption{cap::kindLine}, Caption{cap::closingSentence}};
    const KindTexts texts = kindTexts(*blankOfKind);
    return {FixedText{texts.kindLine}, FixedText{texts.closingSentence}};
}

// The column edges of the receipts table.
const qreal columnEdges[] = {0, 14, 44, 60, 90, 122, formWidth};

QRectF column(int index, qreal top, qreal height)
{
    return {columnEdges[index], top, columnEdges[index + 1] - columnEdges[index], height};
}

AmountInWordsLine wordsLine()
{
    return AmountInWordsLine({58, 14, 132, lineHeight}, cap::words,
                             WordsContinuation{{0, 23, formWidth, lineHeight}, cap::wordsRest},
                             cap::kopecks);
}

void addPageHeader(ReportLayout &layout)
{
    ReportBand &band = layout.band(BandKind::PageHeader);
    band.height = addFormLines(band.items, QStringLiteral("КМ-3"), FormSeries::KM, formWidth) + 1;
}

void addDocumentNumberAndDate(QList<ReportItem> &items, qreal top)
{
    const ReportFont small = formSmallFont();
    const QRectF number(20, top + 6, 32, 8);
    const QRectF date(number.right(), number.top(), 32, 8);
    items.append(ReportItem::text(number, QStringLiteral("Номер документа"))
                     .withFont(small).withAlignment(Qt::AlignCenter).withWordWrap().withFrame(allSides));
    items.append(ReportItem::text(date, QStringLiteral("Дата составления"))
                     .withFont(small).withAlignment(Qt::AlignCenter).withWordWrap().withFrame(allSides));
    items.append(ReportItem::cell({number.left(), number.bottom(), number.width(), 6}, allSides));
    items.append(ReportItem::caption({date.left(), date.bottom(), date.width(), 6}, cap::zDay)
                     .withFont(formBodyFont()).withAlignment(Qt::AlignCenter).withFrame(allSides));
}

qreal addApproval(QList<ReportItem> &items, qreal top)
{
    const qreal width = formWidth - approvalLeft;
    items.append(ReportItem::text({approvalLeft, top, width, lineHeight}, QStringLiteral("УТВЕРЖДАЮ"))
                     .withFont(boldBody()));
    qreal y = top + lineHeight;
    y += addRequisiteLines(items, {{QString(), Caption{cap::managerPosition}, QStringLiteral("(должность)")}},
                           {approvalLeft, y}, width);
    y += addSignatureLine(items, {QString(), Caption{cap::approvalName}, std::nullopt, 0}, {approvalLeft, y});
    addDateLine(items, {Caption{cap::approvalDay}, Caption{cap::approvalMonth}, Caption{cap::approvalYear}},
                {approvalLeft + 20, y + 1});
    return y + 1 + lineHeight - top;
}

void addTitle(ReportLayout &layout, const KindContent &kind, bool blank)
{
    ReportBand &band = layout.band(BandKind::Title);
    const QList<CodeRow> codes{
        {QStringLiteral("по ОКПО"), Caption{cap::okpo}},
        {QStringLiteral("ИНН"), Caption{cap::inn}},
        {QStringLiteral("Вид деятельности по ОКПД"), Caption{cap::okdp}},
        {QStringLiteral("номер производителя"), blank ? ItemContent{FixedText{}} : Caption{cap::nproizv}},
        {QStringLiteral("регистрационный"), blank ? ItemContent{FixedText{}} : Caption{cap::nreg}},
        {QStringLiteral("Кассир"), blank ? ItemContent{FixedText{}} : Caption{cap::cashier}},
        {QStringLiteral("Вид операции"), FixedText{}}};
    const QList<RequisiteLine> lines{
        {QString(), Caption{cap::nazvRBE}, QStringLiteral("(организация, адрес, номер телефона)")},
        {QString(), Caption{cap::filialAZS}, QStringLiteral("(структурное подразделение)")},
        {QStringLiteral("Контрольно-\nкассовая машина"),
         blank ? ItemContent{FixedText{}} : Caption{cap::kkmNazv},
         QStringLiteral("(модель (класс, тип, марка))")},
        {QStringLiteral("Прикладная программа"), Caption{cap::softName}, QStringLiteral("(наименование)")}};
    UnifiedFormHeader header{QStringLiteral("КМ-3"), FormSeries::KM, QStringLiteral("0330103"),
                             codes, lines};
    header.formLines = false;
    qreal y = addUnifiedFormHeader(band.items, header, formWidth) + 2;

    addDocumentNumberAndDate(band.items, y);
    y += addApproval(band.items, y) + 3;

    band.items.append(centred(y, FixedText{QStringLiteral("АКТ")}, boldBody()));
    band.items.append(centred(y + lineHeight,
                              FixedText{QStringLiteral("О ВОЗВРАТЕ ДЕНЕЖНЫХ СУММ ПОКУПАТЕЛЯМ (КЛИЕНТАМ)")},
                              boldBody()));
    band.items.append(centred(y + 2 * lineHeight, kind.kindLine, boldBody()));
    band.items.append(centred(y + 3 * lineHeight,
                              FixedText{QStringLiteral("(в том числе по ошибочно пробитым чекам)")},
                              formBodyFont()));
    y += 4 * lineHeight + 2;
    band.items.append(line(y, QStringLiteral("Настоящий акт составлен комиссией, которая установила:")));
    band.height = y + lineHeight + 2;
}

void addTableHeading(ReportLayout &layout)
{
    ReportBand &band = layout.band(BandKind::ColumnHeader);
    const QStringList headings{
        QStringLiteral("Номер по порядку"),
        QStringLiteral("Наименование отдела, секции"),
        QStringLiteral("Код бригады"),
        QStringLiteral("Номер чека"),
        QStringLiteral("Сумма чека руб.коп."),
        QStringLiteral("Должность, фамилия, и., о. лица, разрешившего возврат денег по чеку")};
    constexpr qreal headingHeight = 16;
    for (int i = 0; i < headings.size(); ++i) {
        band.items.append(ReportItem::text(column(i, 0, headingHeight), headings[i])
                              .withFont(tableFont()).withAlignment(Qt::AlignCenter)
                              .withWordWrap().withFrame(allSides));
        band.items.append(ReportItem::text(column(i, headingHeight, lineHeight), QString::number(i + 1))
                              .withFont(tableFont()).withAlignment(Qt::AlignCenter).withFrame(allSides));
    }
    band.height = headingHeight + lineHeight;
}

void addReceiptLine(ReportLayout &layout, bool blank)
{
    ReportBand &band = layout.band(BandKind::Detail);
    band.source = blank ? blankLinesSource : receiptsSource;
    band.height = detailHeight;
    const Qt::Alignment centre = Qt::AlignCenter;
    auto cell = [](ReportItem item, Qt::Alignment alignment) {
        return item.withFont(formBodyFont()).withAlignment(alignment).withFrame(allSides);
    };
    const QString source = band.source;
    band.items.append(cell(ReportItem::field(column(0, 0, detailHeight), source,
                                             blank ? QStringLiteral("idx") : QStringLiteral("NStroki")),
                           centre));
    band.items.append(cell(ReportItem::text(column(1, 0, detailHeight), QStringLiteral("-")), centre));
    band.items.append(cell(ReportItem::text(column(2, 0, detailHeight), QStringLiteral("-")), centre));
    if (blank) {
        for (int i = 3; i < 6; ++i)
            band.items.append(ReportItem::cell(column(i, 0, detailHeight), allSides));
        return;
    }
    band.items.append(cell(ReportItem::field(column(3, 0, detailHeight), source, QStringLiteral("NVCheka")),
                           centre));
    band.items.append(cell(ReportItem::field(column(4, 0, detailHeight), source, QStringLiteral("SVCheka"),
                                             QStringLiteral("### ### ##0.00   ")),
                           Qt::AlignRight | Qt::AlignVCenter));
    band.items.append(cell(ReportItem::caption(column(5, 0, detailHeight), cap::permittedBy),
                           Qt::AlignLeft | Qt::AlignVCenter));
}

void addCommission(QList<ReportItem> &items, qreal top)
{
    const QList<std::pair<QString, ItemContent>> members{
        {QStringLiteral("Заведующий отделом (секцией)"), FixedText{}},
        {QStringLiteral("Старший кассир"), FixedText{}},
        {QStringLiteral("Кассир-операционист"), Caption{cap::operatorName}},
        {QStringLiteral("Главный бухгалтер"), Caption{cap::chiefAccountant}},
        {QStringLiteral("-"), FixedText{}}};
    qreal y = top;
    QString role = QStringLiteral("Члены комиссии:");
    for (const auto &[position, name] : members) {
        y += addSignatureLine(items,
                              {.role = role, .name = name, .position = FixedText{position},
                               .roleWidth = 30, .positionWidth = 55},
                              {0, y})
             + 1;
        role.clear();
    }
}

void addSummary(ReportLayout &layout, const KindContent &kind)
{
    ReportBand &band = layout.band(BandKind::Summary);
    band.items.append(ReportItem::text({0, 0, columnEdges[4] - 2, detailHeight}, QStringLiteral("Итого"))
                          .withFont(boldBody()).withAlignment(Qt::AlignRight | Qt::AlignVCenter));
    band.items.append(ReportItem::caption(column(4, 0, detailHeight), cap::total)
                          .withFont(formBodyFont()).withAlignment(Qt::AlignRight | Qt::AlignVCenter)
                          .withFrame(allSides));
    band.items.append(line(9, QStringLiteral("Выдано покупателям (клиентам)  по  возвращенным  ими  "
                                             "кассовым  чекам  (по ошибочно про-")));
    band.items.append(line(14, QStringLiteral("битым чекам) согласно акту на сумму"), 0, 58));
    wordsLine().addTo(band.items);
    band.items.append(ReportItem{{0, 30, formWidth, lineHeight}, kind.closingSentence, {}}.withFont(formBodyFont()));
    band.items.append(line(36, QStringLiteral("Перечисленные   возвращенные   покупателями   (клиентами) "
                                              "чеки  (ошибочно  пробитые  чеки)")));
    band.items.append(line(41, QStringLiteral("погашены и прилагаются к акту. Приложение:"), 0, 68));
    band.items.append(line(41, QStringLiteral("кассовый чек №"), 68, 26));
    band.items.append(ReportItem::cell({94, 41, 40, lineHeight}, FrameSide::Bottom));
    addCommission(band.items, 48);
    band.height = 48 + 5 * 9;
}

ReportLayout km3Layout(std::optional<bool> blankOfKind)
{
    const bool blank = blankOfKind.has_value();
    const KindContent kind = kindContent(blankOfKind);
    ReportLayout layout;
    addPageHeader(layout);
    addTitle(layout, kind, blank);
    addTableHeading(layout);
    addReceiptLine(layout, blank);
    addSummary(layout, kind);
    return layout;
}

// The station's requisites as the documents last opened them; opened when nothing has opened
// them yet (the export program).
QString requisite(TfDM &dm, const QString &column)
{
    if (!dm.tabFILIAL.isOpen())
        dm.tabFILIAL.open();
    return dm.tabFILIAL.field(column).asString();
}

QString composedRequisite(TfDM &dm, const QString &column)
{
    if (!dm.adoqFILIAL.isOpen())
        dm.adoqFILIAL.open();
    return dm.adoqFILIAL.field(column).asString();
}

// A column of the register's Z-report; empty when none is open.
Field zActiveField(const DocumentContext &context, const QString &column)
{
    const Query &zActive = context.dm.adoqZActive;
    return zActive.isOpen() ? zActive.field(column) : Field(column, {}, ColumnKind::Other);
}

// What the act and its blanks print alike: the station and the manager's approval.
void writeRequisites(ReportLayout &layout, TfDM &dm)
{
    layout.setCaption(cap::nazvRBE, requisite(dm, QStringLiteral("nazvRBE")));
    layout.setCaption(cap::okpo, requisite(dm, QStringLiteral("OKPO")));
    layout.setCaption(cap::inn, requisite(dm, QStringLiteral("INN")));
    layout.setCaption(cap::okdp, requisite(dm, QStringLiteral("OKDP")));
    layout.setCaption(cap::managerPosition, requisite(dm, QStringLiteral("UPRAVDOLJN")));
    layout.setCaption(cap::approvalName, fioInitials(requisite(dm, QStringLiteral("UPRAVFIO")), false));
    layout.setCaption(cap::filialAZS, composedRequisite(dm, QStringLiteral("FilialAZS")));
    layout.setCaption(cap::softName, composedRequisite(dm, QStringLiteral("SoftName")));
}

QString totalText(double total)
{
    return QString::asprintf("%12.2f   ", total).replace(u'.', QLocale::system().decimalPoint());
}

std::shared_ptr<const RowSource> receiptRows(const QList<RefundReceipt> &receipts)
{
    auto rows = std::make_shared<MemoryRowSource>(
        QStringList{QStringLiteral("NStroki"), QStringLiteral("NVCheka"), QStringLiteral("SVCheka")});
    for (const RefundReceipt &receipt : receipts)
        rows->appendRow({receipt.line, receipt.number, receipt.sum});
    return rows;
}

Money sumOf(const QList<RefundReceipt> &receipts)
{
    Money total;
    for (const RefundReceipt &receipt : receipts)
        total += receipt.sum.value<Money>();
    return total;
}

ReportLayout prepareStoredAct(DocumentContext &context, bool cash)
{
    openRequisites(context.dm);
    openZActive(context);
    return prepareKM3(context, cash, storedReceipts(context.dm, context.idZ, cash));
}

bool hasRefunds(DocumentContext &context, bool cash)
{
    openZActive(context);
    return refundTotal(context, cash) > 0;
}

ReportLayout prepareBlank(DocumentContext &context, bool cash)
{
    TfDM &dm = context.dm;
    ReportLayout layout = cash ? qrKM3BLNAL() : qrKM3BLBNAL();
    writeRequisites(layout, dm);
    layout.setCaption(cap::chiefAccountant, fioInitials(requisite(dm, QStringLiteral("BUHGALTER")), true));
    if (!dm.tabXXX.isOpen())
        dm.tabXXX.open();
    auto lines = std::make_shared<MemoryRowSource>(QStringList{QStringLiteral("idx")});
    for (int row = 0; row < dm.tabXXX.recordCount(); ++row)
        lines->appendRow({dm.tabXXX.value(row, dm.tabXXX.columnIndex(QStringLiteral("idx")))});
    layout.setSource(blankLinesSource, lines);
    return layout;
}

} // namespace

ReportLayout qrKM3()
{
    return km3Layout(std::nullopt);
}

ReportLayout qrKM3BLNAL()
{
    return km3Layout(true);
}

ReportLayout qrKM3BLBNAL()
{
    return km3Layout(false);
}

double refundTotal(const DocumentContext &context, bool cash)
{
    return zActiveField(context, cash ? QStringLiteral("NalVozvrat") : QStringLiteral("KredStorno"))
        .asFloat();
}

ReportLayout prepareKM3(DocumentContext &context, bool cash, const QList<RefundReceipt> &receipts)
{
    TfDM &dm = context.dm;
    ReportLayout layout = qrKM3();
    const KindTexts texts = kindTexts(cash);
    layout.setCaption(cap::kindLine, texts.kindLine);
    layout.setCaption(cap::closingSentence, texts.closingSentence);

    writeRequisites(layout, dm);
    const DocDateParts approvalDate = dateToDocParts(context.shift.date);
    layout.setCaption(cap::approvalDay, approvalDate.day);
    layout.setCaption(cap::approvalMonth, approvalDate.month);
    layout.setCaption(cap::approvalYear, approvalDate.year);
    const QString manager = fioInitials(requisite(dm, QStringLiteral("UPRAVFIO")), false);
    layout.setCaption(cap::permittedBy, requisite(dm, QStringLiteral("UPRAVDOLJN")) + QStringLiteral(", ") + manager);
    layout.setCaption(cap::chiefAccountant, fioInitials(requisite(dm, QStringLiteral("BUHGALTER")), false));
    const QString cashier = fioInitials(chosenOperator(context.shift.operator1), false);
    layout.setCaption(cap::cashier, cashier);
    layout.setCaption(cap::operatorName, cashier);

    layout.setCaption(cap::kkmNazv, zActiveField(context, QStringLiteral("KKMNazv")).asString());
    layout.setCaption(cap::nproizv, zActiveField(context, QStringLiteral("nproizv")).asString());
    layout.setCaption(cap::nreg, zActiveField(context, QStringLiteral("nreg")).asString());
    layout.setCaption(cap::zDay, zActiveField(context, QStringLiteral("ZDay")).asString());

    const double total = sumOf(receipts).toDouble();
    layout.setCaption(cap::total, totalText(total));
    wordsLine().fill(layout, total);
    layout.setSource(receiptsSource, receiptRows(receipts));
    return layout;
}

void printOneKM3(DocumentContext &context, bool cash, OutputMode mode, QWidget *parent)
{
    const ReportLayout layout = prepareKM3(context, cash, xVozvratReceipts(context.dm));
    if (mode == OutputMode::Preview)
        preview(layout, parent);
    else
        printDirect(layout);
}

const QList<DocumentCommand> &km3Documents()
{
    static const QList<DocumentCommand> commands{
        {QStringLiteral("km3"), QStringLiteral("KM3 АКТ ВОЗВР."),
         [](DocumentContext &context) { return prepareStoredAct(context, hasRefunds(context, true)); },
         [](DocumentContext &context) { return hasRefunds(context, true) || hasRefunds(context, false); }},
        {QStringLiteral("km3-cash"), QStringLiteral("КМ3 (нал. расчет)"),
         [](DocumentContext &context) { return prepareStoredAct(context, true); },
         [](DocumentContext &context) { return hasRefunds(context, true); }},
        {QStringLiteral("km3-card"), QStringLiteral("КМ3 (безнал. расчет)"),
         [](DocumentContext &context) { return prepareStoredAct(context, false); },
         [](DocumentContext &context) { return hasRefunds(context, false); }},
        {QStringLiteral("km3-cash-blank"), QStringLiteral("KM3 (наличн)"),
         [](DocumentContext &context) { return prepareBlank(context, true); }},
        {QStringLiteral("km3-card-blank"), QStringLiteral("КМ3 (безнал)"),
         [](DocumentContext &context) { return prepareBlank(context, false); }},
    };
    return commands;
}
