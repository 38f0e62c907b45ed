#include "app/mainwindow.h"
#include "db/datamodule.h"
#include "db/schemaupgrade.h"
#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ui/processexit.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QStringList workingOperators = {"Белова Светлана Андреевна", "Григорьев Павел Николаевич",
                                      "Никитина Анна Сергеевна"};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstActivationOnAFreshStation()
    {
        Station station;
        TfMain &main = *station.main;
        QCOMPARE(main.kassPanelCount, -1);
        main.FormActivate();

        QCOMPARE(main.windowTitle(), QStringLiteral("ТРЕЛЬВАНДОР СМЕННЫХ ОТЧЕТОВ (АЗС № 17)"));
        QCOMPARE(SchemaUpgrade(station.dm->ADOConAZSKAS, station.dm->adoq).schemaVersion(), 3);
        QCOMPARE(Station::items(main.ComBoxOper), workingOperators);
        QCOMPARE(Station::items(main.ComBoxOper2), workingOperators);
        QCOMPARE(main.operCount, 3);
        for (QComboBox *list : {main.ComBoxOper, main.ComBoxOper2}) {
            QCOMPARE(list->currentIndex(), -1);
            QCOMPARE(list->currentText(), TfMain::chooseOperatorText);
        }
        QCOMPARE(main.curIdDovra, 0);
        QVERIFY(main.edNSMBUKTS->text().isEmpty());
        QCOMPARE(main.edSMDate->text(), QDate::currentDate().toString("dd.MM.yyyy"));
        QCOMPARE(main.kassPanelCount, 3);
        QCOMPARE(main.kassPanelsAtBuild, 3);

        // Every register got its base Z-report row.
        Query &adoq = station.dm->adoq;
        adoq.setSql("select count(*) as n, min(narprod) as lo, max(narprod) as hi from zotchet "
                    "where idzsit = 2 and iddovra is null and sumkass = 0");
        adoq.open();
        QCOMPARE(adoq.field("n").asInteger(), 3);
        QCOMPARE(adoq.field("lo").asInteger(), 11100);
        QCOMPARE(adoq.field("hi").asInteger(), 11100);
        QCOMPARE(station.dm->adoqZposledn.recordCount(), 3);
    }

    void laterActivationsChangeNothing()
    {
        Station station;
        station.main->FormActivate();
        station.run("insert into azsoper (OperatorFIO, idOperSit) values ('Новая Ольга Игоревна', 1)");
        station.run("insert into kkm (NPROIZV, NREG, nKass, idKKMNazv, idKKMSost) values ('9', '9', 4, 1, 1)");
        station.main->FormActivate();
        QCOMPARE(Station::items(station.main->ComBoxOper), workingOperators);
        Query &adoq = station.dm->adoq;
        adoq.setSql("select count(*) as n from zotchet");
        adoq.open();
        QCOMPARE(adoq.field("n").asInteger(), 3);
    }

    void theLatestOpenShiftFillsTheHeader_data()
    {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QVariant>("operator1");
        QTest::addColumn<QVariant>("operator2");
        QTest::addColumn<QString>("shown1");
        QTest::addColumn<QString>("shown2");
        QTest::addColumn<QString>("dateButton");
        QTest::newRow("today, two working operators")
            << 0 << QVariant(2) << QVariant(3) << workingOperators.at(1) << workingOperators.at(2) << "<<";
        QTest::newRow("yesterday, no second operator")
            << 1 << QVariant(1) << QVariant() << workingOperators.at(0) << TfMain::chooseOperatorText << ">>";
        QTest::newRow("a dismissed operator and an unknown key")
            << 0 << QVariant(4) << QVariant(99) << "Ершов Дмитрий Олегович" << "Оператор №99" << "<<";
    }
    void theLatestOpenShiftFillsTheHeader()
    {
        QFETCH(int, daysAgo);
        QFETCH(QVariant, operator1);
        QFETCH(QVariant, operator2);
        QFETCH(QString, shown1);
        QFETCH(QString, shown2);
        QFETCH(QString, dateButton);
        Station station;
        const QString insert = "insert into dovra (DovraDate, DovraNBUKTS, idOperator, idOperator2, smLocked) "
                               "values (:d, :n, :o1, :o2, :locked)";
        station.run(insert, {{"d", QDate::currentDate().addDays(-5)}, {"n", "1040"}, {"o1", 1}, {"locked", true}});
        station.run(insert, {{"d", QDate::currentDate().addDays(-daysAgo)}, {"n", "1041"},
                             {"o1", operator1}, {"o2", operator2}, {"locked", false}});
        station.main->FormActivate();
        TfMain &main = *station.main;
        QCOMPARE(main.curIdDovra, 2);
        QCOMPARE(main.edNSMBUKTS->text(), QStringLiteral("1041"));
        QCOMPARE(main.edSMDate->text(), QDate::currentDate().addDays(-daysAgo).toString("dd.MM.yyyy"));
        QCOMPARE(main.btnSMDate->text(), dateButton);
        QCOMPARE(main.ComBoxOper->currentText(), shown1);
        QCOMPARE(main.ComBoxOper2->currentText(), shown2);
        QCOMPARE(station.dm->tabDOVRA.recNo(), 1);
    }

    void aLockedLatestShiftLeavesTheHeaderForANewOne()
    {
        Station station;
        station.run("insert into dovra (DovraDate, DovraNBUKTS, idOperator, smLocked) "
                    "values ('2026-12-01 00:00:00', '77', 1, 1)");
        station.main->FormActivate();
        QCOMPARE(station.main->curIdDovra, 0);
        QVERIFY(station.main->edNSMBUKTS->text().isEmpty());
        QCOMPARE(station.main->ComBoxOper->currentText(), TfMain::chooseOperatorText);
    }

    void atMostAHundredOperatorsAreListed()
    {
        Station station;
        for (int i = 0; i < 100; ++i)
            station.run("insert into azsoper (OperatorFIO, idOperSit) values (:n, 1)",
                        {{"n", QStringLiteral("Оператор%1 Имя Отчество").arg(i)}});
        station.main->FormActivate();
        QCOMPARE(station.main->operCount, 100);
        QCOMPARE(station.main->ComBoxOper->count(), 100);
        QCOMPARE(station.main->ComBoxOper2->count(), 100);
    }

    void aFailedStartIsTriedAgainAtTheNextActivation()
    {
        Station station{QString()}; // no connection string: "NO"
        QVERIFY_THROWS_EXCEPTION(DbError, station.main->FormActivate());
        QCOMPARE(station.main->kassPanelCount, -1);
        station.ini.writeString("DB", "connstr", "Provider=SQLite;Data Source=$(FILENAME);");
        station.main->FormActivate();
        QCOMPARE(station.main->kassPanelCount, 3);
    }

    void enterMovesAlongTheHeader()
    {
        Station station;
        TfMain &main = *station.main;
        main.FormActivate();
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.edNSMBUKTS->setFocus();
        QTest::keyClick(main.edNSMBUKTS, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), main.ComBoxOper);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), main.ComBoxOper2);
        main.edNSMBUKTS->setFocus();
        QTest::keyClick(main.edNSMBUKTS, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), main.ComBoxOper);
    }

    void theDocumentBarHasElevenButtons()
    {
        Station station;
        const QList<QPushButton *> buttons = station.main->pnCallDocuments->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 11);
        QCOMPARE(buttons.first()->text(), QStringLiteral("КМ6 СПР.ОТЧЕТ"));
        QCOMPARE(buttons.last()->text(), QStringLiteral("ВНОС/ВЫНОС(ОБЩ)"));
        for (const QPushButton *button : buttons) {
            QCOMPARE(button->size(), QSize(115, 25));
            const QString document = button->property("document").toString();
            QVERIFY(!document.isEmpty());
            QCOMPARE(button->isEnabled(), findDocument(document) != nullptr);
        }
    }

    // The help menu offers the two sheets after the About window; each opens a one-page preview.
    void theHelpMenuPreviewsTheSheets()
    {
        Station station;
        station.main->FormActivate();
        QMenu *help = nullptr;
        for (QAction *action : station.main->menuBar()->actions()) {
            if (action->text() == QStringLiteral("ПОМОЩЬ"))
                help = action->menu();
        }
        QVERIFY(help);
        QStringList texts;
        for (const QAction *action : help->actions())
            texts << action->text();
        QCOMPARE(texts, (QStringList{"О ПРОГРАММЕ", "ПОРЯДОК ОТЧЕТА", "ИНСТРУКЦИЯ"}));

        for (QAction *sheet : help->actions().mid(1)) {
            int pageCount = 0;
            QTimer poll;
            poll.setInterval(20);
            connect(&poll, &QTimer::timeout, this, [&] {
                auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                pageCount = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
                dialog->reject();
            });
            poll.start();
            sheet->trigger();
            QCOMPARE(pageCount, 1);
        }
    }

    // "ВЫХОД" ends at once with code 0, and closing the window ends normally: either way a
    // figure still being typed is stored first.
    void theEndKeepsTheFigureBeingTyped_data()
    {
        QTest::addColumn<bool>("byExit");
        QTest::newRow("ВЫХОД") << true;
        QTest::newRow("window closed") << false;
    }
    void theEndKeepsTheFigureBeingTyped()
    {
        QFETCH(bool, byExit);
        Station station;
        TfMain &main = *station.main;
        main.FormActivate();
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.edNSMBUKTS->setText("9001");
        main.ComBoxOper->setCurrentIndex(0);
        main.FromDovraToZ(main.ComBoxOper);
        QLineEdit *sales = main.kassPanels[1]->edit("NalProd");
        sales->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(sales, "123");

        int code = -1;
        if (byExit) {
            QAction *exit = nullptr;
            for (QAction *menu : main.menuBar()->actions())
                if (menu->text() == QStringLiteral("РЕКВИЗИТЫ"))
                    for (QAction *item : menu->menu()->actions())
                        if (item->text() == QStringLiteral("ВЫХОД"))
                            exit = item;
            QVERIFY(exit);
            const HaltHandler previous = setHaltHandler([](int exitCode) { throw HaltRequested{exitCode}; });
            // Emitted rather than triggered: the halt's exception must not unwind through
            // QAction's own code, which is not exception-safe.
            try {
                emit exit->triggered();
            } catch (const HaltRequested &halt) {
                code = halt.exitCode;
            }
            setHaltHandler(previous);
            QCOMPARE(code, 0);
        } else {
            QVERIFY(main.close());
        }
        QCOMPARE(station.scalar("select NalProd from zotchet where idz = :idz",
                                {{"idz", main.kassPanels[1]->getIdZ()}}).asMoney(),
                 Money::fromDouble(123));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
