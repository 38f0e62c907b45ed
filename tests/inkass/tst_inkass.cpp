#include "inkass/banknotcalc.h"
#include "inkass/inkasskvit.h"
#include "support/hostiletexts.h"
#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

// A text written with "." for the decimal separator, in the system's own.
QString local(QString text)
{
    return text.replace(u'.', QLocale::system().decimalPoint());
}

QStringList local(const QStringList &texts)
{
    QStringList result;
    for (const QString &text : texts)
        result << local(text);
    return result;
}

// The demo station with its window and a banknote calculator; boxes to the operator are recorded.
class Desk
{
public:
    explicit Desk(int registers = 3)
    {
        station.run(QStringLiteral("update param set valnumber = :n where parname = 'nkass'"),
                    {{QStringLiteral("n"), registers}});
        main().FormActivate();
        main().setBanknoteCalculator(&calc);
    }

    TfMain &main() { return *station.main; }
    TInkassKvit *box(int position) { return main().kvitBoxes[position]; }

    bool showActive()
    {
        main().show();
        QApplication::setActiveWindow(&main());
        return QTest::qWaitForWindowActive(&main());
    }

    // The operator types a shift number, chooses the first operator and leaves the field.
    void openShift(const QString &number = QStringLiteral("101"))
    {
        main().edNSMBUKTS->setText(number);
        main().ComBoxOper->setCurrentIndex(0);
        main().FromDovraToZ(main().ComBoxOper);
    }

    // Keys typed where the focus is: "\t" Tab, "~" Shift+Tab, "\r" Enter, "\b" Backspace;
    // "@2s" puts the focus into the sum of box 2 ("@2n": its bag number) as Tab would. Every other
    // character is typed. What a key leaves queued happens before the next one.
    void type(const QString &script)
    {
        for (qsizetype i = 0; i < script.size(); ++i) {
            const QChar key = script.at(i);
            if (key == u'@') {
                TInkassKvit *target = box(script.at(i + 1).digitValue());
                (script.at(i + 2) == u'n' ? target->memoNKv : target->memoSum)->setFocus(Qt::TabFocusReason);
                i += 2;
            } else {
                press(key);
            }
            QCoreApplication::processEvents();
        }
    }

    static void press(QChar key)
    {
        QWidget *target = QApplication::focusWidget();
        if (key == u'\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else if (key == u'~')
            QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
        else if (key == u'\r')
            QTest::keyClick(target, Qt::Key_Return);
        else if (key == u'\b')
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClick(target, key.toLatin1());
    }

    // Every box shown as "number|sum".
    QStringList boxes()
    {
        QStringList texts;
        for (int i = 1; i <= main().kvitCount; ++i)
            texts << box(i)->memoNKv->text() + u'|' + box(i)->memoSum->text();
        return texts;
    }

    // The stored bags of the encashment shown as "SumkaN|SUMMA", in the order they were made.
    QStringList rows()
    {
        Query query(&station.dm->ADOConAZSKAS);
        query.setSql(QStringLiteral("select SumkaN, SUMMA from inkasskvit where idinkass = :i order by idinkasskvit"));
        query.setParam(QStringLiteral("i"), main().curIdInkass);
        query.open();
        QStringList texts;
        for (query.first(); !query.eof(); query.next()) {
            const Field sum = query.field(QStringLiteral("SUMMA"));
            texts << query.field(QStringLiteral("SumkaN")).asString() + u'|'
                         + (sum.isNull() ? QString() : sum.asMoney().toString(2));
        }
        return texts;
    }

    // "2n", "2s", "2x": the number, sum or delete button of box 2; "next": the focus target after
    // the bags.
    QString focusName()
    {
        QWidget *w = QApplication::focusWidget();
        for (int i = 1; i <= main().kvitCount; ++i) {
            const QString position = QString::number(i);
            if (w == box(i)->memoNKv)
                return position + u'n';
            if (w == box(i)->memoSum)
                return position + u's';
            if (w == box(i)->btnDel)
                return position + u'x';
        }
        if (w && w == main().nextFocus)
            return QStringLiteral("next");
        return w ? w->objectName() : QStringLiteral("none");
    }

    QDate storedInkassDate()
    {
        return station.scalar(QStringLiteral("select inkassdate from inkass where idinkass = :i"),
                              {{QStringLiteral("i"), main().curIdInkass}})
            .asDateTime()
            .date();
    }

    // Bags stored behind the view's back, then the view reloaded: "number|sum", an empty sum null.
    void storeBags(const QStringList &bags)
    {
        for (const QString &bag : bags) {
            const QString sum = bag.section(u'|', 1);
            station.run(QStringLiteral("insert into inkasskvit (idInkass, SumkaN, SUMMA) values (:i, :n, :s)"),
                        {{QStringLiteral("i"), main().curIdInkass},
                         {QStringLiteral("n"), bag.section(u'|', 0, 0)},
                         {QStringLiteral("s"), sum.isEmpty() ? QVariant()
                                                             : QVariant::fromValue(Money::fromDouble(sum.toDouble()))}});
        }
        main().FromDovraToZGo();
    }

    // Runs `whileOpen` while the calculator shows, modally, from the box's button.
    int countWithCalculator(TInkassKvit *bag, const std::function<void()> &whileOpen)
    {
        QTimer::singleShot(0, &calc, [this, whileOpen] {
            whileOpen();
            // A failed check must not leave the window waiting for the operator.
            if (calc.isVisible())
                calc.reject();
        });
        bag->sbtnCalc->click();
        return calc.result();
    }

    MessageRecorder messages;
    Station station;
    TfBanknotCalc calc{station.dm.get(), station.main.get()};
};

} // namespace

class TstInkass : public QObject
{
    Q_OBJECT

private slots:
    // Pasted text reaches a bag's number only as far as the field takes it (digits, "-" and "/",
    // at most 15): what the field shows is what is stored, and nothing else in the file changes.
    void aPastedBagNumberIsStoredAsTheFieldTakesIt_data()
    {
        addHostileTextRows();
        QTest::newRow("100 000 characters a number may hold") << QStringLiteral("12-3/").repeated(20000);
    }
    void aPastedBagNumberIsStoredAsTheFieldTakesIt()
    {
        QFETCH(QString, text);
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        Connection &connection = desk.station.dm->ADOConAZSKAS;
        const QString before = schemaAndCounts(connection, {QStringLiteral("InkassKvit")});
        QLineEdit *number = desk.box(1)->memoNKv;
        QCOMPARE(QApplication::focusWidget(), number);

        pasteInto(number, text);
        const QString shown = number->text();
        QVERIFY(shown.size() <= 15);
        for (const QChar c : shown)
            QVERIFY((c >= u'0' && c <= u'9') || c == u'-' || c == u'/');
        desk.type(QStringLiteral("\t"));
        const QStringList stored = desk.station.scalar("select group_concat(SumkaN, '|') from InkassKvit")
                                       .asString()
                                       .split(u'|', Qt::SkipEmptyParts);
        QCOMPARE(stored, shown.isEmpty() ? QStringList() : QStringList{shown});
        QCOMPARE(schemaAndCounts(connection, {QStringLiteral("InkassKvit")}), before);
        QVERIFY(desk.messages.texts().isEmpty());
    }

    void theEncashmentIsMadeOnceDatedTheDayBefore()
    {
        Desk desk;
        TfMain &m = desk.main();
        QCOMPARE(m.kvitCount, 0);
        QVERIFY(desk.showActive());
        desk.openShift();

        const QDate shiftDate = QDate::currentDate();
        QCOMPARE(desk.station.scalar("select count(*) from inkass where iddovra = :d", {{"d", m.curIdDovra}}).asInteger(), 1);
        QVERIFY(m.curIdInkass > 0);
        QCOMPARE(desk.storedInkassDate(), shiftDate.addDays(-1));
        QCOMPARE(m.memoDateINKASS->text(), shiftDate.addDays(-1).toString(dateFormat));
        QCOMPARE(m.btnDateINKASS->text(), ">>");
        QVERIFY(m.btnDateINKASS->isEnabled());
        QCOMPARE(desk.boxes(), QStringList{"|"});
        QCOMPARE(desk.box(1)->idInkassKvit, 0);
        QCOMPARE(desk.focusName(), "1n");
        QCOMPARE(m.memoSumINKASSvsekv->text(), local("0.00"));

        // Shown again, the shift keeps its encashment; moved to the shift's day, the button
        // offers the way back.
        const qint32 idInkass = m.curIdInkass;
        desk.station.run("update inkass set inkassdate = :d", {{"d", shiftDate}});
        desk.openShift();
        QCOMPARE(m.curIdInkass, idInkass);
        QCOMPARE(desk.station.scalar("select count(*) from inkass").asInteger(), 1);
        QCOMPARE(m.btnDateINKASS->text(), "<<");
        QCOMPARE(m.memoDateINKASS->text(), shiftDate.toString(dateFormat));
    }

    void bagKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("selected");

        QTest::newRow("number and sum with Enter")
            << "101\r1500\r" << QStringList{"101|1500.00", "|"} << QStringList{"101|1500.00"} << "2n" << "";
        QTest::newRow("number and sum with Tab")
            << "101\t1500\t" << QStringList{"101|1500.00", "|"} << QStringList{"101|1500.00"} << "2n" << "";
        QTest::newRow("Enter in the empty box ends the bags")
            << "\r" << QStringList{"|"} << QStringList{} << "next" << "";
        QTest::newRow("Enter in the next empty box too")
            << "101\r1500\r\r" << QStringList{"101|1500.00", "|"} << QStringList{"101|1500.00"} << "next" << "";
        QTest::newRow("other characters dropped")
            << "1a0.-2/b,\t12x,5\r" << QStringList{"10-2/|12.50", "|"} << QStringList{"10-2/|12.50"} << "2n" << "";
        QTest::newRow("point and comma are the decimal separator")
            << "7\t3.2\r8\t3,25\r" << QStringList{"7|3.20", "8|3.25", "|"} << QStringList{"7|3.20", "8|3.25"}
            << "3n" << "";
        QTest::newRow("one separator and two decimals")
            << "7\t1,2.57\r" << QStringList{"7|1.25", "|"} << QStringList{"7|1.25"} << "2n" << "";
        QTest::newRow("whole rubles get their decimals")
            << "7\t0012\r" << QStringList{"7|12.00", "|"} << QStringList{"7|12.00"} << "2n" << "";
        QTest::newRow("entered again, whole rubles are shown selected")
            << "101\r1500\r@1s" << QStringList{"101|1500", "|"} << QStringList{"101|1500.00"} << "1s" << "1500";
        QTest::newRow("entered again, kopecks stay")
            << "101\r12.5\r@1s" << QStringList{"101|12.50", "|"} << QStringList{"101|12.50"} << "1s" << "12.50";
        QTest::newRow("a sum without its number waits for it")
            << "\t500\r" << QStringList{"|500.00"} << QStringList{} << "1n" << "";
        QTest::newRow("the number then stores both")
            << "\t500\r42\r\r" << QStringList{"42|500.00", "|"} << QStringList{"42|500.00"} << "2n" << "";
        QTest::newRow("an emptied number keeps the stored one")
            << "101\r5\r@1n\b\t" << QStringList{"101|5", "|"} << QStringList{"101|5.00"} << "1s" << "5";
        QTest::newRow("a changed number is stored")
            << "101\r5\r@1n7\r" << QStringList{"7|5", "|"} << QStringList{"7|5.00"} << "1s" << "5";
        QTest::newRow("an emptied sum is stored as none")
            << "101\r5\r@1s\b\r" << QStringList{"101|", "|"} << QStringList{"101|"} << "1x" << "";
        QTest::newRow("a bag without a sum offers its deletion")
            << "101\r\r" << QStringList{"101|", "|"} << QStringList{"101|"} << "1x" << "";
        QTest::newRow("one number twice, each box its own row")
            << "7\r100\r7\r200\r@1s150\r" << QStringList{"7|150.00", "7|200.00", "|"}
            << QStringList{"7|150.00", "7|200.00"} << "2n" << "7";
        QTest::newRow("the number field takes 15 characters")
            << "1234567890123456789\r" << QStringList{"123456789012345|", "|"} << QStringList{"123456789012345|"}
            << "1s" << "";
        QTest::newRow("the sum field takes 10 characters")
            << "7\t123456789012\r" << QStringList{"7|1234567890", "|"} << QStringList{"7|1234567890.00"} << "2n" << "";
    }

    void bagKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, rows);
        QFETCH(QString, focus);
        QFETCH(QString, selected);

        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        desk.type(keys);

        QCOMPARE(desk.boxes(), local(boxes));
        QCOMPARE(desk.rows(), rows);
        QCOMPARE(desk.focusName(), focus);
        if (auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            QCOMPARE(field->selectedText(), local(selected));
        QVERIFY2(desk.messages.texts().isEmpty(), qPrintable(desk.messages.texts().join('\n')));

        // What the boxes show is what a reload shows; the total is the sum of the stored bags.
        double total = 0;
        for (const QString &row : rows)
            total += row.section('|', 1).toDouble();
        desk.main().FromDovraToZGo();
        QCOMPARE(desk.main().memoSumINKASSvsekv->text(), local(QString::number(total, 'f', 2)));
        QCOMPARE(desk.main().kvitCount, int(rows.size()) + 1);
    }

    // A sum the conversion cannot read is reported, not stored, and never makes its bag deletable.
    void anUnreadableSumIsReported()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        desk.type("7\r5\r8\r,\r");
        QCOMPARE(desk.messages.texts().size(), 1);
        QCOMPARE(desk.focusName(), "2s");
        // Leaving box 2 reports it again, and so does adding up the bags after box 1 is emptied.
        desk.type("@1s\b\r");
        QCOMPARE(desk.messages.texts().size(), 3);
        QCOMPARE(desk.rows(), (QStringList{"7|", "8|"}));
        QVERIFY(desk.box(1)->btnDel->isEnabled());
        QVERIFY(!desk.box(2)->btnDel->isEnabled());
        QCoreApplication::postEvent(desk.box(2), new QEvent(TInkassKvit::deleteKvitEvent));
        QCoreApplication::processEvents();
        QCOMPARE(desk.rows(), (QStringList{"7|", "8|"}));
    }

    void deletingTheSecondOfFourBags()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        TfMain &m = desk.main();
        desk.storeBags({"101|5000", "102|", "103|1200", "104|0"});
        QCOMPARE(desk.boxes(), local({"101|5000.00", "102|0.00", "103|1200.00", "104|0.00", "|"}));
        QCOMPARE(m.inkassBagList(), "101, 103");
        for (int i = 1; i <= m.kvitCount; ++i) {
            QVERIFY(!desk.box(i)->btnDel->isEnabled());
            QCOMPARE(desk.box(i)->y(), 67 + 37 * (i - 1));
        }

        // Leaving a sum above 0 keeps the button disabled; a sum of 0 enables it and gives it the focus.
        desk.type("@1s\t");
        QVERIFY(!desk.box(1)->btnDel->isEnabled());
        desk.type("@2s\t");
        QCOMPARE(desk.focusName(), "2x");

        // The box goes once the button's own click is over.
        const QPointer<TInkassKvit> second = desk.box(2);
        QTest::keyClick(second->btnDel, Qt::Key_Return);
        QCOMPARE(m.kvitBoxes[2], second.data());
        QCOMPARE(desk.rows().size(), 4);
        QCoreApplication::processEvents();
        QCOMPARE(desk.rows(), (QStringList{"101|5000.00", "103|1200.00", "104|0.00"}));
        QCOMPARE(desk.boxes(), local({"101|5000.00", "103|1200.00", "104|0.00", "|"}));
        QCOMPARE(m.kvitBoxes[5], nullptr);
        for (int i = 1; i <= m.kvitCount; ++i)
            QCOMPARE(desk.box(i)->y(), 67 + 37 * (i - 1));
        QCOMPARE(desk.focusName(), "2n");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());

        // A bag with a sum and the last box stay, whoever asks.
        for (const int position : {1, 4})
            QCoreApplication::postEvent(desk.box(position), new QEvent(TInkassKvit::deleteKvitEvent));
        QCoreApplication::processEvents();
        QCOMPARE(m.kvitCount, 4);
        QCOMPARE(desk.rows().size(), 3);
        QCOMPARE(m.memoSumINKASSvsekv->text(), local("6200.00"));
    }

    void tenBagsAtMost()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        for (int bag = 1; bag <= 9; ++bag)
            desk.type(QStringLiteral("%1\r1\r").arg(bag));
        QCOMPARE(desk.main().kvitCount, 10);
        desk.type("10\r");
        QCOMPARE(desk.main().kvitCount, 10); // the tenth bag brings no eleventh box
        desk.type("1\r");
        QCOMPARE(desk.focusName(), "next");
        QCOMPARE(desk.rows().size(), 10);
        QCOMPARE(desk.box(10)->y(), 67 + 37 * 9);

        desk.main().FromDovraToZGo();
        QCOMPARE(desk.main().kvitCount, 10);
        QCOMPARE(desk.boxes().last(), local("10|1.00"));
        QCOMPARE(desk.main().memoSumINKASSvsekv->text(), local("10.00"));
        QCOMPARE(desk.focusName(), "next");
    }

    void anAcceptedShiftShowsItsBagsReadOnly()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        TfMain &m = desk.main();
        desk.type("101\r0\r@2n102\r500\r");
        m.btnDataAcceptClick();
        QVERIFY(m.isArchiveMode());
        QCOMPARE(desk.boxes(), local({"101|0.00", "102|500.00", "|"}));
        const QString date = m.memoDateINKASS->text();

        QVERIFY(!m.btnDateINKASS->isEnabled());
        m.btnDateINKASSClick();
        QCOMPARE(m.memoDateINKASS->text(), date);
        for (int i = 1; i <= m.kvitCount; ++i) {
            QVERIFY(desk.box(i)->memoNKv->isReadOnly());
            QVERIFY(desk.box(i)->memoSum->isReadOnly());
            QVERIFY(!desk.box(i)->sbtnCalc->isEnabled());
        }
        desk.type("@1n9\b\r@1s7,\r@3n5\r");
        QCOMPARE(desk.boxes(), local({"101|0.00", "102|500.00", "|"}));
        QVERIFY(!desk.box(1)->btnDel->isEnabled());
        QCoreApplication::postEvent(desk.box(1), new QEvent(TInkassKvit::deleteKvitEvent));
        QCoreApplication::processEvents();
        QCOMPARE(desk.rows(), (QStringList{"101|0.00", "102|500.00"}));
        QCOMPARE(desk.storedInkassDate(), QDate::currentDate().addDays(-1));

        // A new shift's header clears the encashment until the shift is written.
        m.rbNewShift->setChecked(true);
        m.rgNovDOVRAClick(m.rgNovDOVRA);
        QCOMPARE(m.kvitCount, 0);
        QCOMPARE(m.curIdInkass, 0);
        QCOMPARE(m.memoDateINKASS->text(), QString());
        QVERIFY(!m.btnDateINKASS->isEnabled());
    }

    void theDateButtons()
    {
        Desk desk;
        desk.openShift();
        TfMain &m = desk.main();
        const QDate today = QDate::currentDate();

        // The encashment's own button toggles between the day before the shift and its day.
        const QList<QPair<QDate, QString>> steps{{today, "<<"}, {today.addDays(-1), ">>"}};
        for (const auto &[date, caption] : steps) {
            m.btnDateINKASS->click();
            QCOMPARE(m.memoDateINKASS->text(), date.toString(dateFormat));
            QCOMPARE(m.btnDateINKASS->text(), caption);
            QCOMPARE(desk.storedInkassDate(), date);
        }

        // The shift's date takes the encashment along to the day before it.
        m.btnDateINKASS->click();
        m.btnSMDateClick();
        QCOMPARE(m.edSMDate->text(), today.addDays(-1).toString(dateFormat));
        QCOMPARE(m.memoDateINKASS->text(), today.addDays(-2).toString(dateFormat));
        QCOMPARE(m.btnDateINKASS->text(), ">>");
        QCOMPARE(desk.storedInkassDate(), today.addDays(-2));
        m.btnSMDateClick();
        QCOMPARE(desk.storedInkassDate(), today.addDays(-1));
        QCOMPARE(m.memoDateINKASS->text(), today.addDays(-1).toString(dateFormat));
    }

    void theCalculatorCountsABag()
    {
        Desk desk;
        QVERIFY(desk.showActive());
        desk.openShift();
        desk.type("101\r");
        const qint32 bag = desk.box(1)->idInkassKvit;
        desk.station.run("update inkasskvit set KRub1000 = '2+3', KRub500 = '4' where idinkasskvit = :id", {{"id", bag}});

        const int result = desk.countWithCalculator(desk.box(1), [&desk, bag] {
            QCOMPARE(desk.calc.idInkassKvit(), bag);
            QCOMPARE(desk.calc.pos(), desk.box(1)->mapToGlobal(QPoint(6, 39)));
            QCOMPARE(desk.calc.dbeNominalSummAll->text(), local("7000.00"));
            desk.calc.Button1->click();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(desk.box(1)->memoSum->text(), local("7000.00"));
        QCOMPARE(desk.rows(), QStringList{"101|7000.00"});
        QCOMPARE(desk.main().memoSumINKASSvsekv->text(), local("7000.00"));
        QCOMPARE(desk.station.scalar("select KRub1000 from inkasskvit where idinkasskvit = :id", {{"id", bag}}).asString(),
                 "2+3");

        // Closed with its close box, the calculator leaves the sum as it was.
        QCOMPARE(desk.countWithCalculator(desk.box(1), [&desk] { desk.calc.reject(); }), int(QDialog::Rejected));
        QCOMPARE(desk.box(1)->memoSum->text(), local("7000.00"));

        // A box without a bag number counts with the rows as they stand; its sum waits for the number.
        const int unbound = desk.countWithCalculator(desk.box(2), [&desk] {
            QCOMPARE(desk.calc.idInkassKvit(), 0);
            desk.calc.Button1->click();
        });
        QCOMPARE(unbound, int(QDialog::Accepted));
        QCOMPARE(desk.boxes(), local({"101|7000.00", "|7000.00"}));
        QCOMPARE(desk.rows(), QStringList{"101|7000.00"});
        QVERIFY(desk.showActive()); // the desk's window manager would give the window back
        QTRY_COMPARE(desk.focusName(), "2n");
        desk.type("102\r");
        QCOMPARE(desk.rows(), (QStringList{"101|7000.00", "102|7000.00"}));
        QCOMPARE(desk.main().memoSumINKASSvsekv->text(), local("14000.00"));
    }

    // The bags against the encashment that the Z-report declares, less the acts' corrective part.
    void theBagsBalanceTheEncashment_data()
    {
        QTest::addColumn<double>("korrInkass");
        QTest::addColumn<QString>("bags");
        QTest::addColumn<double>("control");
        QTest::addColumn<bool>("acceptable");

        QTest::newRow("bags as declared") << 0.0 << "1\r5000\r" << 0.0 << true;
        QTest::newRow("two bags as declared") << 0.0 << "1\r3000\r2\r2000\r" << 0.0 << true;
        QTest::newRow("a kopeck short") << 0.0 << "1\r4999.99\r" << 0.01 << false;
        QTest::newRow("no bags") << 0.0 << "" << 5000.0 << false;
        QTest::newRow("short by the corrective encashment") << 100.0 << "1\r4900\r" << 0.0 << true;
        QTest::newRow("no bags, corrective encashment") << 100.0 << "" << 4900.0 << false;
    }

    void theBagsBalanceTheEncashment()
    {
        QFETCH(double, korrInkass);
        QFETCH(QString, bags);
        QFETCH(double, control);
        QFETCH(bool, acceptable);

        Desk desk(1);
        QVERIFY(desk.showActive());
        desk.openShift();
        TfMain &m = desk.main();
        TZOtchet *panel = m.kassPanels[1];
        const double sales = 10000;
        const double encashment = 5000;
        const auto fill = [panel](const char *column, const QString &text) {
            QLineEdit *field = panel->edit(QString::fromLatin1(column));
            field->setText(text);
            panel->storeZCell(field);
        };
        fill("NalProd", local(QString::number(sales, 'f', 2)));
        fill("INKASS", local(QString::number(encashment, 'f', 2)));
        fill("SUMKASS", local(QString::number(panel->prevSumKass + sales - encashment, 'f', 2)));
        fill("NARPROD", local(QString::number(panel->prevNarProd + sales, 'f', 2)));
        fill("ZDOC", "1");
        fill("NZ", "1");
        QVERIFY(panel->km6Button()->isEnabled());
        if (korrInkass != 0)
            desk.station.run("insert into zkorr (idZ, korrInkass) values (:idz, :k)",
                             {{"idz", panel->getIdZ()}, {"k", QVariant::fromValue(Money::fromDouble(korrInkass))}});

        desk.main().FromDovraToZGo();
        desk.type(bags);

        QCOMPARE(m.MemoKONTROL->text(), QLocale::system().toString(control, 'f', 2));
        const QColor colour = control == 0 ? QColor(0, 0, 0) : QColor(210, 0, 0);
        for (QWidget *w : {static_cast<QWidget *>(m.MemoKONTROL), static_cast<QWidget *>(m.lblKONTROL)}) {
            w->ensurePolished();
            QCOMPARE(w->palette().color(w->foregroundRole()), colour);
        }
        QCOMPARE(m.btnDataAccept->isEnabled(), acceptable);
    }
};

// Errors raised inside the window's handlers reach the program's own error report.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TstInkass test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inkass.moc"
