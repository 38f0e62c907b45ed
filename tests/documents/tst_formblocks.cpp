#include "support/preparedpages.h"
#include "documents/formblocks.h"
#include "documents/rubproc.h"
#include "platform/report/preparedreport.h"
#include "platform/report/reportpainter.h"

#include <QTest>

Q_DECLARE_METATYPE(DateLine)

namespace {

// Items of a title band at the top of a portrait page: paper coordinates are the band's plus 10.
PreparedPage layOut(const QList<ReportItem> &items, qreal height,
                   ReportLayout layout = ReportLayout())
{
    layout.band(BandKind::Title).height = height;
    layout.band(BandKind::Title).items = items;
    return prepareReport(layout).pages.value(0);
}

} // namespace

class TestFormBlocks : public QObject
{
    Q_OBJECT

private slots:
    void unifiedHeader();
    void decreeOfSeries_data();
    void decreeOfSeries();
    void signatureLine();
    void dateLine_data();
    void dateLine();
    void amountInWordsPadsToTheCell_data();
    void amountInWordsPadsToTheCell();
    void codeRowsUnderOneWord();
    void amountInWordsRunsOn_data();
    void amountInWordsRunsOn();
};

void TestFormBlocks::unifiedHeader()
{
    ReportLayout layout;
    layout.setCaption(QStringLiteral("okpo"), QStringLiteral("12345678"));
    layout.setCaption(QStringLiteral("org"), QStringLiteral("ООО «Ромашка»"));
    UnifiedFormHeader header{QStringLiteral("КМ-6"), FormSeries::KM, QStringLiteral("0330106"),
                             {{QStringLiteral("по ОКПО"), Caption{QStringLiteral("okpo")}}},
                             {{{}, Caption{QStringLiteral("org")}, QStringLiteral("(организация)")},
                              {QStringLiteral("Контрольно-\nкассовая машина"),
                               FixedText{QStringLiteral("ЭКР 2102К")},
                               QStringLiteral("(модель (класс, тип, марка))")}}};
    QList<ReportItem> items;
    const qreal height = addUnifiedFormHeader(items, header, 190);
    const PreparedPage page = layOut(items, height, layout);

    const auto *form = findItem(page, QStringLiteral("Унифицированная форма № КМ-6"));
    const auto *decree = findItem(page, QStringLiteral("России от 25.12.98 № 132"));
    QVERIFY(form && decree && findItem(page, QStringLiteral("Утверждена Постановлением Госкомстата")));
    QCOMPARE(form->rect.right(), 200.0);
    QCOMPARE(form->rect.top(), 10.0);
    QVERIFY(decree->rect.top() > form->rect.bottom() - 0.01);
    QVERIFY(form->style.font.pointSize <= 8 && form->style.font.pointSize >= 6);

    // The code column: "Код" above the ОКУД cell above the ОКПО cell, all framed, at the right.
    const auto *code = findItem(page, QStringLiteral("Код"));
    const auto *okud = findItem(page, QStringLiteral("0330106"));
    const auto *okpo = findItem(page, QStringLiteral("12345678"));
    QVERIFY(code && okud && okpo);
    QCOMPARE(okud->rect.left(), code->rect.left());
    QCOMPARE(okud->rect.top(), code->rect.bottom());
    QCOMPARE(okpo->rect.top(), okud->rect.bottom());
    QCOMPARE(okpo->rect.right(), 200.0);
    QCOMPARE(okpo->style.frame.sides, allSides);
    const auto *okpoCaption = findItem(page, QStringLiteral("по ОКПО"));
    QVERIFY(okpoCaption);
    QCOMPARE(okpoCaption->rect.top(), okpo->rect.top());
    QVERIFY(okpoCaption->rect.right() <= okpo->rect.left());

    // The requisite lines at the left: underlined value, hint right beneath, label before it.
    const auto *org = findItem(page, QStringLiteral("ООО «Ромашка»"));
    const auto *orgHint = findItem(page, QStringLiteral("(организация)"));
    QVERIFY(org && orgHint);
    QCOMPARE(org->rect.left(), 10.0);
    QCOMPARE(org->style.frame.sides, FrameSides(FrameSide::Bottom));
    QCOMPARE(orgHint->rect.top(), org->rect.bottom());
    QVERIFY(org->rect.right() < okpoCaption->rect.left());
    const auto *model = findItem(page, QStringLiteral("ЭКР 2102К"));
    const auto *label = findItem(page, QStringLiteral("Контрольно-\nкассовая машина"));
    QVERIFY(model && label && findItem(page, QStringLiteral("(модель (класс, тип, марка))")));
    QVERIFY(model->rect.top() >= orgHint->rect.bottom());
    QCOMPARE(label->rect.top(), model->rect.top());
    QVERIFY(label->rect.right() <= model->rect.left());

    for (const PreparedItem &item : page.items)
        QVERIFY2(item.rect.bottom() <= 10 + height + 0.01, qPrintable(item.text));
}

void TestFormBlocks::decreeOfSeries_data()
{
    QTest::addColumn<FormSeries>("series");
    QTest::addColumn<QString>("decree");
    QTest::newRow("KM") << FormSeries::KM << QStringLiteral("России от 25.12.98 № 132");
    QTest::newRow("KO") << FormSeries::KO << QStringLiteral("России от 18.08.98 № 88");
}

void TestFormBlocks::decreeOfSeries()
{
    QFETCH(FormSeries, series);
    QFETCH(QString, decree);
    QList<ReportItem> items;
    UnifiedFormHeader header;
    header.formName = QStringLiteral("КО-1");
    header.series = series;
    const qreal height = addUnifiedFormHeader(items, header, 190);
    QVERIFY(findItem(layOut(items, height), decree));
}

void TestFormBlocks::signatureLine()
{
    QList<ReportItem> items;
    const qreal height = addSignatureLine(items,
                                          {QStringLiteral("Руководитель"),
                                           FixedText{QStringLiteral("Петров П.П.")},
                                           FixedText{QStringLiteral("Директор")}},
                                          {5, 0});
    const PreparedPage page = layOut(items, height);
    const auto *role = findItem(page, QStringLiteral("Руководитель"));
    const auto *position = findItem(page, QStringLiteral("Директор"));
    const auto *name = findItem(page, QStringLiteral("Петров П.П."));
    const auto *signHint = findItem(page, QStringLiteral("(подпись)"));
    const auto *nameHint = findItem(page, QStringLiteral("(расшифровка подписи)"));
    QVERIFY(role && position && name && signHint && nameHint
            && findItem(page, QStringLiteral("(должность)")));
    QCOMPARE(role->rect.left(), 15.0);
    QVERIFY(role->rect.right() <= position->rect.left());
    QVERIFY(position->rect.right() < signHint->rect.left());
    QVERIFY(signHint->rect.right() < name->rect.left());
    QCOMPARE(nameHint->rect.left(), name->rect.left());
    QCOMPARE(nameHint->rect.top(), name->rect.bottom());
    QCOMPARE(name->style.frame.sides, FrameSides(FrameSide::Bottom));

    items.clear();
    addSignatureLine(items, {QStringLiteral("Кассир"), FixedText{QStringLiteral("Иванова")}, std::nullopt},
                     {});
    QVERIFY(!findItem(layOut(items, height), QStringLiteral("(должность)")));
}

void TestFormBlocks::dateLine_data()
{
    QTest::addColumn<DateLine>("date");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QList<int>>("cells"); // the underlined items
    const DocDateParts parts = dateToDocParts(QStringLiteral("05.03.2016"));
    QTest::newRow("filled") << DateLine{FixedText{parts.day}, FixedText{parts.month},
                                        FixedText{parts.year}}
                            << QStringList{"\"", "05", "\"", "марта", "2016", "г."}
                            << QList<int>{1, 3, 4};
    // Left for the hand, the century printed.
    QTest::newRow("to fill in") << DateLine{FixedText{}, FixedText{}, FixedText{}, true,
                                            QStringLiteral("20")}
                                << QStringList{"«", "", "»", "", "20", "", "г."}
                                << QList<int>{1, 3, 5};
}

void TestFormBlocks::dateLine()
{
    QFETCH(DateLine, date);
    QFETCH(QStringList, printed);
    QFETCH(QList<int>, cells);
    QList<ReportItem> items;
    const qreal width = addDateLine(items, date, {20, 0});
    const PreparedPage page = layOut(items, 10);
    QStringList order;
    for (const PreparedItem &item : page.items)
        order.append(item.text);
    QCOMPARE(order, printed);
    for (int i = 1; i < page.items.size(); ++i)
        QVERIFY(page.items[i].rect.left() >= page.items[i - 1].rect.right() - 0.01);
    QCOMPARE(page.items.first().rect.left(), 30.0);
    QCOMPARE(page.items.last().rect.right(), 30.0 + width);
    for (int i = 0; i < page.items.size(); ++i)
        QCOMPARE(page.items[i].style.frame.sides,
                 cells.contains(i) ? FrameSides(FrameSide::Bottom) : FrameSides());
}

void TestFormBlocks::amountInWordsPadsToTheCell_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("kopecks");
    QTest::newRow("thousands") << 1234.56 << QStringLiteral("Одна тысяча двести тридцать четыре ")
                               << QStringLiteral("56");
    QTest::newRow("below a ruble") << 0.5 << QStringLiteral("ноль ") << QStringLiteral("50");
}

void TestFormBlocks::amountInWordsPadsToTheCell()
{
    QFETCH(double, amount);
    QFETCH(QString, words);
    QFETCH(QString, kopecks);
    const AmountInWordsLine line({0, 0, 190, 5}, QStringLiteral("words"), QStringLiteral("kop"));
    QList<ReportItem> items;
    line.addTo(items);
    ReportLayout layout;
    line.fill(layout, amount);

    const QString printed = layout.caption(QStringLiteral("words"));
    QVERIFY(printed.startsWith(words + u'-'));
    QVERIFY(printed.mid(words.size()).count(u'-') == printed.size() - words.size());
    const QFont font = formBodyFont().toQFont();
    QVERIFY(printedTextWidth(printed, font) <= line.wordsTextWidth());
    QVERIFY(printedTextWidth(printed + u'-', font) > line.wordsTextWidth());
    QCOMPARE(layout.caption(QStringLiteral("kop")), kopecks);

    const PreparedPage page = layOut(items, 5, layout);
    const auto *wordsItem = findItem(page, printed);
    const auto *kopItem = findItem(page, kopecks);
    const auto *kopText = findItem(page, QStringLiteral("коп."));
    QVERIFY(wordsItem && kopItem && kopText);
    QVERIFY(wordsItem->rect.right() <= kopItem->rect.left());
    QVERIFY(kopItem->rect.right() <= kopText->rect.left());
    QVERIFY(kopText->rect.right() <= 200.01);
}

void TestFormBlocks::codeRowsUnderOneWord()
{
    UnifiedFormHeader header;
    header.formName = QStringLiteral("КМ-6");
    header.codes = {
        {QStringLiteral("по ОКПО"), FixedText{QStringLiteral("1")}},
        {QStringLiteral("производителя"), FixedText{QStringLiteral("2")}, QStringLiteral("номер")},
        {QStringLiteral("регистрационный"), FixedText{QStringLiteral("3")},
         QStringLiteral("номер")}};
    QList<ReportItem> items;
    const PreparedPage page = layOut(items, addUnifiedFormHeader(items, header, 190));
    QCOMPARE(std::count_if(
                 page.items.cbegin(), page.items.cend(),
                 [](const PreparedItem &item) { return item.text == QStringLiteral("номер"); }),
             1);
    const auto *group = findItem(page, QStringLiteral("номер"));
    const auto *first = findItem(page, QStringLiteral("производителя"));
    const auto *second = findItem(page, QStringLiteral("регистрационный"));
    QVERIFY(group && first && second);
    QCOMPARE(group->rect.top(), first->rect.top());
    QCOMPARE(group->rect.bottom(), second->rect.bottom());
    QVERIFY(group->rect.right() <= first->rect.left()
            && group->rect.right() <= second->rect.left());
    QCOMPARE(findItem(page, QStringLiteral("по ОКПО"))->rect.right(), first->rect.right());
}

void TestFormBlocks::amountInWordsRunsOn_data()
{
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("firstWords");
    QTest::addColumn<bool>("firstDashed");
    QTest::addColumn<QString>("restWords");
    const QString words = QStringLiteral("Пятнадцать тысяч двести тридцать четыре ");
    QTest::newRow("words fit their line") << 120.0 << words << true << QString();
    QTest::newRow("words run on") << 52.0 << QStringLiteral("Пятнадцать тысяч двести тридцать ")
                                  << false << QStringLiteral("четыре ");
}

void TestFormBlocks::amountInWordsRunsOn()
{
    QFETCH(qreal, width);
    QFETCH(QString, firstWords);
    QFETCH(bool, firstDashed);
    QFETCH(QString, restWords);
    const AmountInWordsLine line({0, 0, width, 5}, QStringLiteral("words"),
                                 {{0, 8, width, 5}, QStringLiteral("rest")}, QStringLiteral("kop"));
    QList<ReportItem> items;
    line.addTo(items);
    ReportLayout layout;
    line.fill(layout, 15234.5);

    const QFont font = formBodyFont().toQFont();
    const QString first = layout.caption(QStringLiteral("words"));
    QCOMPARE(first.startsWith(firstWords + u'-'), firstDashed);
    if (!firstDashed)
        QCOMPARE(first, firstWords);
    QVERIFY(printedTextWidth(first, font) <= line.wordsTextWidth());
    const QString rest = layout.caption(QStringLiteral("rest"));
    QVERIFY2(rest.startsWith(restWords + u'-')
                 && rest.count(u'-') == rest.size() - restWords.size(),
             qPrintable(rest));

    const PreparedPage page = layOut(items, 13, layout);
    const auto *firstItem = findItem(page, first);
    const auto *hint = findItem(page, QStringLiteral("(прописью)"));
    const auto *restItem = findItem(page, rest);
    QVERIFY(firstItem && hint && restItem);
    QCOMPARE(firstItem->rect.right(), 10 + width);
    QCOMPARE(hint->rect.top(), firstItem->rect.bottom());
    QVERIFY(restItem->rect.top() >= hint->rect.bottom());
    const qreal room = restItem->rect.width() - 2 * reportTextPadding;
    QVERIFY(printedTextWidth(rest, font) <= room);
    QVERIFY(printedTextWidth(rest + u'-', font) > room);
    QStringList tail;
    for (const PreparedItem &item : page.items) {
        if (item.rect.top() == restItem->rect.top())
            tail.append(item.text);
    }
    QCOMPARE(tail, (QStringList{rest, "руб.", "50", "коп."}));
    QCOMPARE(page.items.last().rect.right(), 10 + width);
}

QTEST_MAIN(TestFormBlocks)
#include "tst_formblocks.moc"
