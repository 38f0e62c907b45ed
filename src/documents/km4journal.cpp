#include "km4journal.h"

#include "db/datamodule.h"
#include "documents/formblocks.h"
#include "documents/formgrid.h"
#include "documents/formsources.h"

namespace {

const QString registerLineCaption = QStringLiteral("registerLine");
const QString moneyPattern = QStringLiteral("### ### ##0.00    ");

constexpr qreal groupHeadingHeight = 7;
constexpr qreal headingHeight = 23;
constexpr qreal columnNumberHeight = 5;
constexpr qreal lineHeight = 6;

ReportFont headingFont()
{
    return {.pointSize = 7};
}

// A column of the journal: its number on the unified form, its heading and what its lines show.
struct JournalColumn
{
    qreal width;
    QString number;
    QString heading;
    QString field;
    bool money = false;
};

const QList<JournalColumn> &journalColumns()
{
    static const QList<JournalColumn> columns{
        {22, QStringLiteral("1"), QStringLiteral("Дата (смена)"), QStringLiteral("ZDay")},
        {48, QStringLiteral("3"), QStringLiteral("Фамилия, имя, отчество кассира"),
         QStringLiteral("OperFIO")},
        {36, QStringLiteral("4"),
         QStringLiteral("Порядковый номер контрольного счетчика (отчета фискальной памяти на "
                        "конец рабочего дня (смены))"),
         QStringLiteral("NZ")},
        {30, QStringLiteral("6"), QStringLiteral("Нач.смены сумма, руб, коп."),
         QStringLiteral("NarPRODpred"), true},
        {30, QStringLiteral("9"), QStringLiteral("Кон.смены сумма, руб, коп."),
         QStringLiteral("NarPROD"), true},
        {29, QStringLiteral("10, 14"),
         QStringLiteral("сумма выручки за рабочий день (смену) руб, коп. (9)-(6)"),
         QStringLiteral("SumProd"), true},
        {26, QStringLiteral("11"), QStringLiteral("Наличными сумма, руб, коп."),
         QStringLiteral("NalProd"), true},
        {26, QStringLiteral("13"), QStringLiteral("по документам сумма, руб, коп."),
         QStringLiteral("KredProd"), true},
        {30, QStringLiteral("15"),
         QStringLiteral("Сумма денег, возвращенная покупателям (клиентам) по неиспользованным "
                        "кассовым чекам, руб. коп."),
         QStringLiteral("SumVozvrat"), true},
    };
    return columns;
}

// Headings over two neighbouring columns.
struct ColumnGroup
{
    int first;
    int last;
    QString heading;
};

const QList<ColumnGroup> columnGroups{
    {3, 4, QStringLiteral("Показания суммирующих денежных счетчиков")},
    {6, 7, QStringLiteral("Сдано")},
};

const ColumnGroup *groupOf(int column)
{
    for (const ColumnGroup &group : columnGroups) {
        if (column >= group.first && column <= group.last)
            return &group;
    }
    return nullptr;
}

FormGrid journalTable()
{
    QList<qreal> widths;
    for (const JournalColumn &column : journalColumns())
        widths << column.width;
    return FormGrid(widths);
}

void addJournalHeading(ReportBand &band, qreal width)
{
    const ReportFont font{.pointSize = 8};
    band.height = 11;
    band.items << ReportItem::text({0, 0, width, 4},
                                   QStringLiteral("ЖУРНАЛ КАССИРА-ОПЕРАЦИОНИСТА (Унифицированная "
                                                  "форма № КМ-4)"))
                      .withFont({.pointSize = 8, .bold = true})
                      .withAlignment(Qt::AlignCenter)
               << ReportItem::field({0, 5, width / 2, 4}, FormSource::requisites,
                                    QStringLiteral("FilialAZS"))
                      .withFont(font)
               << ReportItem::caption({width / 2, 5, width / 2, 4}, registerLineCaption)
                      .withFont(font)
                      .withAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void addColumnHeadings(ReportBand &band)
{
    const FormGrid table = journalTable();
    const QList<JournalColumn> &columns = journalColumns();
    for (const ColumnGroup &group : columnGroups) {
        band.items << tableCell(table.cell(group.first, 0, groupHeadingHeight, group.last - group.first + 1),
                                FixedText{group.heading}, Qt::AlignCenter, headingFont())
                          .withWordWrap();
    }
    for (int i = 0; i < columns.size(); ++i) {
        const qreal top = groupOf(i) ? groupHeadingHeight : 0;
        band.items << tableCell(table.cell(i, top, headingHeight - top),
                                FixedText{columns[i].heading}, Qt::AlignCenter, headingFont())
                          .withWordWrap()
                   << tableCell(table.cell(i, headingHeight, columnNumberHeight),
                                FixedText{columns[i].number}, Qt::AlignCenter, headingFont());
    }
    band.height = headingHeight + columnNumberHeight;
}

void addJournalLine(ReportBand &band)
{
    const FormGrid table = journalTable();
    const QList<JournalColumn> &columns = journalColumns();
    band.source = FormSource::journal;
    band.height = lineHeight;
    for (int i = 0; i < columns.size(); ++i) {
        const JournalColumn &column = columns[i];
        const Qt::Alignment alignment = column.money ? Qt::AlignRight | Qt::AlignVCenter
                                        : i == 1    ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignCenter;
        band.items << tableCell(table.cell(i, 0, lineHeight),
                                DataField{FormSource::journal, column.field,
                                          column.money ? moneyPattern : QString()},
                                alignment);
    }
}

// "за период с ____ по ____ ____ года", centred.
void addPeriodLine(QList<ReportItem> &items, qreal top, qreal width)
{
    const ReportFont font{.pointSize = 11};
    const Qt::Alignment bottom = Qt::AlignHCenter | Qt::AlignBottom;
    const QList<std::pair<qreal, QString>> parts{{24, QStringLiteral("за период с")},
                                                 {40, QString()},
                                                 {8, QStringLiteral("по")},
                                                 {40, QString()},
                                                 {2, QString()},
                                                 {16, QString()},
                                                 {12, QStringLiteral("года")}};
    qreal total = 0;
    for (const auto &part : parts)
        total += part.first;
    qreal x = (width - total) / 2;
    for (const auto &[partWidth, text] : parts) {
        const QRectF rect(x, top, partWidth, 6);
        if (!text.isEmpty())
            items << ReportItem::text(rect, text).withFont(font).withAlignment(bottom);
        else if (partWidth > 2)
            items << ReportItem::cell(rect, FrameSide::Bottom);
        x += partWidth;
    }
}

} // namespace

ReportLayout qrKM4()
{
    ReportLayout layout(QPageLayout::Landscape);
    addJournalHeading(layout.band(BandKind::PageHeader), layout.page().printableArea().width());
    addColumnHeadings(layout.band(BandKind::ColumnHeader));
    addJournalLine(layout.band(BandKind::Detail));
    return layout;
}

ReportLayout qrKM4TL()
{
    ReportLayout layout(QPageLayout::Landscape);
    const qreal width = layout.page().printableArea().width();
    ReportBand &title = layout.band(BandKind::Title);
    auto station = [](const char *column) -> ItemContent {
        return DataField{FormSource::station, QString::fromLatin1(column), {}};
    };
    auto requisite = [](const char *column) -> ItemContent {
        return DataField{FormSource::requisites, QString::fromLatin1(column), {}};
    };
    auto zReport = [](const char *column) -> ItemContent {
        return DataField{FormSource::zActive, QString::fromLatin1(column), {}};
    };
    const UnifiedFormHeader header{
        QStringLiteral("КМ-4"),
        FormSeries::KM,
        QStringLiteral("0330104"),
        {{QStringLiteral("по ОКПО"), station("OKPO")},
         {QStringLiteral("ИНН"), station("INN")},
         {QStringLiteral("Вид деятельности по ОКПД"), station("OKDP")},
         {QStringLiteral("номер производителя"), zReport("nproizv")},
         {QStringLiteral("регистрационный"), zReport("nreg")},
         {QStringLiteral("Кассир"), FixedText{}},
         {QStringLiteral("Вид операции"), FixedText{}}},
        {{{}, station("nazvRBE"), QStringLiteral("(организация, адрес, номер телефона)")},
         {{}, requisite("AdrTel"), {}},
         {{}, requisite("FilialAZS"), QStringLiteral("(структурное подразделение)")},
         {QStringLiteral("Контрольно-\nкассовая машина"), zReport("KKMNazv"),
          QStringLiteral("(модель (класс, тип, марка))")},
         {QStringLiteral("Прикладная программа"), requisite("SoftName"),
          QStringLiteral("(наименование)")}}};
    qreal y = addUnifiedFormHeader(title.items, header, width) + 30;

    title.items << ReportItem::text({0, y, width, 14}, QStringLiteral("Ж У Р Н А Л"))
                       .withFont({.pointSize = 26, .bold = true})
                       .withAlignment(Qt::AlignCenter);
    y += 14;
    title.items << ReportItem::text({0, y, width, 9}, QStringLiteral("КАССИРА-ОПЕРАЦИОНИСТА"))
                       .withFont({.pointSize = 16, .bold = true})
                       .withAlignment(Qt::AlignCenter);
    y += 14;
    addPeriodLine(title.items, y, width);
    y += 30;

    constexpr qreal responsibleWidth = 70, nameWidth = 90;
    const qreal left = (width - responsibleWidth - nameWidth) / 2;
    title.items << ReportItem::text({left, y, responsibleWidth, 5},
                                    QStringLiteral("лицо, ответственное за ведение журнала"))
                       .withFont(formBodyFont())
                       .withAlignment(Qt::AlignLeft | Qt::AlignBottom);
    addHintedField(title.items, {left + responsibleWidth, y, nameWidth, 5},
                   FixedText{QStringLiteral("оператор-кассир")},
                   QStringLiteral("(фамилия, имя, отчество)"));
    title.height = y + 8;
    return layout;
}

ReportLayout btnKM4Click(DocumentContext &context)
{
    TfDM &dm = context.dm;
    openRequisites(dm);
    openZActive(context);
    const Query &zActive = dm.adoqZActive;
    Query &journal = dm.adoqZKM4;
    journal.close();
    journal.setParam(QStringLiteral("idkkm"),
                     zActive.isEmpty() ? QVariant() : zActive.field(QStringLiteral("idKKM")).value());
    journal.open();

    ReportLayout layout = qrKM4();
    bindFormSources(layout, dm);
    if (!zActive.isEmpty()) {
        layout.setCaption(registerLineCaption,
                          QStringLiteral("KKM № %1, Рег. %2")
                              .arg(zActive.field(QStringLiteral("nproizv")).asString(),
                                   zActive.field(QStringLiteral("nreg")).asString()));
    }
    return layout;
}

ReportLayout mKM4TLClick(DocumentContext &context)
{
    useOpenedRequisites(context.dm);
    ReportLayout layout = qrKM4TL();
    bindFormSources(layout, context.dm);
    return layout;
}

const QList<DocumentCommand> &journalDocuments()
{
    static const QList<DocumentCommand> commands{
        {QStringLiteral("km4"), QStringLiteral("КМ4 ЖУРН.КАС-ОП"), btnKM4Click},
        {QStringLiteral("km4-title"), QStringLiteral("КМ4 (тит.лист)"), mKM4TLClick},
    };
    return commands;
}
