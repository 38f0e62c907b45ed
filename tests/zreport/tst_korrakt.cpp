#include "loadedshift.h"
#include "zreport/korrakt.h"
#include "support/hostiletexts.h"
#include "support/shiftfixture.h"

#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// This program runs once under the C locale and once under ru_RU (see CMakeLists.txt): amounts
// are typed and shown with the system's decimal separator. In the tables below "," stands for it.

namespace {

QString withMark(QString text)
{
    return text.replace(u',', QLocale::system().decimalPoint());
}

// A key as the operator types it: "\r" is Enter, "\b" Backspace; letters of any alphabet.
void press(QWidget *target, QChar key)
{
    if (key == u'\r')
        QTest::keyClick(target, Qt::Key_Return);
    else if (key == u'\b')
        QTest::keyClick(target, Qt::Key_Backspace);
    else if (key.toLatin1() != 0)
        QTest::keyClick(target, key.toLatin1());
    else
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(key), Qt::NoModifier);
}

void typeKeys(const QString &keys)
{
    for (const QChar key : keys)
        press(QApplication::focusWidget(), key);
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

// The demo station's database, connected and upgraded, with one stored Z-report.
class Desk
{
public:
    Desk()
    {
        station.dm->connectDatabase(station.ini);
        station.run(QStringLiteral("insert into zotchet (idKKM, idDOVRA) values (1, 1)"));
        idZ = station.scalar(QStringLiteral("select max(idZ) from zotchet")).asInteger();
    }

    // The act of a Z-report, shown as the panel's button shows it (owned by a widget of the
    // main window) and ready for keys.
    TKorrAkt *open(qint32 z)
    {
        act = std::make_unique<TKorrAkt>(station.main->pnlDovraRed);
        act->setIdZ(z);
        act->show();
        QApplication::setActiveWindow(act.get());
        return QTest::qWaitForWindowActive(act.get()) ? act.get() : nullptr;
    }
    TKorrAkt *open() { return open(idZ); }

    QLineEdit *edit(const QString &name) const { return act->findChild<QLineEdit *>(name); }

    Field stored(const QString &column)
    {
        return station.scalar(QStringLiteral("select %1 from zkorr where idz = :idz").arg(column),
                              {{QStringLiteral("idz"), idZ}});
    }

    qint32 actRows()
    {
        return station.scalar(QStringLiteral("select count(*) from zkorr")).asInteger();
    }

    MessageRecorder messages;
    Station station;
    qint32 idZ = 0;
    std::unique_ptr<TKorrAkt> act;
};

const QStringList focusOrder{"Memo_nakt", "Memo_nal", "Memo_bnalkaknal", "Memo_nalkakbnal",
                             "Memo_vbnalkaknal", "Memo_vnalkakbnal", "memo_KorrInkass",
                             "memo_KorrVinos", "memo_KorrVnos"};

} // namespace

class TstKorrAkt : public QObject
{
    Q_OBJECT

private slots:
    // A pasted act number is stored as the field keeps it when the field is left; nothing else in
    // the file changes, and the documents of the shift still prepare with it.
    void aPastedActNumberIsStoredAsTheFieldKeepsIt_data() { addHostileTextRows(); }
    void aPastedActNumberIsStoredAsTheFieldKeepsIt()
    {
        QFETCH(QString, text);
        MessageRecorder messages;
        ShiftFixture fixture;
        const QDate day(2024, 3, 15);
        const qint32 idDovra = fixture.addShift(day, QStringLiteral("17"));
        const qint32 idZ = fixture.addZReport(idDovra, 1, {{QStringLiteral("ZDate"), QDateTime(day, QTime(8, 0))},
                                                           {QStringLiteral("NalProd"), 100.0}});
        TKorrAkt act(fixture.station.main->pnlDovraRed);
        act.setIdZ(idZ);
        act.show();
        QApplication::setActiveWindow(&act);
        QVERIFY(QTest::qWaitForWindowActive(&act));
        Connection &connection = fixture.station.dm->ADOConAZSKAS;
        const QString before = schemaAndCounts(connection);

        QCOMPARE(focused(), act.Memo_nakt);
        pasteInto(act.Memo_nakt, text);
        const QString kept = keptText(text, act.Memo_nakt->maxLength());
        QCOMPARE(act.Memo_nakt->text(), kept);
        QTest::keyClick(act.Memo_nakt, Qt::Key_Return);
        QCOMPARE(focused(), act.Memo_nal);
        QCOMPARE(fixture.station.scalar(QStringLiteral("select NAkt from zkorr where idz = :z"),
                                        {{QStringLiteral("z"), idZ}}).asString(),
                 kept);
        QCOMPARE(schemaAndCounts(connection), before);
        act.reject();
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(documentFailures(fixture, idDovra, 1), QString());
    }

    void actRowIsCreatedOnce()
    {
        Desk desk;
        TKorrAkt *act = desk.open();
        QVERIFY(act);
        QCOMPARE(act->windowTitle(), "Корректирующий акт");
        QVERIFY(act->isModal());
        QCOMPARE(desk.actRows(), 1);
        QCOMPARE(desk.stored("idz").asInteger(), desk.idZ);
        QCOMPARE(act->Memo_nakt->text(), QString());
        for (QLineEdit *amount : act->edits().mid(1))
            QCOMPARE(amount->text(), withMark("0,00"));
        QCOMPARE(focused(), act->Memo_nakt);
        QVERIFY(act->Button1->isEnabled());
        QVERIFY(!act->Button2->isEnabled());
        act->accept();

        QVERIFY(desk.open());
        QCOMPARE(desk.actRows(), 1);
        QVERIFY(desk.messages.texts().isEmpty());
    }

    void noActWithoutItsZReport_data()
    {
        QTest::addColumn<qint32>("idZOffset");
        QTest::addColumn<QString>("setUp");

        QTest::newRow("panel not loaded yet") << qint32(-1) << QString();
        QTest::newRow("no such Z-report") << qint32(100) << QString();
        QTest::newRow("insert reports no row")
            << qint32(0)
            << "create trigger noAct before insert on zkorr begin select raise(ignore); end";
    }

    void noActWithoutItsZReport()
    {
        QFETCH(qint32, idZOffset);
        QFETCH(QString, setUp);
        Desk desk;
        if (!setUp.isEmpty())
            desk.station.run(setUp);
        const qint32 z = idZOffset < 0 ? 0 : desk.idZ + idZOffset;

        desk.act = std::make_unique<TKorrAkt>(desk.station.main->pnlDovraRed);
        desk.act->setIdZ(z);
        desk.act->show();
        QTRY_VERIFY(!desk.act->isVisible());
        QCOMPARE(desk.messages.texts(), QStringList{TKorrAkt::creationFailedText});
        QCOMPARE(desk.act->result(), int(QDialog::Rejected));
        QCOMPARE(desk.actRows(), 0);
    }

    void keyFilters_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");

        QTest::newRow("twelve digits at most") << "Memo_nal" << "" << 0 << 0 << "1234567890123" << "123456789012";
        QTest::newRow("comma into empty is the mark") << "Memo_nal" << "" << 0 << 0 << "," << ",";
        QTest::newRow("point is the mark") << "Memo_nal" << "12" << 2 << 0 << ".5" << "12,5";
        QTest::newRow("two digits after the mark") << "Memo_nal" << "" << 0 << 0 << "1,234" << "1,23";
        QTest::newRow("mark with three digits after it") << "Memo_nal" << "12345" << 2 << 0 << "," << "12345";
        QTest::newRow("mark before the last two") << "Memo_nal" << "12345" << 3 << 0 << "," << "123,45";
        QTest::newRow("second mark") << "Memo_nal" << "1,5" << 3 << 0 << "." << "1,5";
        QTest::newRow("mark typed over the shown amount") << "Memo_nal" << "0,00" << 0 << 4 << ",5" << ",5";
        QTest::newRow("mark in place of a selected one") << "Memo_nal" << "12,34" << 2 << 2 << "." << "12,4";
        QTest::newRow("mark into a selection with room") << "Memo_nal" << "12345" << 2 << 3 << "," << "12,";
        QTest::newRow("letters, signs and blanks") << "Memo_nal" << "" << 0 << 0 << "a-+ x=" << "";
        QTest::newRow("digits in front of the mark") << "Memo_nal" << "12,34" << 0 << 0 << "9" << "912,34";
        QTest::newRow("the whole rest counts") << "memo_KorrVnos" << "123456789012" << 0 << 0 << "9" << "123456789012";
        QTest::newRow("typing over the selection") << "memo_KorrVnos" << "123456789012" << 0 << 12 << "5" << "5";
        QTest::newRow("selection leaves room") << "Memo_nal" << "123456789012" << 10 << 2 << "34" << "123456789034";
        QTest::newRow("backspace") << "Memo_nal" << "12,3" << 4 << 0 << "\b" << "12,";
        QTest::newRow("act number takes any text") << "Memo_nakt" << "" << 0 << 0 << "А-17/б, x." << "А-17/б, x.";
        QTest::newRow("act number at most 15") << "Memo_nakt" << "" << 0 << 0 << "12345678901234567" << "123456789012345";
    }

    void keyFilters()
    {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, keys);
        QFETCH(QString, expected);

        Desk desk;
        QVERIFY(desk.open());
        QLineEdit *field = desk.edit(edit);
        field->setFocus(Qt::TabFocusReason);
        field->setText(withMark(text));
        field->setSelection(selStart, selLength);
        typeKeys(keys);
        QCOMPARE(field->text(), edit == "Memo_nakt" ? expected : withMark(expected));
    }

    void enterAndArrowsFollowTheForm()
    {
        Desk desk;
        TKorrAkt *act = desk.open();
        QVERIFY(act);
        QStringList visited{focused()->objectName()};
        for (int i = 0; i < focusOrder.size(); ++i) {
            QTest::keyClick(focused(), Qt::Key_Return);
            visited << focused()->objectName();
        }
        // Enter goes on to the act's "Печать" and no further.
        QCOMPARE(visited, focusOrder + QStringList{"Button1"});
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(focused(), act->Button1);
        act->memo_KorrVnos->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(focused(), act->memo_KorrVinos);
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(focused(), act->memo_KorrVnos);
        // The field entered is selected whole, so typing replaces it.
        QCOMPARE(act->memo_KorrVnos->selectedText(), act->memo_KorrVnos->text());
    }

    void fieldIsStoredWhenLeft_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QVariant>("value");

        const auto money = [](double rubles) { return QVariant::fromValue(Money::fromDouble(rubles)); };
        QTest::newRow("act number") << "Memo_nakt" << "NAkt" << "17-А" << QVariant("17-А");
        QTest::newRow("cash in the register") << "Memo_nal" << "nal" << "1234,5" << money(1234.5);
        QTest::newRow("card sold as cash") << "Memo_bnalkaknal" << "BnalKakNal" << "100" << money(100);
        QTest::newRow("cash sold as card") << "Memo_nalkakbnal" << "nalKakBnal" << ",5" << money(0.5);
        QTest::newRow("card refunded as cash") << "Memo_vbnalkaknal" << "vBnalKakNal" << "7,25" << money(7.25);
        QTest::newRow("cash refunded as card") << "Memo_vnalkakbnal" << "vNalKakBnal" << "3" << money(3);
        QTest::newRow("encashment") << "memo_KorrInkass" << "korrInkass" << "500" << money(500);
        QTest::newRow("cash taken out") << "memo_KorrVinos" << "korrVinos" << "20,1" << money(20.1);
        QTest::newRow("lone mark") << "memo_KorrVnos" << "korrVnos" << "," << money(0);
        QTest::newRow("act number emptied") << "Memo_nakt" << "NAkt" << "\b" << QVariant();
        QTest::newRow("amount emptied") << "Memo_nal" << "nal" << "\b" << QVariant();
    }

    void fieldIsStoredWhenLeft()
    {
        QFETCH(QString, edit);
        QFETCH(QString, column);
        QFETCH(QString, keys);
        QFETCH(QVariant, value);

        Desk desk;
        desk.station.run(QStringLiteral("insert into zkorr (idz, NAkt, nal) values (:z, 'old', 990000)"),
                         {{QStringLiteral("z"), desk.idZ}});
        QVERIFY(desk.open());
        QLineEdit *field = desk.edit(edit);
        field->setFocus(Qt::TabFocusReason);
        typeKeys(keys);
        const QString typed = field->text();
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(field != focused());

        QCOMPARE(desk.stored(column).value(), value);
        QCOMPARE(field->text(), typed); // stored as typed, not reformatted
        QCOMPARE(desk.actRows(), 1);
        QVERIFY(desk.messages.texts().isEmpty());
    }

    void reopenedActShowsItsValues()
    {
        Desk desk;
        desk.station.run(QStringLiteral("insert into zkorr (idz, NAkt, nal, korrInkass, korrVinos) "
                                        "values (:z, 'A1', 12345000, null, 25)"),
                         {{QStringLiteral("z"), desk.idZ}});
        TKorrAkt *act = desk.open();
        QVERIFY(act);
        QCOMPARE(act->Memo_nakt->text(), "A1");
        QCOMPARE(act->Memo_nal->text(), withMark("1234,50"));
        QCOMPARE(act->memo_KorrInkass->text(), withMark("0,00"));
        QCOMPARE(act->memo_KorrVinos->text(), withMark("0,00")); // 0.0025 rubles
        // Leaving an emptied amount stores null, shown as 0 next time.
        act->Memo_nal->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused(), Qt::Key_Backspace);
        QTest::keyClick(focused(), Qt::Key_Return);
        QVERIFY(desk.stored("nal").isNull());
        act->accept();
        QVERIFY(desk.open());
        QCOMPARE(desk.act->Memo_nal->text(), withMark("0,00"));
    }

    // The field being typed in when the window closes is never left: closing stores it.
    void closingStoresTheFieldBeingTyped_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Escape") << false;
        QTest::newRow("close box") << true;
    }

    void closingStoresTheFieldBeingTyped()
    {
        QFETCH(bool, closeBox);
        Desk desk;
        TKorrAkt *act = desk.open();
        QVERIFY(act);
        act->memo_KorrInkass->setFocus(Qt::TabFocusReason);
        typeKeys("75");
        if (closeBox)
            act->close();
        else
            QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!act->isVisible());
        QCOMPARE(desk.stored("korrInkass").asMoney(), Money::fromDouble(75));
    }

    // A pasted text that is no number is not stored; the window does not close over it.
    void textThatIsNoNumberIsNotStored()
    {
        Desk desk;
        TKorrAkt *act = desk.open();
        QVERIFY(act);
        act->Memo_nal->setFocus(Qt::TabFocusReason);
        act->Memo_nal->setText("12abc");
        QTest::keyClick(act->Memo_nal, Qt::Key_Return);
        QCOMPARE(desk.messages.messages().size(), 1);
        QCOMPARE(desk.messages.messages().constFirst().first, MessageKind::Error);
        QVERIFY(desk.messages.texts().constFirst().contains("12abc"));
        QVERIFY(desk.stored("nal").isNull());

        act->Memo_nal->setFocus(Qt::TabFocusReason);
        act->close();
        QVERIFY(act->isVisible());
        QCOMPARE(desk.messages.messages().size(), 2);

        act->Memo_nal->setText(withMark("12,5"));
        act->close();
        QVERIFY(!act->isVisible());
        QCOMPARE(desk.stored("nal").asMoney(), Money::fromDouble(12.5));
    }

    // As the panel's button does it: the act, then the shift's control figures with it.
    void correctionReachesTheShiftBalance()
    {
        LoadedShift shift;
        TfMain &main = *shift.station.main;
        main.curIdDovra = shift.idDovra;
        {
            TKorrAkt act(shift.panel);
            act.setIdZ(shift.panel->getIdZ());
            act.show();
            QApplication::setActiveWindow(&act);
            QVERIFY(QTest::qWaitForWindowActive(&act));
            act.memo_KorrInkass->setFocus(Qt::TabFocusReason);
            typeKeys("500,5");
            act.accept();
        }
        main.dovraControl();
        QCOMPARE(main.MemoINKASSKorrcommon->text(), withMark("500,50"));
        QCOMPARE(main.MemoKONTROL->text(), withMark("-500,50"));
    }

    // "Печать" prints the revenue act of the panel's Z-report at once, with what was just typed;
    // no preview opens.
    void printGoesStraightToThePrinter()
    {
        LoadedShift shift;
        TfMain &main = *shift.station.main;
        main.curIdDovra = shift.idDovra;
        TKorrAkt act(shift.panel);
        act.setIdZ(shift.panel->getIdZ());
        act.show();
        QApplication::setActiveWindow(&act);
        QVERIFY(QTest::qWaitForWindowActive(&act));
        act.Memo_nakt->setFocus(Qt::TabFocusReason);
        typeKeys("17");

        // A preview would wait for the user: it is noted and closed.
        QStringList previews;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &act, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal != &act) {
                previews << modal->metaObject()->className();
                modal->close();
            }
        });
        watch.start(20);
        QTest::mouseClick(act.Button1, Qt::LeftButton);
        watch.stop();

        QCOMPARE(previews, QStringList());
        QVERIFY(act.isVisible());
        QCOMPARE(shift.station.dm->adoqKAkt.field(QStringLiteral("nakt")).asString(), "17");
        QCOMPARE(main.lastOpenedZ.manufacturerNumber, QStringLiteral("00112233"));
    }
};

// Errors raised inside the window's handlers reach the program's own error report.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TstKorrAkt test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_korrakt.moc"
