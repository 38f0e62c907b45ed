#include "db/datamodule.h"
#include "support/testdatabase.h"

#include "platform/data/errors.h"
#include "platform/ini/inifile.h"

#include <QDir>
#include <QFile>
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

    void refusesWhatItCannotOpen_data()
    {
        QTest::addColumn<QString>("connstr");
        QTest::addColumn<QString>("argument");
        QTest::newRow("no connection string") << QString() << QString();
        QTest::newRow("the old provider")
            << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=$(FILENAME);" << QString();
        QTest::newRow("a missing file") << "Provider=SQLite;Data Source=$(FILENAME);" << "absent.mdb";
    }
    void refusesWhatItCannotOpen()
    {
        QFETCH(QString, connstr);
        QFETCH(QString, argument);
        QTemporaryDir dir;
        freshDatabase(dir.path());
        IniFile ini(QDir(dir.path()).filePath("dovra.ini"));
        if (!connstr.isEmpty())
            ini.writeString("DB", "connstr", connstr);
        TfDM dm(argument.isEmpty() ? QStringList() : QStringList{argument}, dir.path());
        QVERIFY_THROWS_EXCEPTION(DbError, dm.connectDatabase(ini));
        QVERIFY(!dm.dbConnected);
        QVERIFY(!QFile::exists(QDir(dir.path()).filePath("absent.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
