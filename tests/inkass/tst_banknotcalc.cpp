#include "inkass/banknotcalc.h"
#include "inkass/notecount.h"
#include "support/station.h"

#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const QList<int> denominations{5000, 2000, 1000, 500, 200, 100, 50, 10};

struct Row
{
    QString text;
    qint64 notes = 0;
    qint64 sum = 0;

    bool operator==(const Row &) const = default;
};

char *toString(const Row &row)
{
    return QTest::toString(QStringLiteral("%1 | %2 | %3").arg(row.text).arg(row.notes).arg(row.sum));
}

// The demo station's database, connected and upgraded, with the calculator made once on it.
class Desk
{
public:
    Desk()
    {
        station.dm->connectDatabase(station.ini);
        calc = std::make_unique<TfBanknotCalc>(station.dm.get(), station.main.get());
    }

    // A bag of a new encashment with these count texts (denomination → text).
    qint32 addBag(const QHash<int, QString> &counts)
    {
        station.run(QStringLiteral("insert into inkass (idDOVRA, InkassDate) values (1, '2024-03-15 00:00:00')"));
        const qint32 idInkass = station.scalar(QStringLiteral("select max(idInkass) from inkass")).asInteger();
        station.run(QStringLiteral("insert into inkasskvit (idInkass, SumkaN, SUMMA) values (:i, '101', :s)"),
                    {{QStringLiteral("i"), idInkass},
                     {QStringLiteral("s"), QVariant::fromValue(Money::fromDouble(123))}});
        const qint32 id = station.scalar(QStringLiteral("select max(idInkassKvit) from inkasskvit")).asInteger();
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            station.run(QStringLiteral("update inkasskvit set KRub%1 = :t where idInkassKvit = :id").arg(it.key()),
                        {{QStringLiteral("t"), it.value()}, {QStringLiteral("id"), id}});
        return id;
    }

    // The bag's stored columns: every count text, then its sum.
    QStringList bag(qint32 id)
    {
        QStringList columns;
        for (int nominal : denominations)
            columns << station.scalar(QStringLiteral("select KRub%1 from inkasskvit where idInkassKvit = :id").arg(nominal),
                                      {{QStringLiteral("id"), id}}).asString();
        columns << station.scalar(QStringLiteral("select SUMMA from inkasskvit where idInkassKvit = :id"),
                                  {{QStringLiteral("id"), id}}).asMoney().toString();
        return columns;
    }

    Row row(int nominal)
    {
        const auto column = [&](const char *name) {
            return station.scalar(QStringLiteral("select %1 from xxxBnkCalc where Nominal = :n").arg(QLatin1String(name)),
                                  {{QStringLiteral("n"), nominal}});
        };
        return {column("NominalStr").asString(), column("NominalNumber").asInteger(),
                column("NominalSumma").asInteger()};
    }

    QList<Row> rows()
    {
        QList<Row> all;
        for (int nominal : denominations)
            all << row(nominal);
        return all;
    }

    bool showActive()
    {
        calc->show();
        QApplication::setActiveWindow(calc.get());
        return QTest::qWaitForWindowActive(calc.get());
    }

    // The operator picks the count cell of a denomination and types: "\r" is Enter, "\b"
    // Backspace. Keys go where the focus is, and the window gets its turn after each one.
    void type(int nominal, const QString &keys)
    {
        QTableView *grid = calc->dbgBankCalc;
        grid->setCurrentIndex(grid->model()->index(int(denominations.indexOf(nominal)), 1));
        grid->setFocus();
        for (const QChar key : keys)
            press(key);
    }

    static void press(QChar key)
    {
        QWidget *target = QApplication::focusWidget();
        if (key == u'\r')
            QTest::keyClick(target, Qt::Key_Return);
        else if (key == u'\b')
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClick(target, key.toLatin1());
        QCoreApplication::processEvents();
    }

    // A total as the bag's sum field takes it.
    static QString totalOf(qint64 rubles)
    {
        return QString::number(rubles) + QLocale::system().decimalPoint() + QStringLiteral("00");
    }

    MessageRecorder messages;
    Station station;
    std::unique_ptr<TfBanknotCalc> calc;
};

} // namespace

class TstBanknotCalc : public QObject
{
    Q_OBJECT

private slots:
    void plusSum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("notes");

        QTest::newRow("counts joined") << "12+5+3" << true << qint64(20);
        QTest::newRow("one count") << "7" << true << qint64(7);
        QTest::newRow("leading plus signs") << "++4" << true << qint64(4);
        QTest::newRow("trailing plus sign") << "4+" << true << qint64(4);
        QTest::newRow("empty") << "" << true << qint64(0);
        QTest::newRow("plus signs only") << "+++" << true << qint64(0);
        QTest::newRow("leading zeros") << "007+3" << true << qint64(10);
        QTest::newRow("beyond 32 bits in total") << "999999999+999999999+999999999" << true
                                                 << qint64(2999999997);
        QTest::newRow("letter") << "3a+4" << false << qint64(0);
        QTest::newRow("sign") << "-5" << false << qint64(0);
        QTest::newRow("blank") << "1 2" << false << qint64(0);
        QTest::newRow("decimal mark") << "1.5" << false << qint64(0);
        QTest::newRow("ten digits") << "1234567890" << false << qint64(0);
    }

    void plusSum()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, notes);
        if (valid)
            QCOMPARE(::plusSum(text), notes);
        else
            QVERIFY_THROWS_EXCEPTION(ConvertError, ::plusSum(text));
    }

    void gridKeys_data()
    {
        QTest::addColumn<int>("nominal");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("notes");

        QTest::newRow("Enter adds the counts") << 1000 << "10+10+5\r" << "10+10+5" << qint64(25);
        QTest::newRow("blank joins two counts") << 500 << "3 4\r" << "3+4" << qint64(7);
        QTest::newRow("other characters dropped") << 100 << "1a2-,.3\r" << "123" << qint64(123);
        QTest::newRow("backspace") << 50 << "12\b5\r" << "15" << qint64(15);
        QTest::newRow("leading plus") << 5000 << "+4\r" << "+4" << qint64(4);
        // Enter on the grid opens the count, whose text is selected, Backspace clears it.
        QTest::newRow("count emptied") << 10 << "5\r\r\b\r" << "" << qint64(0);
        QTest::newRow("typing over a count") << 200 << "5\r8\r" << "8" << qint64(8);
    }

    void gridKeys()
    {
        QFETCH(int, nominal);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(qint64, notes);

        Desk desk;
        desk.station.run(QStringLiteral("update xxxBnkCalc set NominalStr = '2', NominalNumber = 2, "
                                        "NominalSumma = 4000 where Nominal = 2000"));
        QVERIFY(desk.showActive());
        desk.type(nominal, keys);

        QTRY_COMPARE(desk.row(nominal), (Row{text, notes, notes * nominal}));
        const qint64 total = 4000 + (nominal == 2000 ? 0 : notes * nominal);
        QCOMPARE(desk.calc->total(), Money::fromDouble(double(total)));
        QCOMPARE(desk.calc->dbeNominalSummAll->text(), Desk::totalOf(total));
        QCOMPARE(desk.calc->dbeNominalStr->text(), text);
        // Enter confirms counts; it never stores and closes the window.
        QVERIFY(desk.calc->isVisible());
        QVERIFY(desk.messages.texts().isEmpty());
    }

    void blankShowsTheNotesCountedSoFar()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.type(1000, "10 5");
        QCOMPARE(desk.calc->dbeNominalNumber->text(), "10");
        QCOMPARE(desk.calc->dbeNominalSumma->text(), "10000");
        QCOMPARE(desk.row(1000), Row{}); // nothing is written while the count is typed
        Desk::press(u'+');
        QCOMPARE(desk.calc->dbeNominalNumber->text(), "15");
        Desk::press(u'\r');
        QTRY_COMPARE(desk.row(1000), (Row{"10+5+", 15, 15000}));
    }

    // Leaving a count without Enter still takes it whole: number and sum follow the text.
    void countIsTakenWhenTheRowIsLeft()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.type(1000, "5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTRY_COMPARE(desk.row(1000), (Row{"5", 5, 5000}));
        QCOMPARE(desk.calc->dbgBankCalc->currentIndex().row(), denominations.indexOf(500));
        QCOMPARE(desk.calc->dbeNominal->text(), "500");
        QCOMPARE(desk.calc->dbeNominalSummAll->text(), Desk::totalOf(5000));
    }

    void loadAndStoreABag()
    {
        Desk desk;
        const qint32 bag = desk.addBag({{1000, "2+3"}, {50, "10"}});
        const qint32 otherBag = desk.addBag({{10, "4"}});
        const QStringList otherBefore = desk.bag(otherBag);
        // What an earlier count left in the rows gives way to the bag's counts.
        desk.station.run(QStringLiteral("update xxxBnkCalc set NominalStr = '7', NominalNumber = 7, "
                                        "NominalSumma = 35000 where Nominal = 5000"));

        desk.calc->load(bag);
        QCOMPARE(desk.calc->idInkassKvit(), bag);
        QCOMPARE(desk.rows(), (QList<Row>{{}, {}, {"2+3", 5, 5000}, {}, {}, {}, {"10", 10, 500}, {}}));
        QCOMPARE(desk.calc->total(), Money::fromDouble(5500));

        QVERIFY(desk.showActive());
        QCOMPARE(desk.calc->dbeNominalSummAll->text(), Desk::totalOf(5500));
        QCOMPARE(desk.calc->dbgBankCalc->currentIndex().column(), 1);
        // The last count is still being typed when "записать" is pressed.
        desk.type(100, "4");
        desk.calc->Button1->click();

        QCOMPARE(desk.calc->result(), int(QDialog::Accepted));
        QVERIFY(!desk.calc->isVisible());
        QCOMPARE(desk.bag(bag), (QStringList{"", "", "2+3", "", "", "4", "10", "", "123.00"}));
        QCOMPARE(desk.bag(otherBag), otherBefore);
        QCOMPARE(desk.calc->total(), Money::fromDouble(5900));
        QCOMPARE(desk.calc->totalText(), Desk::totalOf(5900));

        // Counted again later, the bag shows its stored counts with numbers and sums recomputed.
        desk.calc->load(otherBag);
        desk.calc->load(bag);
        QCOMPARE(desk.row(100), (Row{"4", 4, 400}));
        QCOMPARE(desk.row(10), Row{});
        QCOMPARE(desk.calc->total(), Money::fromDouble(5900));
    }

    void closeBoxStoresNothing()
    {
        Desk desk;
        const qint32 bag = desk.addBag({{500, "1"}});
        const QStringList before = desk.bag(bag);
        desk.calc->load(bag);
        QVERIFY(desk.showActive());
        desk.type(10, "9\r");
        desk.calc->close();
        QCOMPARE(desk.calc->result(), int(QDialog::Rejected));
        QCOMPARE(desk.bag(bag), before);
    }

    // Opened from the header, or for a box without a row: the rows of the last use, nothing
    // stored with any bag.
    void withoutABagNothingIsStored()
    {
        Desk desk;
        const qint32 bag = desk.addBag({{2000, "3"}});
        desk.calc->load(bag);
        const QStringList before = desk.bag(bag);
        desk.calc->load(0);
        QCOMPARE(desk.calc->idInkassKvit(), 0);
        QCOMPARE(desk.row(2000), (Row{"3", 3, 6000}));

        QVERIFY(desk.showActive());
        desk.type(5000, "1\r");
        desk.calc->Button1->click();
        QCOMPARE(desk.calc->result(), int(QDialog::Accepted));
        QCOMPARE(desk.bag(bag), before);
        QCOMPARE(desk.calc->total(), Money::fromDouble(11000));
    }

    // A bag is loaded whole or not at all, and a failed load leaves the window bound to no bag,
    // so that "записать" cannot put the rows of another bag into this one.
    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("count500");
        QTest::addColumn<bool>("bagExists");
        QTest::addColumn<QString>("error");

        QTest::newRow("stored count not valid") << "" << "3x" << true << "3x";
        QTest::newRow("bag without row") << "" << "1" << false << "Нет сумки";
        QTest::newRow("denomination without count column")
            << "update xxxBnkCalc set Nominal = 20 where Nominal = 10" << "1" << true << "KRub20";
    }

    void failedLoadChangesNothing()
    {
        QFETCH(QString, setUp);
        QFETCH(QString, count500);
        QFETCH(bool, bagExists);
        QFETCH(QString, error);

        Desk desk;
        const qint32 previous = desk.addBag({{1000, "1+1"}});
        desk.calc->load(previous);
        if (!setUp.isEmpty())
            desk.station.run(setUp);
        const qint32 bag = desk.addBag({{500, count500}, {5000, "2"}});
        const QList<Row> rows = desk.rows();

        try {
            desk.calc->load(bagExists ? bag : bag + 100);
            QFAIL("the load did not fail");
        } catch (const AppError &failure) {
            QVERIFY2(failure.message().contains(error), qPrintable(failure.message()));
        }
        QCOMPARE(desk.rows(), rows);
        QCOMPARE(desk.calc->idInkassKvit(), 0);
    }

    void placedUnderItsOpener()
    {
        Desk desk;
        QWidget mainWindow;
        mainWindow.setGeometry(40, 30, 1000, 700);
        auto box = new QWidget(&mainWindow);
        box->setGeometry(726, 106, 257, 39);
        auto button = new QWidget(&mainWindow);
        button->setGeometry(900, 40, 23, 22);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

        desk.calc->placeUnderBagBox(box);
        QCOMPARE(desk.calc->pos(), box->mapToGlobal(QPoint(6, 39)));
        desk.calc->move(300, 0);
        desk.calc->placeUnderButton(button);
        QCOMPARE(desk.calc->pos(), QPoint(300, button->mapToGlobal(QPoint(0, 22)).y()));
    }
};

// Errors raised inside the window's handlers reach the program's own error report.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TstBanknotCalc test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_banknotcalc.moc"
