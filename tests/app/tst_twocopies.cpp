// Two copies of the program on one database file: both work, each sees the other's figures, and
// a store that meets the other's write lock waits for it, or says so and keeps the figure.
#include "deskprocess.h"

#include "support/desktyping.h"
#include "support/station.h"
#include "support/writelock.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace {

// The demo station's window on the desk in this process, with an open shift.
class Desk
{
public:
    Desk()
        : typing(*station.main)
    {
    }

    bool open()
    {
        if (!typing.showActive())
            return false;
        typing.openShift(QStringLiteral("101"));
        return station.main->curIdDovra > 0;
    }

    Field stored(const QString &column)
    {
        return station.scalar(QStringLiteral("select %1 from zotchet where idz = :idz").arg(column),
                              {{QStringLiteral("idz"), station.main->kassPanels[1]->getIdZ()}});
    }

    MessageRecorder messages;
    Station station;
    DeskTyping typing;
};

} // namespace

class TestTwoCopies : public QObject
{
    Q_OBJECT

private slots:
    // Figures typed by turns into two copies, into the same register's Z-report and into another
    // one, and a bag each: neither store undoes the other's, and after a reload each copy shows
    // what the other stored.
    void twoCopiesWorkSideBySide()
    {
        QTemporaryDir dir;
        const QString path = makeStationFolder(dir.path());
        DeskProcess first;
        first.start(QStringLiteral("serve"), dir.path());
        QCOMPARE(first.readLine(), QStringLiteral("STARTED 0 3"));
        const QString shift = first.command(QStringLiteral("open 101"));
        QVERIFY2(shift.startsWith(QStringLiteral("OK ")), qPrintable(shift));
        DeskProcess second;
        second.start(QStringLiteral("serve"), dir.path());
        QCOMPARE(second.readLine(), QStringLiteral("STARTED %1 3").arg(shift.mid(3)));

        struct Entry
        {
            DeskProcess *copy;
            QString command;
        };
        const QList<Entry> turns = {{&first, "z 1 NalProd 5000.50"}, {&second, "z 1 KredProd 2000.00"},
                                    {&first, "z 1 VNOS 100.00"},     {&second, "z 2 NalProd 300.25"},
                                    {&first, "z 2 INKASS 40.00"},    {&second, "z 1 VINOS 50.00"},
                                    {&first, "bag 11 100"},          {&second, "bag 12 200"}};
        for (const Entry &turn : turns) {
            const QString reply = turn.copy->command(turn.command);
            QVERIFY2(reply.startsWith(QStringLiteral("OK ")), qPrintable(turn.command + u' ' + reply));
        }

        for (DeskProcess *copy : {&first, &second}) {
            QCOMPARE(copy->command(QStringLiteral("reload")), QStringLiteral("OK"));
            const QList<std::pair<QString, QString>> shown = {
                {"1 NalProd", "5000.50"}, {"1 KredProd", "2000.00"}, {"1 VNOS", "100.00"},
                {"1 VINOS", "50.00"},     {"2 NalProd", "300.25"},   {"2 INKASS", "40.00"}};
            for (const auto &[field, value] : shown)
                QCOMPARE(copy->command(QStringLiteral("show ") + field), QStringLiteral("VALUE ") + value);
            QCOMPARE(copy->command(QStringLiteral("bags")), QStringLiteral("VALUE 11|100.00;12|200.00"));
        }
        for (DeskProcess *copy : {&first, &second}) {
            copy->process.write("quit\n");
            QVERIFY(copy->process.waitForFinished(60000));
            QCOMPARE(copy->process.exitCode(), 0);
        }
        FileLook file(path);
        QCOMPARE(file.integrity(), QStringLiteral("ok"));
        QCOMPARE(file.value("select count(*) from inkasskvit", {}).toInt(), 2);
        QCOMPARE(file.value("select NalProd from zotchet where idz = (select min(idz) from zotchet "
                            "where iddovra = ?)", {shift.mid(3).toInt()}).toLongLong(),
                 Money::fromDouble(5000.5).units());
    }

    // The other copy's write ends within the wait: the store goes through, nothing is shown.
    void aStoreWaitsForTheOtherCopysWrite()
    {
        Desk desk;
        QVERIFY(desk.open());
        {
            WriteLockHolder other(desk.station.path, 1500);
            QVERIFY(other.held());
            desk.typing.typeZ(1, QStringLiteral("NalProd"), QStringLiteral("777.70"));
        }
        QCOMPARE(desk.stored(QStringLiteral("NalProd")).asMoney(), Money::fromDouble(777.7));
        QVERIFY2(desk.messages.texts().isEmpty(), qPrintable(desk.messages.texts().join(u'\n')));
    }

    // The other copy holds its write longer than the program waits: the store says so, the
    // figure stays in its field, and it is stored at the next leave once the lock is gone.
    void aStoreThatOutwaitsTheLockKeepsTheFigure()
    {
        Desk desk;
        QVERIFY(desk.open());
        QLineEdit *sales = desk.typing.zField(1, QStringLiteral("NalProd"));
        {
            WriteLockHolder other(desk.station.path, 600000);
            QVERIFY(other.held());
            desk.typing.typeZ(1, QStringLiteral("NalProd"), QStringLiteral("888.80"));
            QCOMPARE(desk.messages.texts().size(), 1);
            const QString message = desk.messages.texts().constFirst();
            QVERIFY2(message.contains(QStringLiteral("занята")) && message.contains(QStringLiteral("888.80")),
                     qPrintable(message));
            QCOMPARE(desk.stored(QStringLiteral("NalProd")).isNull(), true);
            QCOMPARE(desk.typing.zField(1, QStringLiteral("NalProd"))->text(), QStringLiteral("888.80"));
            QVERIFY(desk.station.main->kassPanels[1]->pending.contains(sales));
        }
        desk.typing.revisit(desk.typing.zField(1, QStringLiteral("VNOS")));
        QCOMPARE(desk.stored(QStringLiteral("NalProd")).asMoney(), Money::fromDouble(888.8));
        QVERIFY(desk.station.main->kassPanels[1]->pending.isEmpty());
        QCOMPARE(desk.messages.texts().size(), 1);
        QCOMPARE(desk.station.scalar(QStringLiteral("PRAGMA integrity_check")).asString(), QStringLiteral("ok"));
    }
};

// Errors raised inside the window's handlers reach the program's own error report.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestTwoCopies test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twocopies.moc"
