#include "refdata/edkkm.h"
#include "support/hostiletexts.h"
#include "support/shiftfixture.h"
#include "support/station.h"
#include "typing.h"

#include "platform/data/errors.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/messages.h"
#include "platform/ui/processexit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The registers editor on the demo station (registers 1473920, 1473921 and 1502288 with the
// numbers 1 to 3, all active; models 1 to 3), created before the database is connected, as the
// program does, and shown.
struct Desk
{
    Desk()
    {
        station.dm->connectDatabase(station.ini);
        editor.show();
    }

    int storedCount() { return station.scalar("select valnumber from param where parname = 'nkass'").asInteger(); }
    int storedNumber(const QString &registration)
    {
        return station.scalar("select nKass from KKM where NREG = :r", {{"r", registration}}).asInteger();
    }
    Table &registers() { return station.dm->tabKKM; }
    void goToRegister(const QString &registration)
    {
        for (registers().first(); !registers().eof(); registers().next())
            if (registers().field("NREG").asString() == registration)
                return;
        QFAIL("no such register");
    }
    void choose(QComboBox *list, const QString &text)
    {
        const int index = list->findText(text);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    Station station;
    TfEdKKM editor{station.dm.get(), station.main.get()};
};

QStringList numbers(int count)
{
    QStringList result;
    for (int number = 1; number <= count; ++number)
        result << QString::number(number);
    return result;
}

void clickRow(DataGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestEdKKM : public QObject
{
    Q_OBJECT

private slots:
    void theInventoryShowsModelAndStateByName()
    {
        Desk desk;
        QAbstractItemModel *grid = desk.editor.dbgKKM->model();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->index(2, 3).data().toString(), QStringLiteral("ПРИМ-08ТК"));
        QCOMPARE(grid->index(2, 4).data().toString(), QStringLiteral("Активна (в работе)"));
        desk.goToRegister("1502288");
        QCOMPARE(desk.editor.dbeKKMNP->text(), QStringLiteral("0807634"));
        QCOMPARE(desk.editor.dblComboBoxKKMNazv->currentText(), QStringLiteral("ПРИМ-08ТК"));
        QCOMPARE(desk.editor.dblComboBoxKKMSost->currentText(), QStringLiteral("Активна (в работе)"));
        QCOMPARE(desk.editor.comboxNKASS->currentText(), QStringLiteral("3"));
    }

    // Each step is stored at once; the selector offers the numbers up to the count.
    void theCountStepsWithinOneToFive_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("count");
        QTest::newRow("2, up") << 2 << "+" << 3;
        QTest::newRow("2, up and down") << 2 << "+-" << 2;
        QTest::newRow("4, up twice") << 4 << "++" << 5;
        QTest::newRow("5, up") << 5 << "+" << 5;
        QTest::newRow("1, down") << 1 << "-" << 1;
        QTest::newRow("2, down twice") << 2 << "--" << 1;
    }
    void theCountStepsWithinOneToFive()
    {
        QFETCH(int, stored);
        QFETCH(QString, steps);
        QFETCH(int, count);
        Desk desk;
        desk.station.run("update param set valnumber = :n where parname = 'nkass'", {{"n", stored}});
        desk.editor.FormActivate();
        QCOMPARE(desk.editor.edNKass->text(), QString::number(stored));
        QCOMPARE(Station::items(desk.editor.comboxNKASS), numbers(stored));
        for (const QChar step : steps) {
            QPushButton *button = step == u'+' ? desk.editor.btnNKASSup : desk.editor.btnNKASSdown;
            button->click();
            QCOMPARE(desk.storedCount(), desk.editor.edNKass->text().toInt());
        }
        QCOMPARE(desk.editor.edNKass->text(), QString::number(count));
        QCOMPARE(desk.storedCount(), count);
        QCOMPARE(Station::items(desk.editor.comboxNKASS), numbers(count));
    }

    void aCountThatIsNoNumberStoresNothing()
    {
        Desk desk;
        desk.editor.edNKass->setText("три");
        QVERIFY_THROWS_EXCEPTION(ConvertError, desk.editor.incnKass(+1));
        QCOMPARE(desk.storedCount(), 3);
        QCOMPARE(desk.editor.edNKass->text(), QStringLiteral("три"));
    }

    // Register 1473920 (number 1) asks for number 2; 1473921 has it.
    void aNumberAnotherActiveRegisterHasIsRefused_data()
    {
        QTest::addColumn<QString>("otherRegister"); // a statement changing 1473921
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("number");
        QTest::newRow("active with the number") << "" << 2 << 1;
        QTest::newRow("under repair with the number") << "update KKM set idKKMSost = 2" << 2 << 2;
        QTest::newRow("active without a serial number") << "update KKM set NPROIZV = null" << 2 << 1;
        QTest::newRow("active with the same serial number")
            << "update KKM set NPROIZV = '00112233'" << 2 << 1; // 1473920's
        QTest::newRow("its own number") << "" << 1 << 1;
        QTest::newRow("a free number") << "" << 4 << 4;
    }
    void aNumberAnotherActiveRegisterHasIsRefused()
    {
        QFETCH(QString, otherRegister);
        QFETCH(int, chosen);
        QFETCH(int, number);
        Desk desk;
        if (!otherRegister.isEmpty())
            desk.station.run(otherRegister + " where NREG = '1473921'");
        desk.station.run("update param set valnumber = 5 where parname = 'nkass'");
        desk.registers().refresh();
        desk.editor.FormActivate();
        desk.goToRegister("1473920");
        MessageRecorder messages;
        desk.choose(desk.editor.comboxNKASS, QString::number(chosen));
        QCOMPARE(desk.editor.comboxNKASS->currentText(), QString::number(number));
        QCOMPARE(desk.editor.dbeNKASS->text(), QString::number(number));
        desk.editor.btnSaveKKM->click();
        QVERIFY(!desk.editor.isVisible());
        QCOMPARE(desk.storedNumber("1473920"), number);
        QVERIFY(messages.texts().isEmpty());
    }

    void aNewRegisterIsStoredByAcceptingIt()
    {
        Desk desk;
        desk.editor.btnNKASSup->click();
        desk.editor.btnAddKKM->click();
        QVERIFY(desk.editor.dbeKKMNP->text().isEmpty());
        QCOMPARE(desk.editor.comboxNKASS->currentIndex(), -1);
        typeText(desk.editor.dbeKKMNP, "00998877");
        typeText(desk.editor.dbeKKMRegN, "1600001");
        desk.choose(desk.editor.dblComboBoxKKMNazv, "ЭЛВЕС-ФР-К");
        desk.choose(desk.editor.dblComboBoxKKMSost, "Активна (в работе)");
        desk.choose(desk.editor.comboxNKASS, "4");
        desk.editor.btnSaveKKM->click();
        QVERIFY(!desk.editor.isVisible());
        QCOMPARE(desk.station.scalar("select count(*) from KKM where NPROIZV = '00998877' and NREG = '1600001'"
                                     " and nKass = 4 and idKKMNazv = 3 and idKKMSost = 1").asInteger(), 1);
    }

    // A register made active keeps a number only no other active register has.
    void anActivatedRegisterCannotShareANumber()
    {
        Desk desk;
        desk.station.run("update KKM set idKKMSost = 2, nKass = 1 where NREG = '1473921'");
        desk.registers().refresh();
        desk.goToRegister("1473921");
        desk.choose(desk.editor.dblComboBoxKKMSost, "Активна (в работе)");
        MessageRecorder messages;
        desk.editor.btnSaveKKM->click();
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().constFirst().contains(QStringLiteral("Касса № 1")));
        QVERIFY(desk.editor.isVisible());
        QCOMPARE(desk.station.scalar("select idKKMSost from KKM where NREG = '1473921'").asInteger(), 2);
    }

    void changesAreDroppedWhenTheWindowIsClosedOtherwise()
    {
        Desk desk;
        typeText(desk.editor.dbeKKMNP, "9");
        desk.editor.btnAddModel->click();
        typeText(desk.editor.DBEdit1, "МЕРКУРИЙ-115Ф");
        desk.editor.reject();
        QCOMPARE(desk.station.scalar("select count(*) from KKM where NPROIZV = '001122339'").asInteger(), 0);
        QCOMPARE(desk.station.scalar("select count(*) from KKMnazv").asInteger(), 3);
        QCOMPARE(desk.registers().state(), Table::State::Browse);
        QCOMPARE(desk.editor.dbeKKMNP->text(), QStringLiteral("00112233"));
    }

    // Choosing another register in the list stores the change of the one being left, as a
    // data-bound grid does, so that several registers can be renumbered in one go.
    void leavingARegisterThroughTheListStoresIt()
    {
        Desk desk;
        desk.editor.btnNKASSup->click();
        desk.choose(desk.editor.comboxNKASS, "4");
        clickRow(desk.editor.dbgKKM, 1);
        QCOMPARE(desk.storedNumber("1473920"), 4);
        QCOMPARE(desk.editor.dbeKKMNP->text(), QStringLiteral("00112245"));
        desk.choose(desk.editor.comboxNKASS, "1");
        QCOMPARE(desk.editor.dbeNKASS->text(), QStringLiteral("1"));
    }

    // The model key is left to the database: the next number after the greatest.
    void aNewModelGetsTheNextKeyAndTheProgramEnds_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::newRow("after 1 to 3") << "" << 4;
        QTest::newRow("after a gap") << "delete from KKMnazv where idKKMNazv = 2" << 4;
        QTest::newRow("into an empty list") << "delete from KKMnazv" << 1;
    }
    void aNewModelGetsTheNextKeyAndTheProgramEnds()
    {
        QFETCH(QString, before);
        QFETCH(int, key);
        Desk desk;
        if (!before.isEmpty()) {
            desk.station.run(before);
            desk.station.dm->tabKKMNazv.refresh();
        }
        desk.editor.btnAddModel->click();
        typeText(desk.editor.DBEdit1, "МЕРКУРИЙ-115Ф");
        int exitCode = -1;
        const HaltHandler previous = setHaltHandler([](int code) { throw HaltRequested{code}; });
        try {
            desk.editor.btnKKMFixModelsClick();
        } catch (const HaltRequested &halt) {
            exitCode = halt.exitCode;
        }
        setHaltHandler(previous);
        QCOMPARE(exitCode, 0);
        QVERIFY(!desk.editor.isVisible());
        QCOMPARE(desk.station.scalar("select KKMnazv from KKMnazv where idKKMNazv = :k", {{"k", key}}).asString(),
                 QStringLiteral("МЕРКУРИЙ-115Ф"));
    }

    // Pasted serial and registration numbers and a pasted model name are stored as the fields
    // keep them; nothing else in the file changes, and the documents of a shift on the register
    // still prepare with them.
    void pastedTextsAreStoredAsTheFieldsKeepThem_data() { addHostileTextRows(); }
    void pastedTextsAreStoredAsTheFieldsKeepThem()
    {
        QFETCH(QString, text);
        ShiftFixture fixture;
        const qint32 idDovra = addShiftToPrint(fixture);
        Station &station = fixture.station;
        TfEdKKM editor(station.dm.get(), station.main.get());
        editor.show();
        const QString before = schemaAndCounts(station.dm->ADOConAZSKAS);

        QCOMPARE(station.dm->tabKKM.field(QStringLiteral("idKKM")).asInteger(), 1);
        pasteInto(editor.dbeKKMNP, text);
        pasteInto(editor.dbeKKMRegN, text);
        editor.btnSaveKKM->click();
        QVERIFY(!editor.isVisible());
        editor.show();
        QCOMPARE(station.dm->tabKKMNazv.field(QStringLiteral("idKKMNazv")).asInteger(), 1);
        pasteInto(editor.DBEdit1, text);
        const HaltHandler previous = setHaltHandler([](int code) { throw HaltRequested{code}; });
        QVERIFY_THROWS_EXCEPTION(HaltRequested, editor.btnKKMFixModelsClick());
        setHaltHandler(previous);

        QCOMPARE(schemaAndCounts(station.dm->ADOConAZSKAS), before);
        const QList<std::pair<QLineEdit *, const char *>> fields = {
            {editor.dbeKKMNP, "select NPROIZV from KKM where idKKM = 1"},
            {editor.dbeKKMRegN, "select NREG from KKM where idKKM = 1"},
            {editor.DBEdit1, "select KKMnazv from KKMnazv where idKKMNazv = 1"}};
        for (const auto &[field, stored] : fields) {
            const QString kept = keptText(text, field->maxLength());
            QCOMPARE(field->text(), kept);
            QCOMPARE(station.scalar(QString::fromLatin1(stored)).asString(), kept);
        }
        QCOMPARE(documentFailures(fixture, idDovra, 1), QString());
    }

    void aModelWithoutANameIsRefused()
    {
        Desk desk;
        desk.editor.btnAddModel->click();
        typeText(desk.editor.DBEdit1, "   ");
        MessageRecorder messages;
        const HaltHandler previous = setHaltHandler([](int code) { throw HaltRequested{code}; });
        desk.editor.btnKKMFixModelsClick();
        setHaltHandler(previous);
        QCOMPARE(messages.texts(), QStringList{"Введите название модели ККМ"});
        QVERIFY(desk.editor.isVisible());
        QCOMPARE(desk.station.scalar("select count(*) from KKMnazv").asInteger(), 3);
    }
};

QTEST_MAIN(TestEdKKM)
#include "tst_edkkm.moc"
