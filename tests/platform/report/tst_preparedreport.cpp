#include "support/preparedpages.h"
#include "platform/data/connection.h"
#include "platform/data/money.h"
#include "platform/data/query.h"
#include "platform/report/datasetrowsource.h"
#include "platform/report/preparedreport.h"

#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {

const QString rowsName = QStringLiteral("rows");

// Portrait A4 with 10 mm margins: the printable area runs from 10 to 287 mm. Every page has a
// 10 mm page header and an 8 mm column header above and a 7 mm footer below, which leaves
// 252 mm, 21 detail rows of 12 mm; the first page also has a 24 mm title, which leaves 19.
ReportLayout listLayout(int rowCount)
{
    ReportLayout layout;
    auto add = [&layout](BandKind kind, qreal height, const ReportItem &item) {
        layout.band(kind).height = height;
        layout.band(kind).items.append(item);
    };
    add(BandKind::PageHeader, 10, ReportItem::text({0, 0, 190, 10}, QStringLiteral("Шапка")));
    add(BandKind::Title, 24, ReportItem::text({0, 0, 190, 24}, QStringLiteral("Заголовок")));
    add(BandKind::ColumnHeader, 8, ReportItem::text({0, 0, 190, 8}, QStringLiteral("Колонки")));
    add(BandKind::Detail, 12, ReportItem::field({5, 1, 50, 10}, rowsName, QStringLiteral("n")));
    add(BandKind::Summary, 12, ReportItem::text({0, 0, 190, 12}, QStringLiteral("Итого")));
    add(BandKind::PageFooter, 7,
        ReportItem::caption({0, 0, 20, 7}, ReportLayout::pageNumberCaption));
    layout.band(BandKind::PageFooter)
        .items.append(ReportItem::caption({20, 0, 20, 7}, ReportLayout::pageCountCaption));
    layout.band(BandKind::Detail).source = rowsName;

    auto rows = std::make_shared<MemoryRowSource>(QStringList{QStringLiteral("n")});
    for (int i = 1; i <= rowCount; ++i)
        rows->appendRow({i});
    layout.setSource(rowsName, rows);
    return layout;
}

QStringList texts(const PreparedPage &page)
{
    QStringList result;
    for (const PreparedItem &item : page.items)
        result.append(item.text);
    return result;
}

QStringList rowTexts(int first, int last)
{
    QStringList result;
    for (int i = first; i <= last; ++i)
        result.append(QString::number(i));
    return result;
}

} // namespace

class TestPreparedReport : public QObject
{
    Q_OBJECT

private slots:
    void detailRowsBreakOntoPagesWithHeadersRepeated_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QList<QStringList>>("pages");
        const QString header = QStringLiteral("Шапка");
        const QString title = QStringLiteral("Заголовок");
        const QString columns = QStringLiteral("Колонки");
        const QString summary = QStringLiteral("Итого");
        const QStringList firstPageTop{header, title, columns};
        const QStringList pageTop{header, columns};

        QTest::newRow("one page") << 3
                                  << QList<QStringList>{firstPageTop + rowTexts(1, 3)
                                                        + QStringList{summary, "1", "1"}};
        QTest::newRow("summary on the last page with rows")
            << 41
            << QList<QStringList>{firstPageTop + rowTexts(1, 19) + QStringList{"1", "3"},
                                  pageTop + rowTexts(20, 40) + QStringList{"2", "3"},
                                  pageTop + rowTexts(41, 41) + QStringList{summary, "3", "3"}};
        QTest::newRow("pages exactly full: summary alone on a new page")
            << 40
            << QList<QStringList>{firstPageTop + rowTexts(1, 19) + QStringList{"1", "3"},
                                  pageTop + rowTexts(20, 40) + QStringList{"2", "3"},
                                  pageTop + QStringList{summary, "3", "3"}};
    }
    void detailRowsBreakOntoPagesWithHeadersRepeated()
    {
        QFETCH(int, rowCount);
        QFETCH(QList<QStringList>, pages);
        const PreparedReport report = prepareReport(listLayout(rowCount));
        QCOMPARE(report.pages.size(), pages.size());
        for (int i = 0; i < pages.size(); ++i)
            QCOMPARE(texts(report.pages.at(i)), pages.at(i));
    }

    void bandsStackFromTheTopAndTheFooterSitsAtTheBottom()
    {
        const PreparedReport report = prepareReport(listLayout(41));
        const PreparedPage &first = report.pages.at(0);
        QCOMPARE(findItem(first, QStringLiteral("Шапка"))->rect, QRectF(10, 10, 190, 10));
        QCOMPARE(findItem(first, QStringLiteral("Заголовок"))->rect.top(), 20.0);
        QCOMPARE(findItem(first, QStringLiteral("Колонки"))->rect.top(), 44.0);
        QCOMPARE(findItem(first, QStringLiteral("1"))->rect, QRectF(15, 53, 50, 10));
        QCOMPARE(findItem(first, QStringLiteral("19"))->rect.top(), 52.0 + 18 * 12 + 1);

        const PreparedPage &last = report.pages.at(2);
        QCOMPARE(findItem(last, QStringLiteral("Колонки"))->rect.top(), 20.0);
        QCOMPARE(findItem(last, QStringLiteral("41"))->rect.top(), 29.0);
        QCOMPARE(findItem(last, QStringLiteral("Итого"))->rect.top(), 40.0);
        for (const PreparedPage &page : report.pages)
            QCOMPARE(page.items.last().rect, QRectF(30, 280, 20, 7));
    }

    void bandTallerThanThePagePrintsOnePerPage()
    {
        ReportLayout layout = listLayout(2);
        layout.band(BandKind::Detail).height = 300;
        // The title leaves no room for a row; each row then fills a fresh page on its own.
        const PreparedReport report = prepareReport(layout);
        QCOMPARE(report.pages.size(), 4);
        QCOMPARE(texts(report.pages.at(0)).mid(0, 3),
                 (QStringList{"Шапка", "Заголовок", "Колонки"}));
        QCOMPARE(findItem(report.pages.at(1), QStringLiteral("1"))->rect.top(), 29.0);
        QCOMPARE(findItem(report.pages.at(2), QStringLiteral("2"))->rect.top(), 29.0);
        QVERIFY(findItem(report.pages.at(3), QStringLiteral("Итого")));
    }

    void emptyOrMissingDataPrintsEmptyFields()
    {
        ReportLayout layout;
        ReportBand &title = layout.band(BandKind::Title);
        title.height = 20;
        title.items = {
            ReportItem::field({0, 0, 40, 5}, QStringLiteral("empty"), QStringLiteral("a"),
                              QStringLiteral("0.00")),
            ReportItem::field({0, 5, 40, 5}, QStringLiteral("full"), QStringLiteral("missing")),
            ReportItem::field({0, 10, 40, 5}, QStringLiteral("unset"), QStringLiteral("a")),
            ReportItem::caption({0, 15, 40, 5}, QStringLiteral("neverWritten")),
        };
        layout.band(BandKind::Detail)
            = {5, QStringLiteral("empty"), {ReportItem::text({0, 0, 10, 5}, "row")}};
        layout.setSource(QStringLiteral("empty"),
                         std::make_shared<MemoryRowSource>(QStringList{"a"}));
        auto full = std::make_shared<MemoryRowSource>(QStringList{"a"});
        full->appendRow({1});
        layout.setSource(QStringLiteral("full"), full);

        const PreparedReport report = prepareReport(layout);
        QCOMPARE(report.pages.size(), 1);
        QCOMPARE(texts(report.pages.at(0)), QStringList(4, QString()));
    }

    void blankRowsPrintEmptyLines()
    {
        ReportLayout layout;
        layout.band(BandKind::Detail)
            = {6,
               QStringLiteral("xx"),
               {ReportItem::field({0, 0, 30, 6}, QStringLiteral("xx"), QStringLiteral("n"))
                    .withFrame(allSides)}};
        layout.setSource(QStringLiteral("xx"),
                         std::make_shared<MemoryRowSource>(MemoryRowSource::blankRows(4)));
        const PreparedPage page = prepareReport(layout).pages.value(0);
        QCOMPARE(page.items.size(), 4);
        QCOMPARE(page.items.at(3).rect, QRectF(10, 28, 30, 6));
        QCOMPARE(page.items.at(3).style.frame.sides, allSides);
        QCOMPARE(texts(page), QStringList(4, QString()));
    }

    void captionsAndPageLevelItemsOnEveryPage()
    {
        ReportLayout layout = listLayout(30);
        layout.band(BandKind::Title)
            .items.append(ReportItem::caption({0, 0, 50, 5}, QStringLiteral("lblWords")));
        layout.setCaption(QStringLiteral("lblWords"), QStringLiteral("Сто тысяч -----"));
        layout.pageItems().append(ReportItem::caption({0, 272, 100, 4}, QStringLiteral("lblBottom"))
                                      .withFont({.pointSize = 6}));
        layout.setCaption(QStringLiteral("lblBottom"), QStringLiteral("АЗС №12 KKM 0451"));

        const PreparedReport report = prepareReport(layout);
        QCOMPARE(report.pages.size(), 2);
        QVERIFY(findItem(report.pages.at(0), QStringLiteral("Сто тысяч -----")));
        QVERIFY(!findItem(report.pages.at(1), QStringLiteral("Сто тысяч -----")));
        for (const PreparedPage &page : report.pages) {
            const PreparedItem &bottom = page.items.last();
            QCOMPARE(bottom.text, QStringLiteral("АЗС №12 KKM 0451"));
            QCOMPARE(bottom.rect, QRectF(10, 282, 100, 4));
            QCOMPARE(bottom.style.font.pointSize, 6.0);
        }
    }

    void framesKeepTheirSides()
    {
        ReportLayout layout(QPageLayout::Landscape);
        layout.band(BandKind::Title).height = 10;
        layout.band(BandKind::Title).items = {
            ReportItem::text({0, 0, 30, 10}, QStringLiteral("Код"))
                .withFrame(FrameSide::Top | FrameSide::Left, 0.5),
            ReportItem::cell({30, 0, 30, 10}, FrameSide::Bottom),
        };
        const PreparedPage page = prepareReport(layout).pages.value(0);
        QCOMPARE(page.items.at(0).style.frame, (Frame{FrameSide::Top | FrameSide::Left, 0.5}));
        QCOMPARE(page.items.at(1).style.frame.sides, FrameSides(FrameSide::Bottom));
        QVERIFY(page.items.at(1).text.isEmpty());
    }

    void landscapePageFooter()
    {
        ReportLayout layout(QPageLayout::Landscape);
        layout.band(BandKind::PageFooter)
            = {5, {}, {ReportItem::text({0, 0, 277, 5}, QStringLiteral("низ"))}};
        const PreparedReport report = prepareReport(layout);
        QCOMPARE(report.page.paperSize(), QSizeF(297, 210));
        QCOMPARE(report.pages.value(0).items.value(0).rect, QRectF(10, 195, 277, 5));
    }

    void dumpHasOneLinePerItem()
    {
        ReportLayout layout;
        layout.band(BandKind::Title).height = 10;
        layout.band(BandKind::Title).items = {
            ReportItem::text({0.04, 1.25, 33.333, 4},
                             QStringLiteral("Контрольно-\nкассовая машина")),
            ReportItem::cell({40, 0, 10, 5}, allSides),
        };
        const QString dump = dumpReport(prepareReport(layout));
        QCOMPARE(dump, QStringLiteral("1 10.0 11.3 33.3 4.0 Контрольно-\\nкассовая машина\n"
                                      "1 50.0 10.0 10.0 5.0\n"));
    }

    void datasetRowsAndCursor()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.db"));
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        const char *script = "CREATE TABLE z (NZ INTEGER, SumProd CURRENCY);"
                             "INSERT INTO z VALUES (124, 12345000), (125, 50000), (126, NULL);";
        QCOMPARE(sqlite3_exec(db, script, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        Connection connection(QStringLiteral("report"));
        connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path));
        Query query(&connection);
        query.setSql(QStringLiteral("SELECT NZ, SumProd FROM z ORDER BY NZ"));
        query.open();
        query.moveTo(1);

        ReportLayout layout;
        layout.setSource(QStringLiteral("adoqZ"), std::make_shared<DatasetRowSource>(&query));
        layout.band(BandKind::Title)
            = {5,
               {},
               {ReportItem::field({0, 0, 20, 5}, QStringLiteral("adoqZ"), QStringLiteral("nz"))}};
        layout.band(BandKind::Detail)
            = {5,
               QStringLiteral("adoqZ"),
               {ReportItem::field({0, 0, 20, 5}, QStringLiteral("adoqZ"), QStringLiteral("SUMPROD"),
                                  QStringLiteral("### ##0.00"))}};
        const QString separator = QLocale::system().decimalPoint();
        QCOMPARE(texts(prepareReport(layout).pages.value(0)),
                 (QStringList{"125", "1 234" + separator + "50", "5" + separator + "00", ""}));

        query.close();
        QCOMPARE(texts(prepareReport(layout).pages.value(0)), QStringList{QString()});
    }
};

QTEST_MAIN(TestPreparedReport)
#include "tst_preparedreport.moc"
