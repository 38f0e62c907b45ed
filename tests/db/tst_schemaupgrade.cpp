#include "db/datamodule.h"
#include "db/schemaupgrade.h"
#include "support/testdatabase.h"

#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ini/inifile.h"
#include "platform/ui/messages.h"
#include "platform/ui/processexit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Statements that put a freshly delivered file (version 0) into the state a station's file
// may be in.
const QStringList atVersion1 = {"create table db_version (version int)",
                                "insert into db_version (version) values (1)"};
const QStringList atVersion3 = {
    "create table db_version (version int)", "insert into db_version (version) values (3)",
    "create table zkorr (idZ int not null, NAkt varchar(20), korrVinos CURRENCY)",
    "alter table zotchet add column SumKassReal CURRENCY"};

class Fixture
{
public:
    explicit Fixture(const QStringList &setUp)
    {
        m_path = freshDatabase(m_dir.path(), false);
        m_connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(m_path));
        // Two Z-reports with a register balance, to see the closing balance filled in.
        run("insert into zotchet (idkkm, idzsit, sumkass, narprod) values (1, 2, 0, 11100)");
        run("insert into zotchet (idkkm, idzsit, sumkass, narprod) values (1, 1, 12345600, 99900)");
        for (const QString &statement : setUp)
            run(statement);
    }

    void run(const QString &statement)
    {
        m_adoq.setSql(statement);
        m_adoq.execSql();
    }
    Field scalar(const QString &statement)
    {
        Query query(&m_connection);
        query.setSql(statement);
        query.open();
        return query.field(query.columnName(0));
    }
    bool upgrade() { return SchemaUpgrade(m_connection, m_adoq).upgradeSchema(); }
    int version() { return SchemaUpgrade(m_connection, m_adoq).schemaVersion(); }
    Connection &connection() { return m_connection; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    Connection m_connection{QStringLiteral("upgrade")};
    Query m_adoq{&m_connection};
};

} // namespace

class TestSchemaUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void upgradesFromEveryVersion_data()
    {
        QTest::addColumn<QStringList>("setUp");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<int>("versionAfter");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("delivered file, no version table") << QStringList() << true << 3 << QStringList();
        QTest::newRow("version 1") << atVersion1 << true << 3 << QStringList();
        QTest::newRow("version table without a row")
            << QStringList{"create table db_version (version int)"} << true << 3
            << QStringList{"ошибка создания таблицы"};
        QTest::newRow("version 1 with a correction table already")
            << (atVersion1 + QStringList{"create table zkorr (idZ int not null)"}) << false << 1
            << QStringList();
        QTest::newRow("version 3") << atVersion3 << true << 3 << QStringList();
        QTest::newRow("version above 3")
            << QStringList{"create table db_version (version int)",
                           "insert into db_version (version) values (7)"}
            << true << 7 << QStringList();
    }
    void upgradesFromEveryVersion()
    {
        QFETCH(QStringList, setUp);
        QFETCH(bool, succeeds);
        QFETCH(int, versionAfter);
        QFETCH(QStringList, messages);
        Fixture file(setUp);
        MessageRecorder recorder;
        QCOMPARE(file.upgrade(), succeeds);
        QCOMPARE(file.version(), versionAfter);
        QCOMPARE(recorder.texts(), messages);
        const bool current = versionAfter == SchemaUpgrade::currentVersion;
        QCOMPARE(file.scalar("select count(*) from sqlite_master where name = 'zkorr_idZ'").asInteger(),
                 current ? 1 : 0);
        if (current && setUp != atVersion3) {
            QVERIFY(file.connection().columnExists("zkorr", "korrVinos"));
            QVERIFY(file.connection().columnExists("zkorr", "nal"));
            QCOMPARE(file.scalar("select count(*) from zotchet where SumKassReal is not SumKass").asInteger(), 0);
            QCOMPARE(file.scalar("select SumKassReal from zotchet where idzsit = 1").asMoney(),
                     Money::fromDouble(1234.56));
        }
    }

    void anUpToDateFileIsLeftAlone()
    {
        Fixture file(atVersion3);
        file.run("update zotchet set SumKassReal = 5 where idzsit = 1");
        QVERIFY(file.upgrade());
        QCOMPARE(file.scalar("select SumKassReal from zotchet where idzsit = 1").asMoney(), Money::fromUnits(5));
    }

    // A step that fails after its first statement must not leave half of itself behind:
    // otherwise its first statement fails for ever after ("duplicate column").
    void aStepFailingHalfwayCanRunAgain()
    {
        Fixture file(atVersion1 + QStringList{
            "update db_version set version = 2",
            "create table zkorr (idZ int not null, NAkt varchar(20), nal CURRENCY)",
            "alter table zotchet add column SumKassReal CURRENCY"});
        QVERIFY(!file.upgrade());
        QCOMPARE(file.version(), 2);
        QVERIFY(!file.connection().columnExists("zkorr", "korrVinos"));

        file.run("alter table zotchet drop column SumKassReal");
        QVERIFY(file.upgrade());
        QCOMPARE(file.version(), 3);
        QVERIFY(file.connection().columnExists("zkorr", "korrVinos"));
    }

    void aFailedUpgradeEndsTheProgramWithCode1()
    {
        Fixture file(atVersion1 + QStringList{"create table zkorr (idZ int not null)"});
        file.connection().close();
        IniFile ini(QDir(file.folder()).filePath("dovra.ini"));
        ini.writeString("DB", "connstr", "Provider=SQLite;Data Source=$(FILENAME);");
        TfDM dm({file.path()}, file.folder());
        MessageRecorder recorder;
        const HaltHandler previous = setHaltHandler([](int code) { throw HaltRequested{code}; });
        int exitCode = -1;
        try {
            dm.connectDatabase(ini);
        } catch (const HaltRequested &halt) {
            exitCode = halt.exitCode;
        }
        setHaltHandler(previous);
        QCOMPARE(exitCode, 1);
        QCOMPARE(recorder.texts(), QStringList{"ошибка обновления БД. Обратитесь к разработчикам "});
    }
};

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
