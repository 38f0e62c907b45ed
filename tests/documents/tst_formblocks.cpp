#include "support/preparedpages.h"
#include "documents/formblocks.h"
#include "documents/rubproc.h"
#include "platform/report/preparedreport.h"

#include <QTest>

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
    void dateLine();
    void amountInWordsPadsToTheCell_data();
    void amountInWordsPadsToTheCell();
    void amountInWordsWithAContinuationLine();
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

void TestFormBlocks::dateLine()
{
    const DocDateParts parts = dateToDocParts(QStringLiteral("05.03.2016"));
    QList<ReportItem> items;
    const qreal width = addDateLine(items, {FixedText{parts.day}, FixedText{parts.month},
                                            FixedText{parts.year}}, {20, 0});
    const PreparedPage page = layOut(items, 10);
    QStringList order;
    for (const PreparedItem &item : page.items)
        order.append(item.text);
    QCOMPARE(order, (QStringList{"\"", "05", "\"", "марта", "2016", "г."}));
    for (int i = 1; i < page.items.size(); ++i)
        QVERIFY(page.items[i].rect.left() >= page.items[i - 1].rect.right() - 0.01);
    QCOMPARE(page.items.first().rect.left(), 30.0);
    QCOMPARE(page.items.last().rect.right(), 30.0 + width);
    for (int cell : {1, 3, 4})
        QCOMPARE(page.items[cell].style.frame.sides, FrameSides(FrameSide::Bottom));
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

// The words over the whole line with their hint beneath; the kopecks end the dashes of the
// continuation line below.
void TestFormBlocks::amountInWordsWithAContinuationLine()
{
    const AmountInWordsLine line({60, 0, 130, 5}, QStringLiteral("(прописью)"), {0, 9, 190, 5},
                                 QStringLiteral("words"), QStringLiteral("kop"));
    QCOMPARE(line.wordsRect(), QRectF(60, 0, 130, 5));
    QList<ReportItem> items;
    line.addTo(items);
    ReportLayout layout;
    line.fill(layout, 21.5);
    QVERIFY(layout.caption(QStringLiteral("words")).startsWith(QStringLiteral("Двадцать один -")));
    QCOMPARE(layout.caption(QStringLiteral("kop")), QStringLiteral("50"));

    const PreparedPage page = layOut(items, 14, layout);
    const auto *words = findItem(page, layout.caption(QStringLiteral("words")));
    const auto *hint = findItem(page, QStringLiteral("(прописью)"));
    const auto *rub = findItem(page, QStringLiteral("руб."));
    const auto *kopecks = findItem(page, QStringLiteral("50"));
    const auto *kopText = findItem(page, QStringLiteral("коп."));
    QVERIFY(words && hint && rub && kopecks && kopText);
    QCOMPARE(words->rect.right(), 200.0);
    QCOMPARE(hint->rect.top(), words->rect.bottom());
    const PreparedItem *dashes = nullptr;
    for (const PreparedItem &item : page.items) {
        if (!item.text.isEmpty() && item.text.count(u'-') == item.text.size())
            dashes = &item;
    }
    QVERIFY(dashes);
    QCOMPARE(dashes->rect.left(), 10.0);
    QVERIFY(printedTextWidth(dashes->text + u'-', formBodyFont().toQFont())
            > dashes->rect.width() - 2);
    for (const PreparedItem *onContinuation : {dashes, rub, kopecks, kopText})
        QCOMPARE(onContinuation->rect.top(), 19.0);
    QVERIFY(dashes->rect.right() <= rub->rect.left() && rub->rect.right() <= kopecks->rect.left()
            && kopecks->rect.right() <= kopText->rect.left() && kopText->rect.right() <= 200.01);
}

QTEST_MAIN(TestFormBlocks)
#include "tst_formblocks.moc"
