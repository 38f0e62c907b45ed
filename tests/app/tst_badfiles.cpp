// Bad database files given to the program as a station starts it (a child process with its
// messages on standard output): each is refused with a message naming the file and what is wrong,
// the program ends with code 1 and no signal, and the database's folder is left exactly as it was:
// no file created, none changed.
#include "support/testdatabase.h"

#include "platform/ini/inifile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>

namespace {

enum class Damage {
    None,
    Missing,
    Empty,
    RandomBytes,
    CutInHalf,
    ReadOnlyFile,
    ReadOnlyFolder,
    ExclusiveLock,
    LongWriteTransaction,
    ForeignDatabase,
    NoZotchet,
    NoDovraNoXx,
    NoColumn,
    NewerVersion,
};

// Another process's hold on the file: the test's own connection, the program being a child.
class SqliteHandle
{
public:
    explicit SqliteHandle(const QString &path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
    }
    ~SqliteHandle() { sqlite3_close(m_db); }
    SqliteHandle(const SqliteHandle &) = delete;
    SqliteHandle &operator=(const SqliteHandle &) = delete;

    bool run(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

private:
    sqlite3 *m_db = nullptr;
};

// What a folder holds, file by file: size, time of last change, permissions and contents. The
// shared-memory index of a WAL file is left out: readers mark it as they read.
QMap<QString, QByteArray> folderState(const QString &folder)
{
    QMap<QString, QByteArray> state;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden
                                                             | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        QByteArray description;
        if (!entry.fileName().endsWith(QStringLiteral("-shm"))) {
            QFile file(entry.filePath());
            const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            description = QByteArray::number(entry.size()) + ' '
                          + QByteArray::number(entry.lastModified().toMSecsSinceEpoch()) + ' '
                          + QByteArray::number(int(entry.permissions()), 8) + ' '
                          + QCryptographicHash::hash(contents, QCryptographicHash::Sha256).toHex();
        }
        state.insert(entry.fileName(), description);
    }
    return state;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
}

QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator generator(11);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A station folder with the program in it; the database lies in a folder of its own, data/,
// named on the command line, so that everything beside it can be compared.
class StationFolder
{
public:
    StationFolder()
    {
        program = dir.filePath(QStringLiteral("trelvandor"));
        QFile::copy(QStringLiteral(RECORDED_PROGRAM), program);
        QDir(dir.path()).mkdir(QStringLiteral("data"));
        dataFolder = dir.filePath(QStringLiteral("data"));
        database = freshDatabase(dataFolder);
        IniFile ini(dir.filePath(QStringLiteral("dovra.ini")));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("connstr"),
                        QStringLiteral("Provider=SQLite;Data Source=$(FILENAME);"));
        ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"), dir.path());
    }

    ~StationFolder()
    {
        QFile::setPermissions(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    }

    void start(QProcess &process)
    {
        process.setWorkingDirectory(dir.path());
        process.start(program, {database});
        QVERIFY(process.waitForStarted());
    }

    QTemporaryDir dir;
    QString program;
    QString dataFolder;
    QString database;
    std::unique_ptr<SqliteHandle> holder;
};

void runStatements(const QString &path, const char *sql)
{
    SqliteHandle handle(path);
    QVERIFY(handle.run(sql));
}

void damage(StationFolder &station, Damage kind)
{
    const QString &path = station.database;
    switch (kind) {
    case Damage::None:
        break;
    case Damage::Missing:
        QVERIFY(QFile::remove(path));
        break;
    case Damage::Empty:
        writeFile(path, {});
        break;
    case Damage::RandomBytes:
        writeFile(path, randomBytes(32 * 1024));
        break;
    case Damage::CutInHalf:
        QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));
        break;
    case Damage::ReadOnlyFile:
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    case Damage::ReadOnlyFolder:
        QVERIFY(QFile::setPermissions(station.dataFolder, QFile::ReadOwner | QFile::ExeOwner
                                                              | QFile::ReadGroup | QFile::ExeGroup
                                                              | QFile::ReadOther | QFile::ExeOther));
        break;
    case Damage::ExclusiveLock:
        break;
    case Damage::LongWriteTransaction:
        runStatements(path, "PRAGMA journal_mode=WAL;");
        break;
    case Damage::ForeignDatabase:
        QVERIFY(QFile::remove(path));
        runStatements(path, "CREATE TABLE notes (id INTEGER PRIMARY KEY, note TEXT);"
                            "INSERT INTO notes (note) VALUES ('купить хлеб');");
        break;
    case Damage::NoZotchet:
        runStatements(path, "DROP TABLE ZOTCHET;");
        break;
    case Damage::NoDovraNoXx:
        runStatements(path, "DROP TABLE DOVRA; DROP TABLE xx;");
        break;
    case Damage::NoColumn:
        runStatements(path, "ALTER TABLE KKM DROP COLUMN NREG;");
        break;
    case Damage::NewerVersion:
        runStatements(path, "CREATE TABLE db_version (version int); INSERT INTO db_version VALUES (5);"
                            "CREATE TABLE zkorr (idZ int not null, korrVinos CURRENCY);"
                            "ALTER TABLE ZOTCHET ADD COLUMN SumKassReal CURRENCY;"
                            "CREATE TABLE future (anything TEXT);");
        break;
    }
}

// Another process's lock, taken once the folder has been looked at: reading the file in this
// process would give up the process's locks on it.
void holdLock(StationFolder &station, Damage kind)
{
    const char *statements = kind == Damage::ExclusiveLock
                                 ? "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;"
                             : kind == Damage::LongWriteTransaction
                                 ? "BEGIN IMMEDIATE; INSERT INTO DOVRASIT VALUES ('x', 'held');"
                                 : nullptr;
    if (!statements)
        return;
    station.holder = std::make_unique<SqliteHandle>(station.database);
    QVERIFY(station.holder->run(statements));
}

struct Output
{
    QStringList errors;
    QStringList others;
    bool started = false;
};

Output parse(const QByteArray &text)
{
    Output output;
    for (const QString &line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("error: ")))
            output.errors.append(line.mid(7).replace(QStringLiteral("\\n"), QStringLiteral("\n")));
        else if (line.startsWith(QStringLiteral("started: ")))
            output.started = true;
        else
            output.others.append(line);
    }
    return output;
}

// Reads the program's standard output until it ends or tells that its view is built.
QByteArray readUntilEndOrStarted(QProcess &process)
{
    QByteArray text;
    QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired() && !text.contains("started: ")
           && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(1000);
        text += process.readAllStandardOutput();
    }
    process.waitForFinished(text.contains("started: ") ? 0 : 1000);
    return text + process.readAllStandardOutput();
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    void eachBadFileIsRefusedAndLeftAsItWas_data()
    {
        QTest::addColumn<Damage>("kind");
        QTest::addColumn<QString>("problem"); // empty: the file is good and the program starts
        QTest::newRow("a good file starts") << Damage::None << QString();
        QTest::newRow("missing") << Damage::Missing << QStringLiteral("не найден");
        QTest::newRow("empty") << Damage::Empty << QStringLiteral("пуст (0 байт)");
        QTest::newRow("random bytes") << Damage::RandomBytes
                                      << QStringLiteral("не является базой данных");
        QTest::newRow("cut in half") << Damage::CutInHalf << QStringLiteral("повреждён: он обрезан");
        QTest::newRow("read-only file") << Damage::ReadOnlyFile
                                        << QStringLiteral("доступен только для чтения");
        QTest::newRow("read-only folder") << Damage::ReadOnlyFolder
                                          << QStringLiteral("закрыта для записи");
        QTest::newRow("exclusive lock of another process")
            << Damage::ExclusiveLock << QStringLiteral("занят другой программой");
        QTest::newRow("long write transaction of another process")
            << Damage::LongWriteTransaction << QStringLiteral("занят другой программой");
        QTest::newRow("another program's database")
            << Damage::ForeignDatabase << QStringLiteral("база данных другой программы");
        QTest::newRow("no ZOTCHET") << Damage::NoZotchet << QStringLiteral("нет таблицы ZOTCHET");
        QTest::newRow("no DOVRA, no xx") << Damage::NoDovraNoXx
                                         << QStringLiteral("нет таблиц DOVRA, xx");
        QTest::newRow("a column missing") << Damage::NoColumn << QStringLiteral("нет столбца KKM.NREG");
        QTest::newRow("version 5") << Damage::NewerVersion
                                   << QStringLiteral("создана более новой версией программы "
                                                     "(версия базы 5); эта программа работает с "
                                                     "версией 3");
    }

    void eachBadFileIsRefusedAndLeftAsItWas()
    {
        QFETCH(Damage, kind);
        QFETCH(QString, problem);
        StationFolder station;
        damage(station, kind);
        const QMap<QString, QByteArray> before = folderState(station.dataFolder);
        holdLock(station, kind);
        if (QTest::currentTestFailed())
            return;

        QProcess process;
        station.start(process);
        const Output output = parse(readUntilEndOrStarted(process));
        const bool running = process.state() != QProcess::NotRunning;
        if (running) {
            process.kill();
            process.waitForFinished();
        }
        station.holder.reset(); // the lock given up, the other process's changes rolled back

        if (problem.isEmpty()) {
            QVERIFY2(output.started && output.errors.isEmpty(), qPrintable(output.errors.join(u'\n')));
            return;
        }
        QVERIFY2(!running, "the program went on with a file it cannot work on");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit); // no signal
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(!output.started);
        QCOMPARE(output.errors.size(), 1);
        const QString &message = output.errors.constFirst();
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY2(message.contains(u'«' + station.database + u'»'), qPrintable(message));
        QVERIFY2(message.endsWith(QStringLiteral("Программа будет закрыта.")), qPrintable(message));
        QCOMPARE(output.others, QStringList());
        QCOMPARE(folderState(station.dataFolder), before);
    }
};

QTEST_GUILESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
