#include "refunddesk.h"

#include "refunds/refundqueries.h"

#include "platform/data/errors.h"

#include <QTest>

class TestRefundQueries : public QObject
{
    Q_OBJECT

private slots:
    void loadTakesTheKindsReceiptsInStoredOrder();
    void writeBackKeepsVozvratEqualToTheScratchRows();
    void aFailedWriteBackChangesNothing();
};

void TestRefundQueries::loadTakesTheKindsReceiptsInStoredOrder()
{
    RefundDesk desk(150, 70);
    const qint32 otherZ = desk.fixture.addZReport(desk.idDovra, 2, {});
    desk.addStored(desk.idZ, true, QStringLiteral("12"), 100);
    desk.addStored(desk.idZ, false, QStringLiteral("card"), 70);
    desk.addStored(otherZ, true, QStringLiteral("other"), 5);
    desk.addStored(desk.idZ, true, QStringLiteral("7"), 50);
    desk.addScratch(QStringLiteral("left over"), 1);

    loadXVozvrat(desk.dm(), desk.idZ, true);
    QCOMPARE(desk.scratch(), (QStringList{"1|12|100.00", "2|7|50.00"}));
    QCOMPARE(xVozvratSum(desk.dm()), Money::fromDouble(150));
    QCOMPARE(storedVozvratSum(desk.dm(), desk.idZ, false), Money::fromDouble(70));
    const QList<RefundReceipt> receipts = storedReceipts(desk.dm(), desk.idZ, true);
    QCOMPARE(receipts.size(), 2);
    QCOMPARE(receipts.at(1).line, 2);
    QCOMPARE(receipts.at(1).number, QStringLiteral("7"));
    QCOMPARE(receipts.at(1).sum.value<Money>(), Money::fromDouble(50));

    loadXVozvrat(desk.dm(), 0, true);
    QVERIFY(desk.scratch().isEmpty());
    QCOMPARE(xVozvratSum(desk.dm()), Money());
}

// Edits of every kind, written back again and again: the stored receipts always equal the
// scratch rows that are not blank, and nothing of another Z-report or kind changes.
void TestRefundQueries::writeBackKeepsVozvratEqualToTheScratchRows()
{
    RefundDesk desk(150, 70);
    const qint32 otherZ = desk.fixture.addZReport(desk.idDovra, 2, {});
    desk.addStored(desk.idZ, true, QStringLiteral("A"), 10);
    desk.addStored(desk.idZ, true, QStringLiteral("B"), 20);
    desk.addStored(desk.idZ, true, QStringLiteral("C"), 30);
    desk.addStored(desk.idZ, false, QStringLiteral("card"), 70);
    desk.addStored(otherZ, true, QStringLiteral("other"), 5);
    loadXVozvrat(desk.dm(), desk.idZ, true);
    const QStringList untouched = desk.stored(desk.idZ, false) + desk.stored(otherZ, true);

    desk.run(QStringLiteral("UPDATE xVozvrat SET NVCheka = 'A2', SVCheka = 110000 WHERE NVCheka = 'A'"));
    desk.run(QStringLiteral("DELETE FROM xVozvrat WHERE NVCheka = 'B'"));
    appendXVozvrat(desk.dm(), QStringLiteral("D"), QVariant::fromValue(Money::fromDouble(40)));
    appendXVozvrat(desk.dm(), QStringLiteral("E"), {});
    desk.addScratch(QString(), 0);
    desk.run(QStringLiteral("UPDATE xVozvrat SET NVCheka = NULL, SVCheka = NULL WHERE NStroki = 9"));
    // A row that claims another Z-report's receipt leaves that receipt alone.
    const qint32 otherKey = desk.fixture.station
                                .scalar(QStringLiteral("SELECT idVozvrat FROM VOZVRAT WHERE NVCheka = 'other'"))
                                .asInteger();
    desk.addScratch(QStringLiteral("stolen"), 99, otherKey);

    const QStringList expected{"A2|11.00", "C|30.00", "D|40.00", "E|"};
    for (int writeBack = 1; writeBack <= 3; ++writeBack) {
        storeXVozvrat(desk.dm(), desk.idZ, true);
        QStringList stored = desk.stored(true);
        stored.sort();
        QCOMPARE(stored, expected);
        QCOMPARE(desk.stored(desk.idZ, false) + desk.stored(otherZ, true), untouched);
    }
}

void TestRefundQueries::aFailedWriteBackChangesNothing()
{
    RefundDesk desk(30, 0);
    desk.addStored(desk.idZ, true, QStringLiteral("A"), 10);
    desk.addStored(desk.idZ, true, QStringLiteral("B"), 20);
    loadXVozvrat(desk.dm(), desk.idZ, true);
    desk.run(QStringLiteral("DELETE FROM xVozvrat WHERE NVCheka = 'A'"));
    appendXVozvrat(desk.dm(), QStringLiteral("C"), QVariant::fromValue(Money::fromDouble(1)));
    const QStringList scratch = desk.scratch();
    desk.run(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON VOZVRAT "
                            "BEGIN SELECT RAISE(ABORT, 'диск недоступен'); END"));

    QVERIFY_THROWS_EXCEPTION(DbError, storeXVozvrat(desk.dm(), desk.idZ, true));
    QCOMPARE(desk.stored(true), (QStringList{"A|10.00", "B|20.00"}));
    QCOMPARE(desk.scratch(), scratch);
}

QTEST_MAIN(TestRefundQueries)
#include "tst_refundqueries.moc"
