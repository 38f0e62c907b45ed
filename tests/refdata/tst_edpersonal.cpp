#include "refdata/edpersonal.h"
#include "support/hostiletexts.h"
#include "support/shiftfixture.h"
#include "support/station.h"
#include "typing.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/messages.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// The operators editor on the demo station (Белова, Григорьев and Никитина working, Ершов
// dismissed, entered in that order), created before the database is connected, as the program
// does.
struct Desk
{
    Desk() { station.dm->connectDatabase(station.ini); }

    Table &operators() { return station.dm->tabOPER; }
    QStringList names()
    {
        QStringList result;
        QAbstractItemModel *grid = editor.DBGridOper->model();
        for (int row = 0; row < grid->rowCount(); ++row)
            result << grid->index(row, 0).data().toString();
        return result;
    }
    void goTo(const QString &name)
    {
        for (operators().first(); !operators().eof(); operators().next())
            if (operators().field("OperatorFIO").asString() == name)
                return;
        QFAIL("no such operator");
    }
    QRadioButton *item(int index) { return editor.rgOperSit->findChildren<QRadioButton *>().at(index); }
    int storedState(const QString &name)
    {
        return station.scalar("select idOperSit from AZSOPER where OperatorFIO = :n", {{"n", name}}).asInteger();
    }
    // The operators a shift can be opened with, as the main window lists them at start.
    QStringList offered()
    {
        Query &working = station.dm->adoqOPER;
        working.refresh();
        QStringList result;
        for (working.first(); !working.eof(); working.next())
            result << working.field("OperatorFIO").asString();
        return result;
    }

    Station station;
    TfEdPersonal editor{station.dm.get(), station.main.get()};
};

} // namespace

class TestEdPersonal : public QObject
{
    Q_OBJECT

private slots:
    void theListIsInNameOrderAtEveryShowing()
    {
        Desk desk;
        desk.editor.show();
        QCOMPARE(desk.names(), (QStringList{"Белова Светлана Андреевна", "Григорьев Павел Николаевич",
                                            "Ершов Дмитрий Олегович", "Никитина Анна Сергеевна"}));
        desk.goTo("Никитина Анна Сергеевна");
        desk.editor.reject();

        desk.station.run("insert into AZSOPER (OperatorFIO, idOperSit) values ('Абрамова Ирина Юрьевна', 1)");
        desk.editor.show();
        QCOMPARE(desk.names().constFirst(), QStringLiteral("Абрамова Ирина Юрьевна"));
        QCOMPARE(desk.operators().recNo(), 0);
        QCOMPARE(desk.editor.dbeOper->text(), QStringLiteral("Абрамова Ирина Юрьевна"));
    }

    // Each operator's state shows in the selector; none, or one the selector does not have, shows
    // no item.
    void theSelectorFollowsTheCurrentRow_data()
    {
        QTest::addColumn<QVariant>("state");
        QTest::addColumn<int>("item");
        QTest::newRow("working") << QVariant(1) << 0;
        QTest::newRow("on leave") << QVariant(2) << 1;
        QTest::newRow("dismissed") << QVariant(3) << 2;
        QTest::newRow("no state") << QVariant() << -1;
        QTest::newRow("unknown state") << QVariant(7) << -1;
    }
    void theSelectorFollowsTheCurrentRow()
    {
        QFETCH(QVariant, state);
        QFETCH(int, item);
        Desk desk;
        desk.station.run("update AZSOPER set idOperSit = :s where OperatorFIO like 'Григорьев%'", {{"s", state}});
        desk.editor.show();
        QCOMPARE(desk.editor.selectedState(), 0);
        desk.goTo("Григорьев Павел Николаевич");
        QCOMPARE(desk.editor.selectedState(), item);
        for (int i = 0; i < TfEdPersonal::stateCount; ++i)
            QCOMPARE(desk.item(i)->isChecked(), i == item);
        desk.goTo("Ершов Дмитрий Олегович");
        QCOMPARE(desk.editor.selectedState(), 2);
    }

    // A state chosen is stored by "Сохранение", which always closes the window and asks for a
    // restart; the operators offered for a shift change with the next start.
    void aChosenStateIsStoredBySaving_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("offered");
        QTest::newRow("dismissing a working one") << "Белова Светлана Андреевна" << 2 << false;
        QTest::newRow("taking back a dismissed one") << "Ершов Дмитрий Олегович" << 0 << true;
        QTest::newRow("nothing changed") << "Никитина Анна Сергеевна" << -1 << true;
    }
    void aChosenStateIsStoredBySaving()
    {
        QFETCH(QString, name);
        QFETCH(int, item);
        QFETCH(bool, offered);
        Desk desk;
        desk.editor.show();
        desk.goTo(name);
        if (item >= 0)
            desk.item(item)->click();
        MessageRecorder messages;
        desk.editor.btnOperSave->click();
        QVERIFY(!desk.editor.isVisible());
        QCOMPARE(messages.texts(), QStringList{"Перезагрузите программу"});
        QCOMPARE(desk.offered().contains(name), offered);
    }

    // Names are kept with single blanks between their words. Names of one or two words (no
    // patronymic) are taken: the documents shorten them too.
    void aNewOperatorIsHiredToWork_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("full name") << "Кузьмин Олег Петрович" << "Кузьмин Олег Петрович";
        QTest::newRow("extra blanks") << "  Кузьмин   Олег Петрович " << "Кузьмин Олег Петрович";
        QTest::newRow("no patronymic") << "Ким Анна" << "Ким Анна";
    }
    void aNewOperatorIsHiredToWork()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Desk desk;
        desk.editor.show();
        desk.editor.btnOperAdd->click();
        QVERIFY(desk.editor.dbeOper->text().isEmpty());
        QCOMPARE(desk.editor.selectedState(), 0);
        typeText(desk.editor.dbeOper, typed);
        MessageRecorder messages;
        desk.editor.btnOperSave->click();
        QCOMPARE(messages.texts(), QStringList{"Перезагрузите программу"});
        QCOMPARE(desk.storedState(stored), 1);
        QVERIFY(desk.offered().contains(stored));
    }

    // A pasted name is stored as the field keeps it, with single blanks between its words; the
    // other operators and the rest of the file stay, and the documents of a shift she worked
    // still prepare with her name.
    void aPastedNameIsStoredAsTheFieldKeepsIt_data() { addHostileTextRows(); }
    void aPastedNameIsStoredAsTheFieldKeepsIt()
    {
        QFETCH(QString, text);
        ShiftFixture fixture;
        const qint32 idDovra = addShiftToPrint(fixture, 1, 2);
        Station &station = fixture.station;
        TfEdPersonal editor(station.dm.get(), station.main.get());
        editor.show();
        const QString before = schemaAndCounts(station.dm->ADOConAZSKAS);
        Table &operators = station.dm->tabOPER;
        QVERIFY(operators.locate(1));

        pasteInto(editor.dbeOper, text);
        const QString name = keptText(text, editor.dbeOper->maxLength()).simplified();
        QCOMPARE(editor.dbeOper->text().simplified(), name);
        MessageRecorder messages;
        editor.btnOperSave->click();

        QCOMPARE(schemaAndCounts(station.dm->ADOConAZSKAS), before);
        QCOMPARE(station.scalar(QStringLiteral("select OperatorFIO from AZSOPER where idOperator = 2")).asString(),
                 QStringLiteral("Григорьев Павел Николаевич"));
        QCOMPARE(station.scalar(QStringLiteral("select OperatorFIO from AZSOPER where idOperator = 1")).asString(),
                 name);
        QCOMPARE(operators.field(QStringLiteral("OperatorFIO")).asString(), name);
        QCOMPARE(editor.dbeOper->text(), name);
        QCOMPARE(documentFailures(fixture, idDovra, 1), QString());
    }

    void anOperatorWithoutANameIsRefused()
    {
        Desk desk;
        desk.editor.show();
        desk.editor.btnOperAdd->click();
        typeText(desk.editor.dbeOper, "   ");
        MessageRecorder messages;
        desk.editor.btnOperSave->click();
        QCOMPARE(messages.texts(), QStringList{"Введите фамилию, имя и отчество сотрудника"});
        QVERIFY(desk.editor.isVisible());
        desk.editor.reject();
        QCOMPARE(desk.station.scalar("select count(*) from AZSOPER").asInteger(), 4);
        QCOMPARE(desk.operators().state(), Table::State::Browse);
    }

    // Choosing another operator in the list stores the one being left, as a data-bound grid
    // does; closing the window drops what is not stored.
    void leavingAnOperatorThroughTheListStoresIt()
    {
        Desk desk;
        desk.editor.show();
        desk.item(1)->click(); // Белова goes on leave
        const QRect row = desk.editor.DBGridOper->visualRect(desk.editor.DBGridOper->model()->index(3, 0));
        QTest::mouseClick(desk.editor.DBGridOper->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(desk.storedState("Белова Светлана Андреевна"), 2);
        QCOMPARE(desk.editor.dbeOper->text(), QStringLiteral("Никитина Анна Сергеевна"));
        desk.item(2)->click();
        desk.editor.reject();
        QCOMPARE(desk.storedState("Никитина Анна Сергеевна"), 1);
    }
};

QTEST_MAIN(TestEdPersonal)
#include "tst_edpersonal.moc"
