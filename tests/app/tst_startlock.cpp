#include "app/startlock.h"
#include "platform/data/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestStartLock : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void packedDosDateTime_data();
    void packedDosDateTime();
    void isTooSoon_data();
    void isTooSoon();

    void firstStartCreatesEmptyFile();
    void startsInQuickSuccession_data();
    void startsInQuickSuccession();
    void unwritableLockFileThrows();

private:
    QString lockPath() const;
    void setLastWriteTime(const QDateTime &time) const;
    void verifyRefreshedAndEmpty(const QDateTime &since) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

static QDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void TestStartLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestStartLock::lockPath() const
{
    return m_dir->filePath("dovra.lck");
}

void TestStartLock::setLastWriteTime(const QDateTime &time) const
{
    QFile file(lockPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void TestStartLock::verifyRefreshedAndEmpty(const QDateTime &since) const
{
    const QFileInfo info(lockPath());
    QVERIFY(info.exists());
    QCOMPARE(info.size(), 0);
    // File systems may keep whole seconds only.
    QVERIFY2(info.lastModified() >= since.addSecs(-1),
             qPrintable(info.lastModified().toString(Qt::ISODateWithMs)));
    QVERIFY(info.lastModified() <= QDateTime::currentDateTime());
}

void TestStartLock::packedDosDateTime_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<qint32>("expected");

    QTest::newRow("first DOS moment") << at(1980, 1, 1, 0, 0, 0) << qint32(0x00210000);
    QTest::newRow("all fields")
        << at(2024, 5, 17, 12, 0, 58) << qint32((44 << 9 | 5 << 5 | 17) << 16 | (12 << 11 | 29));
    QTest::newRow("odd seconds truncated")
        << at(2024, 5, 17, 12, 0, 59) << qint32((44 << 9 | 5 << 5 | 17) << 16 | (12 << 11 | 29));
    QTest::newRow("last moment of a day")
        << at(2011, 12, 31, 23, 59, 59)
        << qint32((31 << 9 | 12 << 5 | 31) << 16 | (23 << 11 | 59 << 5 | 29));
    QTest::newRow("from 2044 negative") << at(2044, 1, 1, 0, 0, 0) << qint32(0x80210000u);
    QTest::newRow("before 1980 clamped") << at(1970, 6, 1, 8, 0, 0) << qint32(0x00210000);
}

void TestStartLock::packedDosDateTime()
{
    QFETCH(QDateTime, time);
    QFETCH(qint32, expected);
    QCOMPARE(::packedDosDateTime(time), expected);
}

void TestStartLock::isTooSoon_data()
{
    QTest::addColumn<QDateTime>("before");
    QTest::addColumn<QDateTime>("after");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<bool>("tooSoon");

    QTest::newRow("same moment") << at(2024, 5, 17, 12, 0, 10) << at(2024, 5, 17, 12, 0, 10)
                                 << qint64(0) << true;
    QTest::newRow("18 s within a minute") << at(2024, 5, 17, 12, 0, 10)
                                          << at(2024, 5, 17, 12, 0, 28) << qint64(9) << true;
    QTest::newRow("20 s within a minute") << at(2024, 5, 17, 12, 0, 10)
                                          << at(2024, 5, 17, 12, 0, 30) << qint64(10) << false;
    // A minute is 32 units but only 30 of them are seconds.
    QTest::newRow("2 s across a minute") << at(2024, 5, 17, 12, 0, 58)
                                         << at(2024, 5, 17, 12, 1, 0) << qint64(3) << true;
    QTest::newRow("16 s across a minute") << at(2024, 5, 17, 12, 0, 50)
                                          << at(2024, 5, 17, 12, 1, 6) << qint64(10) << false;
    QTest::newRow("2 s across an hour") << at(2024, 5, 17, 12, 59, 58)
                                        << at(2024, 5, 17, 13, 0, 0) << qint64(131) << false;
    QTest::newRow("2 s across a day") << at(2024, 5, 17, 23, 59, 58)
                                      << at(2024, 5, 18, 0, 0, 0) << qint64(16515) << false;
    QTest::newRow("clock set back") << at(2024, 5, 17, 12, 0, 30)
                                    << at(2024, 5, 17, 12, 0, 0) << qint64(-15) << true;
    // The 32-bit difference wraps.
    QTest::newRow("across the sign bit") << at(2043, 12, 31, 23, 59, 58)
                                         << at(2044, 1, 1, 0, 0, 0) << qint64(-4286496637)
                                         << false;
}

void TestStartLock::isTooSoon()
{
    QFETCH(QDateTime, before);
    QFETCH(QDateTime, after);
    QFETCH(qint64, units);
    QFETCH(bool, tooSoon);

    const qint32 packedBefore = ::packedDosDateTime(before);
    const qint32 packedAfter = ::packedDosDateTime(after);
    QCOMPARE(qint64(packedAfter) - packedBefore, units);
    QCOMPARE(::isTooSoon(packedBefore, packedAfter), tooSoon);
}

void TestStartLock::firstStartCreatesEmptyFile()
{
    const QDateTime start = QDateTime::currentDateTime();
    QVERIFY(checkStartLock(lockPath()));
    verifyRefreshedAndEmpty(start);
}

void TestStartLock::startsInQuickSuccession_data()
{
    QTest::addColumn<int>("secondsSincePreviousStart");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("at once") << 0 << false;
    QTest::newRow("5 s later") << 5 << false;
    QTest::newRow("30 s later") << 30 << true;
    QTest::newRow("a day later") << 86400 << true;
}

// A previous start is simulated by the lock file's time; the file starts out non-empty to show
// that every start rewrites it.
void TestStartLock::startsInQuickSuccession()
{
    QFETCH(int, secondsSincePreviousStart);
    QFETCH(bool, goesOn);

    // Keep both starts inside one minute, where a packed unit is two seconds: across an hour
    // the packed value jumps by far more than the threshold.
    const int second = QTime::currentTime().second();
    if (second < 6 || second > 55)
        QTest::qWait(((66 - second) % 60) * 1000);
    {
        QFile file(lockPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("left over");
    }
    const QDateTime start = QDateTime::currentDateTime();
    setLastWriteTime(start.addSecs(-secondsSincePreviousStart));

    QCOMPARE(checkStartLock(lockPath()), goesOn);
    verifyRefreshedAndEmpty(start);
}

void TestStartLock::unwritableLockFileThrows()
{
    // Below a plain file no file can be made, whoever runs the test.
    QVERIFY(checkStartLock(lockPath()));
    const QString unwritable = lockPath() + "/dovra.lck";
    try {
        checkStartLock(unwritable);
        QFAIL("no error for an unwritable lock file");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith("Ошибка ввода-вывода"), qPrintable(error.message()));
        QVERIFY2(error.message().contains(unwritable), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestStartLock)
#include "tst_startlock.moc"
