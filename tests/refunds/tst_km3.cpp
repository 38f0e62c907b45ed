#include "refunddesk.h"
#include "support/hostiletexts.h"

#include "refunds/km3.h"
#include "zreport/loadedshift.h"

#include "platform/ui/datagrid.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QColor green(32, 192, 32);
const QColor enteredCash(192, 32, 32);
const QColor storedCash(210, 128, 128);

// Shows the window for the desk's first register, active, as the operator sees it.
bool open(TfKM3 &window, RefundDesk &desk)
{
    window.setContext(desk.context());
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// Keys as the operator types them, to whatever has the focus: "\n" is Enter.
void type(const QString &keys)
{
    for (const QChar key : keys) {
        QWidget *target = QApplication::focusWidget();
        if (key == u'\n')
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::keyClick(target, key.toLatin1());
    }
}

void press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

// A receipt typed from the number cell: number, Enter, sum, Enter.
void enter(const QString &number, const QString &sum)
{
    type(number + u'\n' + sum + u'\n');
}

QString cell(const TfKM3 &window, int row, int column)
{
    return window.dbgXVozvrat->model()->index(row, column).data().toString();
}

int rows(const TfKM3 &window)
{
    return window.dbgXVozvrat->model()->rowCount();
}

QColor colour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// Runs action on the first modal window of type W to show up while wait() runs.
template<class W>
class WhenShown
{
public:
    WhenShown(std::function<void(W *)> action)
    {
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, [this, action] {
            auto *window = qobject_cast<W *>(QApplication::activeModalWidget());
            if (!window || !window->isVisible())
                return;
            m_poll.stop();
            ++shown;
            action(window);
        });
        m_poll.start();
    }

    int shown = 0;

private:
    QTimer m_poll;
};

} // namespace

class TestKM3 : public QObject
{
    Q_OBJECT

private slots:
    void statusLinesCompareTheReceiptsWithTheTotal_data();
    void statusLinesCompareTheReceiptsWithTheTotal();
    void cardOnlyOpensInCardModeAndStoresNothing();
    void withoutRefundsTheWindowClosesItself();
    void sumsShowGroupedAndAreEditedPlain();
    void receiptsWithoutNumberAreNumbered();
    void blankRowsAreNeverStored();
    void deletingTheSecondOfThreeRenumbers();
    void switchingKindsStoresTheKindLeft();
    void showThenPrintStoresEachReceiptOnce();
    void aFailedWriteBackOnClosingIsShownAndKept();
    void aPastedNumberIsStoredAsTheEditorKeepsIt_data();
    void aPastedNumberIsStoredAsTheEditorKeepsIt();
    void printKM3PrintsTheKindsOfAnAcceptedWindow_data();
    void printKM3PrintsTheKindsOfAnAcceptedWindow();
    void barAndPanelOpenTheWindowForTheCurrentRegister_data();
    void barAndPanelOpenTheWindowForTheCurrentRegister();
};

void TestKM3::statusLinesCompareTheReceiptsWithTheTotal_data()
{
    QTest::addColumn<QStringList>("sums");
    QTest::addColumn<QString>("line");
    QTest::newRow("all entered") << QStringList{"100.00", "50"} << QStringLiteral("V");
    QTest::newRow("one missing") << QStringList{"100,00"} << amount("не введено 50.00 руб");
    QTest::newRow("one too many") << QStringList{"100", "50.00", "10"}
                                  << amount("введено лишних 10.00 руб");
}

// Cash total 150,00; the receipts typed are stored and the cash line tells the difference.
void TestKM3::statusLinesCompareTheReceiptsWithTheTotal()
{
    QFETCH(QStringList, sums);
    QFETCH(QString, line);
    RefundDesk desk(150, 0);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    QVERIFY(window.nalMode);
    QCOMPARE(window.lblDeltaN->text(), amount("не введено 150.00 руб"));

    for (int i = 0; i < sums.size(); ++i)
        enter(QString::number(101 + i), sums.at(i));
    QCOMPARE(window.lblDeltaN->text(), line);
    QCOMPARE(colour(window.lblDeltaN), line == QLatin1String("V") ? green : enteredCash);
    QVERIFY(window.lblDeltaN->font().bold() && window.lblDeltaLN->font().bold());
    // The card line is the other kind, as stored: nothing to enter, in normal type.
    QCOMPARE(window.lblDeltaBN->text(), QStringLiteral("V"));
    QVERIFY(!window.lblDeltaBN->font().bold() && !window.lblDeltaLBN->font().bold());

    window.reject();
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(desk.stored(true).size(), sums.size());
    QCOMPARE(desk.stored(true), desk.texts(QStringLiteral(
                                    "SELECT NVCheka, SVCheka FROM xVozvrat ORDER BY NStroki")));
    QCOMPARE(cell(window, 0, 0), QStringLiteral("101"));
}

// A register with card refunds only: card mode, no choice, and the scratch rows another
// register left behind are not stored by opening.
void TestKM3::cardOnlyOpensInCardModeAndStoresNothing()
{
    RefundDesk desk(0, 70);
    desk.addStored(desk.idZ, false, QStringLiteral("2001"), 70);
    desk.addScratch(QStringLiteral("left over"), 12);
    const QStringList before = desk.allStored();

    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    QVERIFY(!window.nalMode);
    QVERIFY(window.rbBNal->isChecked() && !window.rbNal->isChecked());
    QVERIFY(!window.rgNalBNal->isEnabled());
    QCOMPARE(rows(window), 1);
    QCOMPARE(cell(window, 0, 0), QStringLiteral("2001"));
    QCOMPARE(window.lblDeltaBN->text(), QStringLiteral("V"));
    QVERIFY(window.lblDeltaBN->font().bold());
    QCOMPARE(window.lblDeltaN->text(), QStringLiteral("V"));
    QVERIFY(!window.lblDeltaN->font().bold());
    QCOMPARE(desk.allStored(), before);

    window.reject();
    QCOMPARE(desk.allStored(), before);
}

void TestKM3::withoutRefundsTheWindowClosesItself()
{
    RefundDesk desk(0, 0);
    desk.addScratch(QStringLiteral("left over"), 12);
    const QStringList before = desk.allStored();
    TfKM3 window(&desk.dm());
    window.setContext(desk.context());

    QCOMPARE(window.exec(), int(QDialog::Accepted));
    QCOMPARE(desk.messages.texts(), QStringList{"На этой кассе не было возвратов"});
    QVERIFY(!window.isVisible());
    QCOMPARE(window.idZ, 0);
    QVERIFY(desk.scratch().isEmpty());
    QCOMPARE(desk.allStored(), before);
}

// "," and "." both type the decimal mark, letters and a tenth digit before it do not go in; the
// grid shows the sum grouped and edits it plain.
void TestKM3::sumsShowGroupedAndAreEditedPlain()
{
    RefundDesk desk(1234567890, 0);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    enter(QStringLiteral("1"), QStringLiteral("1234a,5"));
    enter(QStringLiteral("2"), QStringLiteral("1234567890.129"));
    const QAbstractItemModel *model = window.dbgXVozvrat->model();
    QCOMPARE(cell(window, 0, 1), amount("1 234.50"));
    QCOMPARE(model->index(0, 1).data(Qt::EditRole).toString(), amount("1234.50"));
    QCOMPARE(cell(window, 1, 1), amount("123 456 789.12"));
    QCOMPARE(desk.scratch(), (QStringList{"1|1|1234.50", "2|2|123456789.12"}));
}

// Enter in the sum of a row without number gives it "#" and the counter and goes back to its
// number; a row left another way gets "##" and the counter.
void TestKM3::receiptsWithoutNumberAreNumbered()
{
    RefundDesk desk(100, 0);
    desk.addStored(desk.idZ, true, QStringLiteral("1"), 10);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    QCOMPARE(window.autoNum, 2);

    type(QStringLiteral("\n\n")); // through the stored row to a new one after it
    QCOMPARE(window.dbgXVozvrat->currentIndex(), window.dbgXVozvrat->model()->index(1, 0));
    type(QStringLiteral("\n30\n"));
    QCOMPARE(cell(window, 1, 0), QStringLiteral("#2"));
    QCOMPARE(window.dbgXVozvrat->currentIndex(), window.dbgXVozvrat->model()->index(1, 0));
    type(QStringLiteral("555\n\n"));
    QCOMPARE(cell(window, 1, 0), QStringLiteral("555"));
    QCOMPARE(window.dbgXVozvrat->currentIndex(), window.dbgXVozvrat->model()->index(2, 0));

    press(Qt::Key_Right);
    type(QStringLiteral("20"));
    press(Qt::Key_Up);
    QCOMPARE(cell(window, 2, 0), QStringLiteral("##3"));
    QCOMPARE(desk.scratch(), (QStringList{"1|1|10.00", "2|555|30.00", "3|##3|20.00"}));
    QCOMPARE(window.lblDeltaN->text(), amount("не введено 40.00 руб"));
}

// A row appended by Enter and left empty goes from the grid and never reaches the receipts,
// nor does a stored receipt whose number and sum were both cleared.
void TestKM3::blankRowsAreNeverStored()
{
    RefundDesk desk(30, 0);
    desk.addStored(desk.idZ, true, QStringLiteral("1"), 10);
    desk.addStored(desk.idZ, true, QStringLiteral("2"), 20);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));

    press(Qt::Key_Down);
    press(Qt::Key_Right);
    type(QStringLiteral("\n")); // the sum of the last row: a new row after it
    QCOMPARE(rows(window), 3);
    press(Qt::Key_Up);
    QTRY_COMPARE(rows(window), 2);

    // The first receipt cleared, sum first (a sum without number would be numbered).
    press(Qt::Key_Up);
    press(Qt::Key_Right);
    type(QStringLiteral("1"));
    press(Qt::Key_Backspace);
    type(QStringLiteral("\n"));
    QVERIFY(cell(window, 0, 1).isEmpty());
    press(Qt::Key_Up);
    type(QStringLiteral("x"));
    press(Qt::Key_Backspace);
    type(QStringLiteral("\n"));
    QVERIFY(cell(window, 0, 0).isEmpty());
    QCOMPARE(rows(window), 2);
    press(Qt::Key_Down);
    QTRY_COMPARE(rows(window), 1);
    QCOMPARE(desk.scratch(), QStringList{"1|2|20.00"});

    window.reject();
    QCOMPARE(desk.stored(true), QStringList{"2|20.00"});
}

void TestKM3::deletingTheSecondOfThreeRenumbers()
{
    RefundDesk desk(60, 0);
    desk.addStored(desk.idZ, true, QStringLiteral("A"), 10);
    desk.addStored(desk.idZ, true, QStringLiteral("B"), 20);
    desk.addStored(desk.idZ, true, QStringLiteral("C"), 30);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));

    press(Qt::Key_Down);
    QTest::mouseClick(window.btnDelRow, Qt::LeftButton);
    QCOMPARE(desk.scratch(), (QStringList{"1|A|10.00", "2|C|30.00"}));
    QCOMPARE(rows(window), 2);
    QCOMPARE(cell(window, 1, 0), QStringLiteral("C"));
    QCOMPARE(window.lblDeltaN->text(), amount("не введено 20.00 руб"));
    QCOMPARE(desk.stored(true).size(), 3); // until the next write-back

    window.reject();
    QCOMPARE(desk.stored(true), (QStringList{"A|10.00", "C|30.00"}));
}

void TestKM3::switchingKindsStoresTheKindLeft()
{
    RefundDesk desk(50, 70);
    desk.addStored(desk.idZ, false, QStringLiteral("2001"), 70);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    QVERIFY(window.nalMode && window.rgNalBNal->isEnabled());
    enter(QStringLiteral("1001"), QStringLiteral("50"));

    QTest::mouseClick(window.rbBNal, Qt::LeftButton);
    QVERIFY(!window.nalMode);
    QCOMPARE(desk.stored(true), QStringList{"1001|50.00"});
    QCOMPARE(cell(window, 0, 0), QStringLiteral("2001"));
    QCOMPARE(rows(window), 1);
    QCOMPARE(window.lblDeltaN->text(), QStringLiteral("V"));
    QVERIFY(!window.lblDeltaN->font().bold());
    QVERIFY(window.lblDeltaBN->font().bold());
    press(Qt::Key_Right);
    type(QStringLiteral("75\n"));
    QCOMPARE(window.lblDeltaBN->text(), amount("введено лишних 5.00 руб"));
    QCOMPARE(window.lblDeltaN->text(), QStringLiteral("V"));

    QTest::mouseClick(window.rbNal, Qt::LeftButton);
    QVERIFY(window.nalMode);
    QCOMPARE(desk.stored(false), QStringList{"2001|75.00"});
    QCOMPARE(cell(window, 0, 0), QStringLiteral("1001"));
    QCOMPARE(window.lblDeltaBN->text(), amount("введено лишних 5.00 руб"));
    QVERIFY(!window.lblDeltaBN->font().bold());
    QCOMPARE(window.lblDeltaN->text(), QStringLiteral("V"));
}

void TestKM3::showThenPrintStoresEachReceiptOnce()
{
    RefundDesk desk(150, 0);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    enter(QStringLiteral("11"), QStringLiteral("100"));
    enter(QStringLiteral("12"), QStringLiteral("50"));

    int pages = 0;
    WhenShown<QPrintPreviewDialog> preview([&](QPrintPreviewDialog *dialog) {
        pages = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
        dialog->reject();
    });
    QTest::mouseClick(window.btnKM3_Show, Qt::LeftButton);
    QCOMPARE(preview.shown, 1);
    QCOMPARE(pages, 1);
    QVERIFY(window.isVisible());
    QCOMPARE(desk.stored(true), (QStringList{"11|100.00", "12|50.00"}));

    QTest::mouseClick(window.btnKM3_Print, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(desk.stored(true), (QStringList{"11|100.00", "12|50.00"}));
}

// The write-back on closing fails: the operator sees why, the window closes anyway without
// the OK result, and the receipts typed wait in the scratch rows for the next opening.
void TestKM3::aFailedWriteBackOnClosingIsShownAndKept()
{
    RefundDesk desk(30, 0);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    enter(QStringLiteral("7"), QStringLiteral("30"));
    desk.run(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON VOZVRAT "
                            "BEGIN SELECT RAISE(ABORT, 'диск недоступен'); END"));

    window.reject();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(desk.messages.messages().size(), 1);
    QCOMPARE(desk.messages.messages().first().first, MessageKind::Error);
    QVERIFY(desk.messages.texts().first().contains(QStringLiteral("диск недоступен")));
    QVERIFY(desk.stored(true).isEmpty());
    QCOMPARE(desk.scratch(), QStringList{"1|7|30.00"});

    desk.run(QStringLiteral("DROP TRIGGER refuse"));
    QVERIFY(open(window, desk));
    QCOMPARE(desk.stored(true), QStringList{"7|30.00"});
    QCOMPARE(cell(window, 0, 0), QStringLiteral("7"));
    QCOMPARE(window.lblDeltaN->text(), QStringLiteral("V"));
    QCOMPARE(desk.messages.messages().size(), 1);
}

void TestKM3::aPastedNumberIsStoredAsTheEditorKeepsIt_data()
{
    addHostileTextRows();
}

// A number pasted over a stored receipt's is stored as the editor keeps it, without blanks
// around it; nothing else in the file changes, and the documents still prepare with it.
void TestKM3::aPastedNumberIsStoredAsTheEditorKeepsIt()
{
    QFETCH(QString, text);
    RefundDesk desk(100, 0);
    desk.addStored(desk.idZ, true, QStringLiteral("1"), 40);
    TfKM3 window(&desk.dm());
    QVERIFY(open(window, desk));
    const QString before = schemaAndCounts(desk.dm().ADOConAZSKAS);

    QCOMPARE(window.dbgXVozvrat->currentIndex(), window.dbgXVozvrat->model()->index(0, 0));
    window.dbgXVozvrat->edit(window.dbgXVozvrat->currentIndex());
    auto *editor = window.findChild<QLineEdit *>(QStringLiteral("numberEditor"));
    QVERIFY(editor);
    pasteInto(editor, text);
    const QString number = keptText(text, editor->maxLength()).trimmed();
    QCOMPARE(editor->text().trimmed(), number);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(cell(window, 0, 0), number);
    QCOMPARE(schemaAndCounts(desk.dm().ADOConAZSKAS), before);

    window.reject();
    QCOMPARE(desk.stored(true), QStringList{number + QStringLiteral("|40.00")});
    QCOMPARE(desk.messages.messages().size(), 0);
    QCOMPARE(documentFailures(desk.fixture, desk.idDovra, 1), QString());
}

void TestKM3::printKM3PrintsTheKindsOfAnAcceptedWindow_data()
{
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("kinds");
    const QString cashKind = QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (НАЛ.РАСЧЕТ)");
    const QString cardKind = QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (Б/НАЛ.РАСЧЕТ)");
    QTest::newRow("both kinds") << 150.5 << 70.0 << true << QStringList{cashKind, cardKind};
    QTest::newRow("card only") << 0.0 << 70.0 << true << QStringList{cardKind};
    QTest::newRow("cancelled") << 150.5 << 70.0 << false << QStringList();
}

void TestKM3::printKM3PrintsTheKindsOfAnAcceptedWindow()
{
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(bool, accept);
    QFETCH(QStringList, kinds);
    RefundDesk desk(cash, card);
    desk.addStored(desk.idZ, false, QStringLiteral("2001"), 70);
    if (cash > 0) {
        desk.addStored(desk.idZ, true, QStringLiteral("1"), 120);
        desk.addStored(desk.idZ, true, QStringLiteral("2"), 30.5);
    }
    TfKM3 window(&desk.dm());
    WhenShown<TfKM3> operatorAction([accept](TfKM3 *shown) {
        if (accept)
            QTest::mouseClick(shown->btnKM3_Print, Qt::LeftButton);
        else
            shown->reject();
    });
    DocumentContext context = desk.context();

    const QList<ReportLayout> acts = printKM3(window, context);
    QCOMPARE(operatorAction.shown, 1);
    QCOMPARE(acts.size(), kinds.size());
    for (int i = 0; i < acts.size(); ++i)
        QVERIFY(pageTexts(prepareReport(acts.at(i))).contains(kinds.at(i)));
    if (kinds.size() == 2) {
        const QString cashAct = pageTexts(prepareReport(acts.first()));
        QVERIFY(cashAct.contains(amount("      150.50   ")) && !cashAct.contains(QStringLiteral("2001")));
        QVERIFY(pageTexts(prepareReport(acts.last())).contains(QStringLiteral("2001")));
    }
}

void TestKM3::barAndPanelOpenTheWindowForTheCurrentRegister_data()
{
    QTest::addColumn<bool>("fromPanel");
    QTest::newRow("bar") << false;
    QTest::newRow("panel") << true;
}

void TestKM3::barAndPanelOpenTheWindowForTheCurrentRegister()
{
    QFETCH(bool, fromPanel);
    LoadedShift shift;
    shift.fill("NalVozvrat", QStringLiteral("30.00"));
    QPushButton *button = nullptr;
    if (fromPanel) {
        shift.panel->enablePrintButtons(true);
        button = shift.panel->printButtons().last();
    } else {
        for (auto *barButton : shift.station.main->pnCallDocuments->findChildren<QPushButton *>()) {
            if (barButton->text() == QStringLiteral("KM3 АКТ ВОЗВР."))
                button = barButton;
        }
    }
    QVERIFY(button && button->isEnabled());

    qint32 idZ = -1;
    double nalVozvrat = 0;
    WhenShown<TfKM3> look([&](TfKM3 *window) {
        idZ = window->idZ;
        nalVozvrat = window->NalVozvrat;
        window->reject();
    });
    button->click();
    QCOMPARE(look.shown, 1);
    QCOMPARE(idZ, shift.panel->getIdZ());
    QCOMPARE(nalVozvrat, 30.0);
}

QTEST_MAIN(TestKM3)
#include "tst_km3.moc"
