#include "support/hostiletexts.h"
#include "support/shiftfixture.h"
#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/errors.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString today = QDate::currentDate().toString("dd.MM.yyyy");
const QString yesterday = QDate::currentDate().addDays(-1).toString("dd.MM.yyyy");

enum class ViewState { New, Open, Archive };

struct Expected
{
    ViewState state;
    QString number;    // the BUK-TS number the header shows
    bool backToEdit;   // "РЕДАКТИРОВАТЬ СМЕНУ" enabled
    int shiftRows;     // rows in DOVRA
};

class Desk
{
public:
    Desk() { station.main->FormActivate(); }

    TfMain &main() { return *station.main; }

    // The operator types a shift number, chooses the first operator and leaves the field.
    void openShift(const QString &number, int operatorIndex = 0)
    {
        main().edNSMBUKTS->setText(number);
        main().ComBoxOper->setCurrentIndex(operatorIndex);
        main().FromDovraToZ(main().ComBoxOper);
    }
    void chooseMode(QRadioButton *mode)
    {
        mode->setChecked(true);
        main().rgNovDOVRAClick(main().rgNovDOVRA);
    }

    void verify(const Expected &expected)
    {
        TfMain &m = main();
        const bool archive = expected.state == ViewState::Archive;
        QCOMPARE(m.rbArchive->isChecked(), archive);
        QCOMPARE(m.edNSMBUKTS->text(), expected.number);
        QCOMPARE(m.edNSMBUKTS->isReadOnly(), archive);
        QCOMPARE(m.ComBoxOper->isEnabled(), !archive);
        QCOMPARE(m.btnDataBackToEdit->isEnabled(), expected.backToEdit);
        QCOMPARE(station.scalar("select count(*) from dovra").asInteger(), expected.shiftRows);
        if (expected.state == ViewState::New) {
            QCOMPARE(m.curIdDovra, 0);
            QCOMPARE(m.ComBoxOper->currentText(), TfMain::chooseOperatorText);
        } else {
            QVERIFY(m.curIdDovra > 0);
            QCOMPARE(station.scalar("select DovraNBUKTS from dovra where iddovra = :id",
                                    {{"id", m.curIdDovra}}).asString(), expected.number);
        }
        for (int i = 1; i <= m.kassPanelCount; ++i) {
            QCOMPARE(m.kassPanels[i]->isLocked(), archive);
            if (expected.state != ViewState::New)
                QCOMPARE(station.scalar("select iddovra from zotchet where idz = :idz",
                                        {{"idz", m.kassPanels[i]->getIdZ()}}).asInteger(), m.curIdDovra);
        }
    }

    Station station;
};

} // namespace

class TestShiftLifecycle : public QObject
{
    Q_OBJECT

private slots:
    // A pasted shift number is stored as the field keeps it; the shift opens with it, nothing
    // but the new shift's rows is added to the file, and its documents prepare.
    void aPastedShiftNumberIsStoredAsTheFieldKeepsIt_data() { addHostileTextRows(); }
    void aPastedShiftNumberIsStoredAsTheFieldKeepsIt()
    {
        QFETCH(QString, text);
        MessageRecorder messages;
        ShiftFixture fixture;
        TfMain &main = *fixture.station.main;
        Connection &connection = fixture.station.dm->ADOConAZSKAS;
        const QStringList growing{"DOVRA", "ZOTCHET", "Inkass"};
        const QString before = schemaAndCounts(connection, growing);

        pasteInto(main.edNSMBUKTS, text);
        const QString kept = keptText(text, main.edNSMBUKTS->maxLength());
        QCOMPARE(main.edNSMBUKTS->text(), kept);
        main.ComBoxOper->setCurrentIndex(0);
        main.FromDovraToZ(main.ComBoxOper);
        QVERIFY(main.curIdDovra > 0);
        QCOMPARE(fixture.station.scalar("select count(*) from DOVRA").asInteger(), 1);
        QCOMPARE(fixture.station.scalar("select DovraNBUKTS from DOVRA").asString(), kept);
        QCOMPARE(schemaAndCounts(connection, growing), before);
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(documentFailures(fixture, main.curIdDovra, 1), QString());
    }

    void aNumberWithoutAnOperatorWritesNothing()
    {
        Desk desk;
        desk.main().edNSMBUKTS->setText("101");
        desk.main().FromDovraToZ(desk.main().edNSMBUKTS);
        QCOMPARE(desk.station.scalar("select count(*) from dovra").asInteger(), 0);
        desk.verify({ViewState::New, "101", false, 0});
    }

    void theShiftGoesThroughItsStates()
    {
        Desk desk;
        TfMain &m = desk.main();
        desk.verify({ViewState::New, "", false, 0});

        desk.openShift("101");
        desk.verify({ViewState::Open, "101", false, 1});
        QCOMPARE(desk.station.scalar("select DovraDate from dovra").asDateTime().date(), QDate::currentDate());
        QCOMPARE(desk.station.scalar("select idOperator from dovra").asInteger(), m.operIds[1]);
        QVERIFY(desk.station.scalar("select idOperator2 from dovra").isNull());
        QCOMPARE(desk.station.scalar("select count(*) from zotchet where iddovra is not null").asInteger(), 3);

        // Leaving the header again rewrites the same row.
        for (QObject *field : {static_cast<QObject *>(m.edNSMBUKTS), static_cast<QObject *>(m.ComBoxOper),
                               static_cast<QObject *>(m.ComBoxOper2)})
            m.FromDovraToZ(field);
        m.edNSMBUKTS->setText("102");
        m.ComBoxOper2->setCurrentIndex(2);
        m.FromDovraToZ(m.ComBoxOper2);
        desk.verify({ViewState::Open, "102", false, 1});
        QCOMPARE(desk.station.scalar("select idOperator2 from dovra").asInteger(), m.operIds[3]);
        QCOMPARE(desk.station.scalar("select count(*) from zotchet where iddovra is not null").asInteger(), 3);

        m.btnDataAcceptClick();
        desk.verify({ViewState::Archive, "102", true, 1});
        QVERIFY(m.dovraAccepted);
        QCOMPARE(desk.station.scalar("select kkass from dovra").asInteger(), 3);
        QVERIFY(desk.station.scalar("select smLocked from dovra").asBoolean());

        m.btnDataBackToEditClick();
        desk.verify({ViewState::Open, "102", false, 1});
        QCOMPARE(desk.station.scalar("select kkass from dovra").asInteger(), 3);

        m.btnDataAcceptClick();
        desk.chooseMode(m.rbNewShift); // a rebuild: the header waits for a new shift
        desk.verify({ViewState::New, "", false, 1});

        desk.openShift("103", 1);
        desk.verify({ViewState::Open, "103", false, 2});

        desk.chooseMode(m.rbArchive); // the latest accepted shift, not the last row
        desk.verify({ViewState::Archive, "102", false, 2});

        desk.station.dm->tabDOVRA.last(); // the open shift chosen in the grid
        desk.verify({ViewState::Open, "103", false, 2});

        desk.station.dm->tabDOVRA.first();
        desk.verify({ViewState::Archive, "102", false, 2});
    }

    void archiveIsReadOnly()
    {
        Desk desk;
        TfMain &m = desk.main();
        desk.openShift("201");
        m.btnDataAcceptClick();
        QVERIFY(m.isArchiveMode());
        const QString before = m.edNSMBUKTS->text();
        m.edNSMBUKTS->setFocus();
        QTest::keyClicks(m.edNSMBUKTS, "999");
        QCOMPARE(m.edNSMBUKTS->text(), before);
        m.FromDovraToZ(m.edNSMBUKTS);
        const QString dateBefore = m.edSMDate->text();
        m.btnSMDateClick();
        QCOMPARE(m.edSMDate->text(), dateBefore);
        QCOMPARE(desk.station.scalar("select count(*) from dovra").asInteger(), 1);
    }

    void theDateButtonMovesShiftAndPanels()
    {
        Desk desk;
        TfMain &m = desk.main();
        desk.openShift("301");
        QCOMPARE(m.btnSMDate->text(), QStringLiteral("<<"));

        m.btnSMDateClick();
        QCOMPARE(m.btnSMDate->text(), QStringLiteral(">>"));
        QCOMPARE(m.edSMDate->text(), yesterday);
        QCOMPARE(desk.station.scalar("select DovraDate from dovra").asDateTime().date(),
                 QDate::currentDate().addDays(-1));
        for (int i = 1; i <= m.kassPanelCount; ++i) {
            QCOMPARE(m.kassPanels[i]->edit("ZDate")->text(), yesterday);
            QCOMPARE(m.kassPanels[i]->zDateButton()->text(), QStringLiteral("<<"));
            QCOMPARE(desk.station.scalar("select ZDate from zotchet where idz = :idz",
                                         {{"idz", m.kassPanels[i]->getIdZ()}}).asDateTime().date(),
                     QDate::currentDate().addDays(-1));
        }

        m.btnSMDateClick();
        QCOMPARE(m.btnSMDate->text(), QStringLiteral("<<"));
        QCOMPARE(m.edSMDate->text(), today);
        QCOMPARE(desk.station.scalar("select DovraDate from dovra").asDateTime().date(), QDate::currentDate());
    }

    // The header hands on to the panel built last; each panel to the one built before it. (With
    // a shift written, leaving the header sends the focus on to the encashment instead.)
    void focusRunsFromTheHeaderThroughThePanels()
    {
        Desk desk;
        TfMain &m = desk.main();
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        m.ComBoxOper2->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m.kassPanels[3]->focusOrder().first());
        m.kassPanels[3]->focusOrder().last()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m.kassPanels[2]->focusOrder().first());
    }

    // One failed write must not leave the view deaf to every later reload.
    void aFailedWriteReleasesTheGuard()
    {
        Desk desk;
        TfMain &m = desk.main();
        desk.station.run("CREATE TRIGGER refuse BEFORE INSERT ON DOVRA BEGIN SELECT RAISE(ABORT, 'диск полон'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, desk.openShift("401"));
        QVERIFY(!m.dovraBusy);
        desk.station.run("DROP TRIGGER refuse");
        m.FromDovraToZ(m.ComBoxOper);
        desk.verify({ViewState::Open, "401", false, 1});
    }
};

QTEST_MAIN(TestShiftLifecycle)
#include "tst_shiftlifecycle.moc"
