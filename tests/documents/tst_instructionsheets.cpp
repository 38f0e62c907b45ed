#include "support/golden.h"
#include "support/station.h"

#include "documents/documentcommands.h"
#include "documents/instructionsheets.h"
#include "platform/report/preparedreport.h"

#include <QTest>

namespace {

const QString demoOrganisation = QStringLiteral("ООО \"Велморан-Нефтепродукт\"");

} // namespace

class TestInstructionSheets : public QObject
{
    Q_OBJECT

private slots:
    void sheetFitsOnePage_data();
    void sheetFitsOnePage();
};

void TestInstructionSheets::sheetFitsOnePage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("headings");
    QTest::newRow("procedure")
        << QStringLiteral("procedure") << QStringLiteral("ПОРЯДОК ФОРМИРОВАНИЯ СМЕННОГО ОТЧЕТА")
        << QStringList{QStringLiteral("Формирование сменного отчетов по каждой ККМ"),
                       QStringLiteral("Формирование общих сменных отчетов по АЗС"),
                       QStringLiteral("Отчеты при дополнительных операциях"),
                       QStringLiteral("Формирование сменного отчета по движению товаров")};
    QTest::newRow("instruction")
        << QStringLiteral("instruction") << QStringLiteral("ПОРЯДОК РАБОТЫ (ОСНОВНАЯ ИНСТРУКЦИЯ)")
        << QStringList{QStringLiteral("Порядок ввода данных сменного отчета"),
                       QStringLiteral("Стандартный ввод Z-отчета"),
                       QStringLiteral("Нестандартный ввод Z-отчета"),
                       QStringLiteral("Коррекция ошибок"), QStringLiteral("Сбои ККМ"),
                       QStringLiteral("Настройки")};
}

void TestInstructionSheets::sheetFitsOnePage()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QStringList, headings);

    Station station;
    station.main->FormActivate();
    LastOpenedZ lastZ;
    DocumentContext context{*station.dm, 0, 1, 0, lastZ};
    const DocumentCommand *command = findDocument(name);
    QVERIFY(command);
    const PreparedReport report = prepareReport(command->prepare(context));
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    // The page header: the organisation bold and centred on the first line, the picture at the
    // top right corner.
    const PreparedItem &organisation = page.items.at(0);
    QCOMPARE(organisation.text, demoOrganisation);
    QVERIFY(organisation.style.font.bold);
    QCOMPARE(organisation.rect.center().x(), 105.0);
    QCOMPARE(organisation.rect.top(), 10.0);
    const PreparedItem &picture = page.items.at(1);
    QCOMPARE(picture.image.size(), QSize(96, 96));
    QCOMPARE(picture.rect.topRight(), QPointF(200, 10));

    // Title first, then the headings in order, bold and centred; nothing overlaps the next item
    // and everything stays inside the margins.
    QStringList bold;
    for (qsizetype i = 2; i < page.items.size(); ++i) {
        const PreparedItem &item = page.items.at(i);
        QVERIFY2(item.rect.left() >= 10 && item.rect.right() <= 200.01 && item.rect.bottom() <= 287,
                 qPrintable(item.text));
        QCOMPARE(item.style.font.pointSize, 10.0);
        if (item.style.font.bold) {
            bold.append(item.text);
            QVERIFY(item.style.alignment & Qt::AlignHCenter);
        }
        // A number and its text share a top; anything else starts below the item before.
        const PreparedItem &previous = page.items.at(i - 1);
        QVERIFY2(item.rect.top() >= previous.rect.bottom() - 0.01
                     || qFuzzyCompare(item.rect.top(), previous.rect.top()),
                 qPrintable(item.text));
    }
    QCOMPARE(bold, QStringList{title} + headings);

    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), name + QStringLiteral(".txt"),
                                            dumpReport(report));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestInstructionSheets)
#include "tst_instructionsheets.moc"
