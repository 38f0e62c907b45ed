// The program killed at random moments while a cashier types shifts into it: after every kill
// the file is whole, holds every figure whose store had returned, and the program starts on it.
#include "deskprocess.h"

#include "platform/data/money.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

namespace {

// One acknowledged store, as shiftdesk writes it: "Z idZ column text", "BAG id number sum",
// "SHIFT idDovra number", "ACCEPT idDovra".
struct Ack
{
    QStringList words;

    QString key() const { return words.mid(0, words.first() == QStringLiteral("Z") ? 3 : 2).join(u' '); }
};

const QStringList counterColumns = {"ZDOC", "NZ"};
const QStringList amountColumns = {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS",
                                   "VINOS", "INKASS", "SUMKASS", "NARPROD"};

qint64 units(const QString &amount)
{
    return Money::fromDouble(amount.toDouble()).units();
}

// Empty when the file holds what the line acknowledged, otherwise what it holds instead.
QString missing(FileLook &file, const Ack &ack)
{
    const QStringList &w = ack.words;
    const qint64 id = w.at(1).toLongLong();
    QVariant found;
    QVariant expected;
    if (w.first() == QStringLiteral("Z")) {
        const QString &column = w.at(2);
        if (!counterColumns.contains(column) && !amountColumns.contains(column))
            return QStringLiteral("an unknown column");
        found = file.value(qPrintable(QStringLiteral("select %1 from zotchet where idz = ?").arg(column)), {id});
        expected = counterColumns.contains(column) ? w.at(3).toLongLong() : units(w.at(3));
    } else if (w.first() == QStringLiteral("BAG")) {
        const QVariant number = file.value("select SumkaN from inkasskvit where idinkasskvit = ?", {id});
        if (number.toString() != w.at(2))
            return QStringLiteral("bag number ") + number.toString();
        found = file.value("select SUMMA from inkasskvit where idinkasskvit = ?", {id});
        expected = units(w.at(3));
    } else if (w.first() == QStringLiteral("SHIFT")) {
        found = file.value("select DovraNBUKTS from dovra where iddovra = ?", {id});
        expected = w.at(2);
    } else if (w.first() == QStringLiteral("ACCEPT")) {
        found = file.value("select smLocked from dovra where iddovra = ?", {id});
        expected = qint64(1);
    } else {
        return QStringLiteral("an unknown line");
    }
    return found.toString() == expected.toString() && !found.isNull() ? QString()
                                                                       : QStringLiteral("«%1»").arg(found.toString());
}

} // namespace

class TestCrashConsistency : public QObject
{
    Q_OBJECT

private slots:
    void killedAtRandomMomentsLosesNothingAcknowledged()
    {
        const quint32 seed = qEnvironmentVariableIsSet("TREL_CRASH_SEED")
                                 ? qgetenv("TREL_CRASH_SEED").toUInt()
                                 : QRandomGenerator::global()->generate();
        const int rounds = qEnvironmentVariableIsSet("TREL_CRASH_ROUNDS")
                               ? qEnvironmentVariableIntValue("TREL_CRASH_ROUNDS")
                               : 100;
        qInfo("seed %u (TREL_CRASH_SEED=%u repeats the kill moments), %d rounds", seed, seed, rounds);
        QRandomGenerator random(seed);

        QTemporaryDir dir;
        const QString path = makeStationFolder(dir.path());
        QHash<QString, Ack> acknowledged; // the latest acknowledgement of each figure
        int kills = 0;
        int killsDuringStart = 0;
        int roundsWithLog = 0;
        int starts = 0;
        qint64 checks = 0;
        QElapsedTimer clock;
        clock.start();

        for (int round = 0; round < rounds; ++round) {
            DeskProcess desk;
            desk.start(QStringLiteral("type"), dir.path());
            QStringList lines;
            auto takeLine = [&](int timeoutMs) {
                const QString line = desk.readLine(timeoutMs);
                if (!line.isEmpty())
                    lines << line;
                return line;
            };
            // Now and then the kill comes while the program is starting.
            const bool duringStart = random.bounded(10) == 0;
            if (duringStart) {
                QThread::msleep(random.bounded(400));
                ++killsDuringStart;
            } else {
                const QString started = takeLine(120000);
                QVERIFY2(started.startsWith(QStringLiteral("STARTED")),
                         qPrintable(QStringLiteral("round %1: %2 %3").arg(round).arg(started,
                                    QString::fromUtf8(desk.process.readAllStandardError()))));
                ++starts;
                const int stores = random.bounded(30);
                for (int i = 0; i < stores; ++i)
                    QVERIFY2(!takeLine(60000).isEmpty(), qPrintable(QStringLiteral("round %1: no store").arg(round)));
                QThread::usleep(random.bounded(20000));
            }
            const bool running = desk.process.state() == QProcess::Running;
            const QString ending = running ? QString()
                                           : QStringLiteral("exit status %1, code %2")
                                                 .arg(desk.process.exitStatus())
                                                 .arg(desk.process.exitCode());
            desk.kill();
            ++kills;
            while (!takeLine(0).isEmpty()) {
            }
            QVERIFY2(running, qPrintable(QStringLiteral("round %1: the program ended by itself (%2): %3 %4")
                                             .arg(round).arg(ending, lines.join(u'\n'),
                                                  QString::fromUtf8(desk.process.readAllStandardError()))));
            for (const QString &line : std::as_const(lines)) {
                QVERIFY2(!line.startsWith(QStringLiteral("FAILED")), qPrintable(line));
                if (line.startsWith(QStringLiteral("STARTED")))
                    continue;
                const Ack ack{line.split(u'\t')};
                acknowledged.insert(ack.key(), ack);
            }

            if (QFileInfo(path + QStringLiteral("-wal")).size() > 0)
                ++roundsWithLog;
            FileLook file(path);
            QCOMPARE(file.integrity(), QStringLiteral("ok"));
            for (const Ack &ack : std::as_const(acknowledged)) {
                const QString found = missing(file, ack);
                QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("round %1, seed %2: %3 acknowledged, file holds %4")
                                                         .arg(round).arg(seed).arg(ack.words.join(u' '), found)));
            }
            checks += acknowledged.size();
        }

        // The program starts on the file the last kill left.
        DeskProcess last;
        last.start(QStringLiteral("start"), dir.path());
        const QString started = last.readLine(120000);
        QVERIFY2(started.startsWith(QStringLiteral("STARTED")), qPrintable(started));
        QVERIFY(last.process.waitForFinished(60000));
        QCOMPARE(last.process.exitCode(), 0);
        QCOMPARE(FileLook(path).integrity(), QStringLiteral("ok"));

        int accepted = 0;
        for (const Ack &ack : std::as_const(acknowledged))
            accepted += ack.words.first() == QStringLiteral("ACCEPT");
        qInfo("%d rounds in %.1f s: %d kills (%d while starting), %d starts checked, %d kills left a "
              "write-ahead log; %lld figures acknowledged, %lld checks of them, %d shifts accepted",
              rounds, clock.elapsed() / 1000.0, kills, killsDuringStart, starts + 1, roundsWithLog,
              qint64(acknowledged.size()), checks, accepted);
        QVERIFY(accepted > 0);
    }
};

QTEST_GUILESS_MAIN(TestCrashConsistency)

#include "tst_crashconsistency.moc"
