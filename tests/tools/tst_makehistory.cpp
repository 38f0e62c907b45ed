#include "historywriter.h"
#include "app/backup.h"
#include "support/station.h"

#include "platform/data/errors.h"

#include <QPushButton>
#include <QTest>

// A written history must be one the program itself could have left: every figure passing the
// panel's checks against the register's previous Z-report, every shift's bags balancing its
// encashment, refund receipts adding up to the refunds, and the open last shift complete.
class TestMakeHistory : public QObject
{
    Q_OBJECT

private slots:
    void historyPassesTheProgramsChecks();
    void refusesAFileWithShifts();
};

namespace {

qint64 count(Station &station, const QString &sql)
{
    return station.scalar(sql).asInteger();
}

} // namespace

void TestMakeHistory::historyPassesTheProgramsChecks()
{
    Station station;
    station.main->FormActivate(); // brings the file to the current schema
    HistoryOptions options;
    options.years = 1;
    options.registers = 5;
    options.lastShift = QDate(2025, 6, 30);
    const HistorySummary summary = writeHistory(station.path, options);

    QCOMPARE(summary.shifts, 365);
    QCOMPARE(summary.zReports, 365 * 5);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM KKM WHERE idKKMSost = 1"), 5);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM DOVRA WHERE smLocked = 0"), 1);
    QCOMPARE(count(station, "SELECT MAX(idDOVRA) FROM DOVRA WHERE smLocked = 0"),
             count(station, "SELECT MAX(idDOVRA) FROM DOVRA"));

    // Each Z-report against the register's row before it.
    const QString previous = QStringLiteral(
        "FROM ZOTCHET z INNER JOIN ZOTCHET p ON p.idZ = "
        "(SELECT MAX(q.idZ) FROM ZOTCHET q WHERE q.idKKM = z.idKKM AND q.idZ < z.idZ) "
        "WHERE z.idZSit = 1");
    QCOMPARE(count(station, "SELECT COUNT(*) " + previous), 365 * 5);
    QCOMPARE(count(station, "SELECT COUNT(*) " + previous
                                + " AND p.NarPROD + z.NalProd + z.KredProd <> z.NarPROD"), 0);
    QCOMPARE(count(station, "SELECT COUNT(*) " + previous
                                + " AND p.SumKass + z.NalProd - z.NalVozvrat + z.VNOS - z.VINOS"
                                  " - z.INKASS <> z.SumKass"), 0);
    QCOMPARE(count(station, "SELECT COUNT(*) " + previous + " AND z.NZ <> IFNULL(p.NZ, 0) + 1"), 0);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM ZOTCHET WHERE SumKass < 0"), 0);

    QCOMPARE(count(station, "SELECT COUNT(*) FROM DOVRA d WHERE "
                            "(SELECT IFNULL(SUM(b.SUMMA), 0) FROM InkassKvit b INNER JOIN Inkass i "
                            " ON i.idInkass = b.idInkass WHERE i.idDOVRA = d.idDOVRA) <> "
                            "(SELECT SUM(z.INKASS) - IFNULL(SUM(k.korrInkass), 0) FROM ZOTCHET z "
                            " LEFT JOIN zkorr k ON k.idZ = z.idZ WHERE z.idDOVRA = d.idDOVRA)"), 0);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM ZOTCHET z WHERE z.idZSit = 1 AND "
                            "(SELECT IFNULL(SUM(SVCheka), 0) FROM VOZVRAT v WHERE v.idz = z.idZ "
                            " AND v.nalbnal = 0) <> z.NalVozvrat"), 0);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM ZOTCHET z WHERE z.idZSit = 1 AND "
                            "(SELECT IFNULL(SUM(SVCheka), 0) FROM VOZVRAT v WHERE v.idz = z.idZ "
                            " AND v.nalbnal = 1) <> z.KredStorno"), 0);
    QVERIFY(summary.acts > 0 && summary.refunds > 0);
    QCOMPARE(count(station, "SELECT COUNT(*) FROM zkorr"), summary.acts);

    // The program opens on the open last shift with all five panels passing their checks.
    Station reopened;
    QVERIFY(copyFileToDir(station.path, reopened.dir.path()));
    reopened.main->FormActivate();
    QCOMPARE(reopened.main->kassPanelCount, 5);
    QVERIFY(reopened.main->btnDataAccept->isEnabled());
}

void TestMakeHistory::refusesAFileWithShifts()
{
    Station station;
    station.main->FormActivate();
    HistoryOptions options;
    options.years = 1;
    options.registers = 2;
    writeHistory(station.path, options);
    const qint64 shifts = count(station, "SELECT COUNT(*) FROM DOVRA");
    QVERIFY_THROWS_EXCEPTION(AppError, writeHistory(station.path, options));
    QCOMPARE(count(station, "SELECT COUNT(*) FROM DOVRA"), shifts);
}

QTEST_MAIN(TestMakeHistory)
#include "tst_makehistory.moc"
