#include "db/datamodule.h"
#include "support/testdatabase.h"

#include "platform/data/databasefile.h"
#include "platform/ini/inifile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestDataModule : public QObject
{
    Q_OBJECT

private slots:
    void databaseFileFromTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("no argument") << QStringList() << "/opt/st/AZSVELMORAN.mdb";
        QTest::newRow("a full path") << QStringList{"/data/a.mdb"} << "/data/a.mdb";
        QTest::newRow("a backslash path") << QStringList{"\\\\srv\\a.mdb"} << "\\\\srv\\a.mdb";
        QTest::newRow("a drive letter") << QStringList{"d:\\b.mdb"} << "d:\\b.mdb";
        QTest::newRow("a bare name") << QStringList{"other.mdb"} << "/opt/st/other.mdb";
        QTest::newRow("two arguments") << QStringList{"/data/a.mdb", "x"} << "/opt/st/AZSVELMORAN.mdb";
    }
    void databaseFileFromTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, fileName);
        QCOMPARE(TfDM::databaseFileName(arguments, "/opt/st"), fileName);
        QCOMPARE(TfDM::databaseFileName(arguments, "/opt/st/"), fileName);
    }

    void connectsUpgradesAndOpensEverything()
    {
        QTemporaryDir dir;
        const QString path = freshDatabase(dir.path());
        IniFile ini(QDir(dir.path()).filePath("dovra.ini"));
        ini.writeString("DB", "connstr", "Provider=SQLite;Data Source=$(filename);");
        TfDM dm({}, dir.path());
        dm.connectDatabase(ini);
        QVERIFY(dm.dbConnected);
        QCOMPARE(dm.dbFileName, path);
        QVERIFY(dm.ADOConAZSKAS.columnExists("ZOTCHET", "SumKassReal"));
        QVERIFY(dm.tabXVozvrat.isOpen() && dm.adoqZposledn.isOpen());
        QCOMPARE(dm.adoqOPER.recordCount(), 3); // the dismissed operator is not among them
        QVERIFY(dm.tabKKM.hasField("Модель") && dm.tabDOVRA.hasField("ОПЕРАТОР"));
        QVERIFY(!dm.tabZOTCHET.hasField("SumKassReal"));
        QVERIFY(dm.adoqSMposledn.isEmpty());

        // Connecting again (as a rebuild of the view does) reopens everything on the same file.
        dm.connectDatabase(ini);
        QVERIFY(dm.tabDOVRA.isOpen());
    }

    // A connection string it cannot use is an error of the installation, not of the file: it is
    // reported and the program goes on (the next activation tries again).
    void refusesAConnectionStringItCannotUse_data()
    {
        QTest::addColumn<QString>("connstr");
        QTest::newRow("no connection string") << QString();
        QTest::newRow("the old provider") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=$(FILENAME);";
    }
    void refusesAConnectionStringItCannotUse()
    {
        QFETCH(QString, connstr);
        QTemporaryDir dir;
        freshDatabase(dir.path());
        IniFile ini(QDir(dir.path()).filePath("dovra.ini"));
        if (!connstr.isEmpty())
            ini.writeString("DB", "connstr", connstr);
        TfDM dm({}, dir.path());
        try {
            dm.connectDatabase(ini);
            QFAIL("connected");
        } catch (const DbFileError &) {
            QFAIL("taken for a problem of the file");
        } catch (const DbError &) {
        }
        QVERIFY(!dm.dbConnected);
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
