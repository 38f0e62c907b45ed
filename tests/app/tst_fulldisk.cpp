// A disk that fills up and folders that cannot be written: during a store, the backup at close
// and the test copy of a chosen backup folder, a message and nothing lost.
//
// A full disk is the process's file size limit set to nothing: every write to a file then fails
// (EFBIG, with SIGXFSZ ignored) as on a disk without room, with no root rights needed.
#include "app/mainwindow.h"
#include "inkass/inkasskvit.h"
#include "support/desktyping.h"
#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class DiskFull
{
public:
    DiskFull()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit none = m_saved;
        none.rlim_cur = 0;
        m_on = setrlimit(RLIMIT_FSIZE, &none) == 0;
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    DiskFull(const DiskFull &) = delete;
    DiskFull &operator=(const DiskFull &) = delete;

    bool on() const { return m_on; }

private:
    rlimit m_saved{};
    bool m_on = false;
};

// How a backup folder fails.
enum class Trouble { DiskFull, ReadOnlyFolder, FolderUnderAFile };

// Makes the folder fail as the case says; the disk stays full as long as the result lives.
std::unique_ptr<DiskFull> makeTrouble(Trouble trouble, const QString &folder)
{
    switch (trouble) {
    case Trouble::DiskFull:
        return std::make_unique<DiskFull>();
    case Trouble::ReadOnlyFolder:
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        return nullptr;
    case Trouble::FolderUnderAFile:
        return nullptr;
    }
    return nullptr;
}

void addTroubleRows()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::newRow("disk full") << Trouble::DiskFull;
    QTest::newRow("folder not writable") << Trouble::ReadOnlyFolder;
    QTest::newRow("folder under a file") << Trouble::FolderUnderAFile;
}

// The backup folder of the case: a folder under a regular file cannot exist, not even for root.
QString troubledFolder(const Station &station, Trouble trouble)
{
    const QDir dir(station.dir.path());
    if (trouble == Trouble::FolderUnderAFile) {
        QFile file(dir.filePath(QStringLiteral("afile")));
        file.open(QIODevice::WriteOnly);
        return dir.filePath(QStringLiteral("afile/backup"));
    }
    dir.mkdir(QStringLiteral("copies"));
    return dir.filePath(QStringLiteral("copies"));
}

bool skipReadOnlyAsRoot(Trouble trouble)
{
    return trouble == Trouble::ReadOnlyFolder && ::geteuid() == 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

// The folder picker, once shown, is cancelled: the folder chosen earlier in the run is taken.
void cancelPicker()
{
    QTimer::singleShot(10, [] {
        if (auto *browser = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            browser->reject();
        else
            cancelPicker();
    });
}

} // namespace

Q_DECLARE_METATYPE(Trouble)

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    // Figures typed while the disk is full are reported and stay waiting in their fields, the one
    // typed after a failed one included; with room again, the next leave stores them all. A bag
    // whose number could not be stored is stored with its sum when its number field is left.
    void storesOnAFullDiskWaitForRoom()
    {
        MessageRecorder messages;
        Station station;
        DeskTyping typing(*station.main);
        QVERIFY(typing.showActive());
        typing.openShift(QStringLiteral("101"));
        TZOtchet *panel = station.main->kassPanels[1];
        QVERIFY(panel && panel->getIdZ() > 0);
        TInkassKvit *bag = station.main->kvitBoxes[station.main->kvitCount];
        {
            DiskFull full;
            QVERIFY(full.on());
            typing.typeZ(1, QStringLiteral("NalProd"), QStringLiteral("1234.50"));
            typing.typeZ(1, QStringLiteral("VNOS"), QStringLiteral("70"));
            typing.typeBag(QStringLiteral("101"), QStringLiteral("500"));
        }
        QVERIFY(!messages.texts().isEmpty());
        for (const QString &text : messages.texts())
            QVERIFY2(text.contains(QStringLiteral("Не удалось записать на диск")), qPrintable(text));
        QVERIFY(messages.texts().constFirst().contains(QStringLiteral("Число «1234.50» осталось в поле")));
        QCOMPARE(typing.zField(1, QStringLiteral("NalProd"))->text(), QStringLiteral("1234.50"));
        QCOMPARE(panel->pending, (QList<QLineEdit *>{typing.zField(1, QStringLiteral("NalProd")),
                                                    typing.zField(1, QStringLiteral("VNOS"))}));
        QCOMPARE(station.scalar(QStringLiteral("select count(*) from inkasskvit")).asInteger(), 0);
        QCOMPARE(bag->memoNKv->text(), QStringLiteral("101"));

        messages.clear();
        typing.revisit(typing.zField(1, QStringLiteral("NZ")));
        typing.revisit(bag->memoNKv);
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join(u'\n')));
        const QHash<QString, QVariant> key{{QStringLiteral("idz"), panel->getIdZ()}};
        QCOMPARE(station.scalar(QStringLiteral("select NalProd from zotchet where idz = :idz"), key).asMoney(),
                 Money::fromDouble(1234.5));
        QCOMPARE(station.scalar(QStringLiteral("select VNOS from zotchet where idz = :idz"), key).asMoney(),
                 Money::fromDouble(70));
        QVERIFY(panel->pending.isEmpty());
        QCOMPARE(station.scalar(QStringLiteral("select SumkaN || '|' || SUMMA from inkasskvit")).asString(),
                 QStringLiteral("101|%1").arg(Money::fromDouble(500).units()));
        QCOMPARE(station.scalar(QStringLiteral("PRAGMA integrity_check")).asString(), QStringLiteral("ok"));
    }

    void backupAtCloseKeepsThePreviousCopy_data() { addTroubleRows(); }

    // The copy at close fails: a message says so, the previous copy stays as it was, no
    // temporary file is left, and the database holds the run's work.
    void backupAtCloseKeepsThePreviousCopy()
    {
        QFETCH(Trouble, trouble);
        if (skipReadOnlyAsRoot(trouble))
            QSKIP("root writes into any folder");
        MessageRecorder messages;
        Station station;
        const QString folder = troubledFolder(station, trouble);
        station.ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"), folder);
        const QString previous = folder + QStringLiteral("/AZSVELMORAN.mdb");
        writeFile(previous, "previous copy");
        station.main->FormActivate();
        station.run(QStringLiteral("UPDATE AZSFILIAL SET nazvRBE = 'После смены'"));
        station.main->dovraAccepted = true;
        {
            const std::unique_ptr<DiskFull> full = makeTrouble(trouble, folder);
            station.dm.reset();
            station.main.reset();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().constFirst().contains(QStringLiteral("Резервная копия базы данных")),
                 qPrintable(messages.texts().constFirst()));
        if (trouble != Trouble::FolderUnderAFile) {
            QCOMPARE(readFile(previous), QByteArray("previous copy"));
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"AZSVELMORAN.mdb"});
        }
        Connection connection(QStringLiteral("after"));
        connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(station.path));
        Query query(&connection);
        query.setSql(QStringLiteral("SELECT nazvRBE FROM AZSFILIAL"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("nazvRBE")).asString(), QStringLiteral("После смены"));
        query.setSql(QStringLiteral("PRAGMA integrity_check"));
        query.open();
        QCOMPARE(query.field(query.columnName(0)).asString(), QStringLiteral("ok"));
    }

    void backupFolderThatFailsIsNotKept_data() { addTroubleRows(); }

    // The folder chosen with "РЕЗЕРВ" cannot take the test copy: a message says so and the
    // configured folder stays.
    void backupFolderThatFailsIsNotKept()
    {
        QFETCH(Trouble, trouble);
        if (skipReadOnlyAsRoot(trouble))
            QSKIP("root writes into any folder");
        MessageRecorder messages;
        Station station;
        const QString configured = station.ini.readString(QStringLiteral("common"), QStringLiteral("backup_dir"),
                                                          QString());
        const QString folder = troubledFolder(station, trouble);
        const QString workingFolder = QDir::currentPath();
        QDir::setCurrent(station.dir.path());
        station.main->DirDialog1.DirPath = folder;
        cancelPicker();
        {
            const std::unique_ptr<DiskFull> full = makeTrouble(trouble, folder);
            station.main->setBackupDir();
        }
        QDir::setCurrent(workingFolder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().constFirst().contains(QStringLiteral("не принята")),
                 qPrintable(messages.texts().constFirst()));
        QCOMPARE(IniFile(station.ini.fileName()).readString(QStringLiteral("common"), QStringLiteral("backup_dir"),
                                                            QString()),
                 configured);
        if (trouble != Trouble::FolderUnderAFile)
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

// Errors raised inside the window's handlers reach the program's own error report.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestFullDisk test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fulldisk.moc"
