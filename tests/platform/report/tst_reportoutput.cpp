#include "platform/data/money.h"
#include "platform/report/reportlayout.h"
#include "platform/report/reportoutput.h"

#include <QApplication>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr qreal pointsPerMm = 72 / 25.4;

// A landscape journal: a heading, a framed column header and one framed line per row, enough
// rows for two pages.
ReportLayout journalLayout()
{
    ReportLayout layout(QPageLayout::Landscape);
    const ReportFont small{.pointSize = 8};
    layout.band(BandKind::Title)
        = {15,
           {},
           {ReportItem::text({20, 0, 200, 10}, QStringLiteral("ЖУРНАЛ КАССИРА-ОПЕРАЦИОНИСТА"))
                .withFont({.pointSize = 12, .bold = true})}};
    layout.band(BandKind::ColumnHeader)
        = {10,
           {},
           {ReportItem::text({0, 0, 60, 10}, QStringLiteral("Фамилия кассира"))
                .withFrame(allSides)
                .withFont(small),
            ReportItem::text({60, 0, 40, 10}, QStringLiteral("Сумма, руб. коп."))
                .withFrame(allSides)
                .withFont(small)}};
    layout.band(BandKind::Detail)
        = {8,
           QStringLiteral("rows"),
           {ReportItem::field({0, 0, 60, 8}, QStringLiteral("rows"), QStringLiteral("OperFIO"))
                .withFrame(allSides),
            ReportItem::field({60, 0, 40, 8}, QStringLiteral("rows"), QStringLiteral("SumProd"),
                              QStringLiteral("### ### ##0.00"))
                .withFrame(allSides)
                .withAlignment(Qt::AlignRight | Qt::AlignVCenter)}};
    layout.pageItems().append(
        ReportItem::caption({0, 185, 100, 5}, QStringLiteral("lblBottom")).withFont(small));
    layout.setCaption(QStringLiteral("lblBottom"), QStringLiteral("Унифицированная форма № КМ-4"));

    auto rows = std::make_shared<MemoryRowSource>(QStringList{"OperFIO", "SumProd"});
    for (int i = 0; i < 25; ++i)
        rows->appendRow(
            {QStringLiteral("Иванова М. П."), QVariant::fromValue(Money::fromDouble(1234.5 + i))});
    layout.setSource(QStringLiteral("rows"), rows);
    return layout;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The darkest grey within a millimetre of a point of a page rendered at 72 dpi.
int darkestNear(const QImage &image, QPointF mm)
{
    int darkest = 255;
    const QPoint centre = (mm * pointsPerMm).toPoint();
    for (int dx = -3; dx <= 3; ++dx) {
        for (int dy = -3; dy <= 3; ++dy)
            darkest = qMin(darkest, qGray(image.pixel(centre + QPoint(dx, dy))));
    }
    return darkest;
}

} // namespace

class TestReportOutput : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void pdfCarriesTheTextsWithCyrillicIntact()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("journal.pdf"));
        QVERIFY(exportPdf(journalLayout(), pdf));

        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size:\\s+84[12][.\\d]* x 595[.\\d]* pts"))),
                 qPrintable(info));

        const QString text = run(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        const QString separator = QLocale::system().decimalPoint();
        QVERIFY2(text.contains(QStringLiteral("ЖУРНАЛ КАССИРА-ОПЕРАЦИОНИСТА")), qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("Иванова М. П.")), 25);
        QVERIFY(text.contains(QStringLiteral("1 258") + separator + QStringLiteral("50")));
        QCOMPARE(text.count(QStringLiteral("Фамилия кассира")), 2);
        QCOMPARE(text.count(QStringLiteral("Унифицированная форма № КМ-4")), 2);
    }

    // Where a word lands, read back in PDF points, is where the layout put it in millimetres.
    void textLandsAtItsMillimetres()
    {
        ReportLayout layout;
        layout.band(BandKind::Title)
            = {40, {}, {ReportItem::text({20, 20, 60, 10}, QStringLiteral("Касса"))}};
        const QString pdf = m_dir.filePath(QStringLiteral("position.pdf"));
        QVERIFY(exportPdf(layout, pdf));
        const QString boxes
            = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        const QRegularExpressionMatch word
            = QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                                "xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">Касса"))
                  .match(boxes);
        QVERIFY2(word.hasMatch(), qPrintable(boxes));
        const qreal left = word.captured(1).toDouble() / pointsPerMm;
        const qreal middle
            = (word.captured(2).toDouble() + word.captured(3).toDouble()) / 2 / pointsPerMm;
        QVERIFY2(qAbs(left - 31) < 0.5, qPrintable(QString::number(left)));
        QVERIFY2(qAbs(middle - 35) < 1, qPrintable(QString::number(middle)));
    }

    void framesAreDrawnOnTheirSidesOnly()
    {
        ReportLayout layout;
        layout.band(BandKind::Title) = {
            80, {}, {ReportItem::cell({20, 20, 100, 60}, FrameSide::Top | FrameSide::Left, 0.5)}};
        const QString pdf = m_dir.filePath(QStringLiteral("frame.pdf"));
        QVERIFY(exportPdf(layout, pdf));
        const QString prefix = m_dir.filePath(QStringLiteral("frame"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                           QStringLiteral("-singlefile"), pdf, prefix});
        const QImage page(prefix + QStringLiteral(".pgm"));
        QVERIFY(!page.isNull());
        // The cell spans 30..130 mm across and 30..90 mm down the paper.
        QVERIFY(darkestNear(page, {80, 30}) < 128);
        QVERIFY(darkestNear(page, {30, 60}) < 128);
        QCOMPARE(darkestNear(page, {80, 90}), 255);
        QCOMPARE(darkestNear(page, {130, 60}), 255);
    }

    // A 2:1 picture in a square cell fills its width and is centred in its height.
    void pictureFillsItsRectangleKeepingProportions()
    {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::black);
        ReportLayout layout;
        layout.band(BandKind::Title) = {60, {}, {ReportItem::picture({20, 20, 40, 40}, picture)}};
        const QString pdf = m_dir.filePath(QStringLiteral("picture.pdf"));
        QVERIFY(exportPdf(layout, pdf));
        const QString prefix = m_dir.filePath(QStringLiteral("picture"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                           QStringLiteral("-singlefile"), pdf, prefix});
        const QImage page(prefix + QStringLiteral(".pgm"));
        QVERIFY(!page.isNull());
        // The cell spans 30..70 mm both ways; the picture 30..70 across and 40..60 down.
        for (QPointF inside : {QPointF(32, 42), QPointF(50, 50), QPointF(68, 58)})
            QVERIFY(darkestNear(page, inside) < 64);
        for (QPointF outside : {QPointF(50, 33), QPointF(50, 67), QPointF(26, 50), QPointF(74, 50)})
            QCOMPARE(darkestNear(page, outside), 255);
    }

    void unwritableFileFails()
    {
        QVERIFY(
            !exportPdf(journalLayout(), m_dir.filePath(QStringLiteral("missing/folder/x.pdf"))));
    }

    void previewShowsThePagesInTheLayoutsOrientation()
    {
        int pageCount = 0;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            const auto *view = dialog->findChild<QPrintPreviewWidget *>();
            pageCount = view->pageCount();
            orientation = view->orientation();
            dialog->reject();
        });
        poll.start();
        preview(journalLayout());
        QCOMPARE(pageCount, 2);
        QCOMPARE(orientation, QPageLayout::Landscape);
    }

    void directPrintWithoutPrinterDoesNothing()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        QVERIFY(!printDirect(journalLayout()));
    }
};

QTEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
