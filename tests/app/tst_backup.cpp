#include "app/backup.h"
#include "app/mainwindow.h"
#include "support/station.h"
#include "support/testdatabase.h"

#include "platform/data/connection.h"
#include "platform/data/query.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void copyTargetPath_data();
    void copyTargetPath();
    void copiesTheCommittedStateAndReplaces();
    void failedCopyKeepsThePreviousOne_data();
    void failedCopyKeepsThePreviousOne();
    void refusesCopyOntoItself();
    void firstStartAsksForTheFolder_data();
    void firstStartAsksForTheFolder();
    void copyAtCloseOnlyAfterAcceptance_data();
    void copyAtCloseOnlyAfterAcceptance();
    void updaterGetsBuildNumberAndAddress();
};

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The requisites' organisation name of a database file, and whether the file checks out whole.
struct CopyState
{
    QString organisation;
    bool intact = false;
};

CopyState inspect(const QString &path)
{
    Connection connection(QStringLiteral("inspect"));
    connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path));
    Query query(&connection);
    query.setSql(QStringLiteral("PRAGMA integrity_check"));
    query.open();
    CopyState state;
    state.intact = query.field(query.columnName(0)).asString() == QStringLiteral("ok");
    query.setSql(QStringLiteral("SELECT nazvRBE FROM AZSFILIAL"));
    query.open();
    state.organisation = query.field(QStringLiteral("nazvRBE")).asString();
    return state;
}

// Answers the folder picker, once it shows, with a folder (cancels for an empty one), noting
// the instruction line it showed.
void answerPicker(const QString &folder, QString *title)
{
    QTimer::singleShot(0, [folder, title] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *browser = qobject_cast<QFileDialog *>(widget);
            if (!browser || browser->objectName() != TDirDialog::browserName || !browser->isVisible())
                continue;
            *title = browser->windowTitle();
            if (folder.isEmpty()) {
                browser->reject();
            } else {
                browser->setDirectory(folder);
                browser->selectFile(folder);
                static_cast<QDialog *>(browser)->accept(); // as the OK button does
            }
            return;
        }
        answerPicker(folder, title);
    });
}

} // namespace

void TestBackup::copyTargetPath_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bare name") << "AZSVELMORAN.mdb" << "/srv/copy" << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("slash path") << "/data/AZSVELMORAN.mdb" << "/srv/copy"
                                << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("backslash path") << "c:\\grontel\\AZSVELMORAN.mdb" << "/srv/copy"
                                    << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("drive without folder") << "d:AZS.mdb" << "/srv" << "/srv/AZS.mdb";
    QTest::newRow("last separator of any kind") << "/data\\old/cur\\AZS.mdb" << "/srv"
                                                << "/srv/AZS.mdb";
    QTest::newRow("folder ending in slash") << "AZS.mdb" << "/srv/copy/" << "/srv/copy/AZS.mdb";
    QTest::newRow("drive root") << "AZS.mdb" << "e:\\" << "e:\\AZS.mdb";
    QTest::newRow("empty folder") << "AZS.mdb" << "" << "";
    QTest::newRow("source naming a folder") << "/data/" << "/srv" << "";
}

void TestBackup::copyTargetPath()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(::copyTargetPath(source, folder), expected);
}

// A database in use holds its latest rows in the write-ahead log; the copy must have them.
void TestBackup::copiesTheCommittedStateAndReplaces()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("work") && QDir(dir.path()).mkpath("copy"));
    const QString source = freshDatabase(dir.filePath("work"));
    QVERIFY(writeFile(dir.filePath("copy/AZSVELMORAN.mdb"), "previous copy"));

    Connection open(QStringLiteral("in use"));
    open.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(source));
    Query update(&open);
    update.setSql(QStringLiteral("UPDATE AZSFILIAL SET nazvRBE = 'Новое имя'"));
    update.execSql();

    QVERIFY(copyFileToDir(source, dir.filePath("copy")));
    QCOMPARE(QFileInfo(dir.filePath("copy/AZSVELMORAN.mdb")).permissions(),
             QFileInfo(source).permissions());
    const CopyState copy = inspect(dir.filePath("copy/AZSVELMORAN.mdb"));
    QVERIFY(copy.intact);
    QCOMPARE(copy.organisation, QStringLiteral("Новое имя"));

    update.setSql(QStringLiteral("UPDATE AZSFILIAL SET nazvRBE = 'Второе имя'"));
    update.execSql();
    QVERIFY(copyFileToDir(source, dir.filePath("copy") + "/"));
    QCOMPARE(inspect(dir.filePath("copy/AZSVELMORAN.mdb")).organisation, QStringLiteral("Второе имя"));
    QCOMPARE(QDir(dir.filePath("copy")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"AZSVELMORAN.mdb"});
}

void TestBackup::failedCopyKeepsThePreviousOne_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder");

    QTest::newRow("missing source") << "work/missing.mdb" << "copy";
    QTest::newRow("source is a folder") << "work/folder.mdb" << "copy";
    QTest::newRow("source is no database") << "work/text.mdb" << "copy";
    QTest::newRow("missing folder") << "work/AZSVELMORAN.mdb" << "nowhere";
    QTest::newRow("empty folder") << "work/AZSVELMORAN.mdb" << "";
    QTest::newRow("folder not writable") << "work/AZSVELMORAN.mdb" << "copy";
}

// The previous copies stay whole and no temporary file is left behind.
void TestBackup::failedCopyKeepsThePreviousOne()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("copy") && QDir(dir.path()).mkpath("work/folder.mdb"));
    freshDatabase(dir.filePath("work"));
    QVERIFY(writeFile(dir.filePath("work/text.mdb"), QByteArray(8192, 'x')));
    const QStringList previousCopies{"AZSVELMORAN.mdb", "missing.mdb", "text.mdb"};
    for (const QString &name : previousCopies)
        QVERIFY(writeFile(dir.filePath("copy/" + name), "previous"));
    const bool readOnly = QByteArray(QTest::currentDataTag()) == "folder not writable";
    if (readOnly) {
        if (::geteuid() == 0)
            QSKIP("root writes into any folder");
        QVERIFY(QFile::setPermissions(dir.filePath("copy"), QFile::ReadOwner | QFile::ExeOwner));
    }

    const QString folderPath = folder.isEmpty() ? QString() : dir.filePath(folder);
    QString reason;
    QVERIFY(!copyFileToDir(dir.filePath(source), folderPath, &reason));
    QVERIFY(!reason.isEmpty());
    if (readOnly)
        QFile::setPermissions(dir.filePath("copy"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QDir(dir.filePath("copy")).entryList(QDir::Files | QDir::Hidden), previousCopies);
    for (const QString &name : previousCopies)
        QCOMPARE(readFile(dir.filePath("copy/" + name)), QByteArray("previous"));
}

void TestBackup::refusesCopyOntoItself()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = freshDatabase(dir.path());
    const QByteArray before = readFile(source);
    QVERIFY(!copyFileToDir(source, dir.path()));
    QCOMPARE(readFile(source), before);
}

void TestBackup::firstStartAsksForTheFolder_data()
{
    QTest::addColumn<bool>("databaseInWorkingFolder");
    QTest::addColumn<bool>("chooses");
    QTest::addColumn<bool>("stored");
    QTest::newRow("folder chosen, first copy made") << true << true << true;
    QTest::newRow("no database to copy") << false << true << false;
    QTest::newRow("picker cancelled") << true << false << false;
}

// Without a backup folder the picker comes first; the folder is kept only when the working
// folder's database could be copied there, else the picker shows again at the next start.
void TestBackup::firstStartAsksForTheFolder()
{
    QFETCH(bool, databaseInWorkingFolder);
    QFETCH(bool, chooses);
    QFETCH(bool, stored);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("work") && QDir(dir.path()).mkpath("backup"));
    if (databaseInWorkingFolder)
        freshDatabase(dir.filePath("work"));
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(dir.filePath("work"));
    const QString iniFile = dir.filePath("dovra.ini");

    QString title;
    answerPicker(chooses ? dir.filePath("backup") : QString(), &title);
    MessageRecorder messages;
    { TfMain main(iniFile); }
    QDir::setCurrent(previousFolder);
    // A folder that was chosen but not kept is explained; a cancelled picker says nothing.
    QCOMPARE(messages.texts().size(), chooses && !stored ? 1 : 0);

    QCOMPARE(title, QStringLiteral("Укажите папку для резервной копии"));
    const QString folder = IniFile(iniFile).readString("common", "backup_dir", QString());
    QCOMPARE(folder, stored ? dir.filePath("backup") : QString());
    QCOMPARE(QFile::exists(dir.filePath("backup/AZSVELMORAN.mdb")), stored);
    if (stored)
        QVERIFY(inspect(dir.filePath("backup/AZSVELMORAN.mdb")).intact);
}

void TestBackup::copyAtCloseOnlyAfterAcceptance_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("no shift accepted") << false;
    QTest::newRow("a shift accepted") << true;
}

void TestBackup::copyAtCloseOnlyAfterAcceptance()
{
    QFETCH(bool, accepted);
    QString backup;
    QString organisation;
    {
        Station station;
        station.main->FormActivate();
        backup = QDir(station.dir.path()).filePath("backup/AZSVELMORAN.mdb");
        QVERIFY(writeFile(backup, "previous"));
        station.run(QStringLiteral("UPDATE AZSFILIAL SET nazvRBE = 'После смены'"));
        station.main->dovraAccepted = accepted;
        station.dm.reset();
        station.main.reset();
        if (accepted) {
            const CopyState copy = inspect(backup);
            QVERIFY(copy.intact);
            organisation = copy.organisation;
        } else {
            QCOMPARE(readFile(backup), QByteArray("previous"));
        }
    }
    if (accepted)
        QCOMPARE(organisation, QStringLiteral("После смены"));
}

// The updater beside the executable is started with the build number and the address as its
// arguments, in the executable's folder; the program does not wait for it.
void TestBackup::updaterGetsBuildNumberAndAddress()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString record = dir.filePath("updater-started");
    const QString updater = dir.filePath("autoupdate");
    QVERIFY(writeFile(updater, QStringLiteral("#!/bin/sh\nprintf '%s|' \"$@\" \"$PWD\" > \"%1.part\"\n"
                                              "mv \"%1.part\" \"%1\"\n")
                                   .arg(record)
                                   .toUtf8()));
    QVERIFY(QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    IniFile ini(dir.filePath("dovra.ini"));
    ini.writeString("common", "backup_dir", dir.path());
    ini.writeString("common", "autoupdate_url", "http://updates.example/azs/version.txt");

    TfMain main(ini.fileName());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QCOMPARE(QString::fromUtf8(readFile(record)),
             QStringLiteral("10|http://updates.example/azs/version.txt|%1|").arg(dir.path()));
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
