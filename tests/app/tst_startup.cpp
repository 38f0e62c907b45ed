// The program as a whole, started as a station starts it: in its folder, behind the start guard.
#include "support/testdatabase.h"

#include "platform/ini/inifile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

class StationFolder
{
public:
    StationFolder()
    {
        program = QDir(dir.path()).filePath(QStringLiteral("trelvandor"));
        QFile::copy(QStringLiteral(TRELVANDOR_EXECUTABLE), program);
        freshDatabase(dir.path());
        IniFile ini(QDir(dir.path()).filePath(QStringLiteral("dovra.ini")));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("connstr"),
                        QStringLiteral("Provider=SQLite;Data Source=$(FILENAME);"));
        ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"), dir.path());
    }

    void start(QProcess &process)
    {
        process.setWorkingDirectory(dir.path());
        process.setProgram(program);
        process.start();
        QVERIFY(process.waitForStarted());
    }

    QString lockFile() const { return QDir(dir.path()).filePath(QStringLiteral("dovra.lck")); }

    QTemporaryDir dir;
    QString program;
};

void stop(QProcess &process)
{
    process.kill();
    process.waitForFinished();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    void aSecondStartRightAfterTheFirstEndsSilently()
    {
        StationFolder station;
        QProcess first;
        station.start(first);
        QVERIFY(!first.waitForFinished(1500)); // the first copy runs
        QVERIFY(QFile::exists(station.lockFile()));

        QProcess second;
        station.start(second);
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        stop(first);
    }

    void aStartLongAfterThePreviousOneRuns()
    {
        StationFolder station;
        QFile lock(station.lockFile());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-30), QFileDevice::FileModificationTime));
        lock.close();

        QProcess process;
        station.start(process);
        QVERIFY(!process.waitForFinished(1500));
        stop(process);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
