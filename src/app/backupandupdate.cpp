// The main window's part in keeping a copy of the database and in updating the program.
#include "app/backup.h"
#include "app/buildinfo.h"
#include "app/mainwindow.h"
#include "db/datamodule.h"

#include "platform/ui/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString commonSection = QStringLiteral("common");
const QString backupDirKey = QStringLiteral("backup_dir");

// Where the copy goes when no folder was ever chosen: the station folder's usual place under
// the user's home (the desk's Windows installations use c:\grontel\velmoran\datarexzerv).
QString defaultBackupDir()
{
    return QDir::homePath() + QStringLiteral("/grontel/velmoran/datarexzerv");
}

} // namespace

void TfMain::startBackupAndUpdate()
{
    DirDialog1.TitleName = QStringLiteral("Укажите папку для резервной копии");
    DirDialog1.NewFolder = false;
    if (m_iniFile.readString(commonSection, backupDirKey, QString()).isEmpty())
        setBackupDir();
    runAutoupdate(m_iniFile.readString(commonSection, QStringLiteral("autoupdate_url"), QString()));
}

void TfMain::setBackupDir()
{
    DirDialog1.Execute();
    const QString folder = DirDialog1.DirPath;
    if (folder.isEmpty())
        return;
    // The first copy proves that the folder can be written; a folder that cannot is not kept.
    QString error;
    if (copyFileToDir(TfDM::defaultFileName, folder, &error))
        m_iniFile.writeString(commonSection, backupDirKey, folder);
    else
        showError(QStringLiteral("Папка «%1» не принята для резервной копии: %2. Папка для копии "
                                 "осталась прежней.").arg(folder, error));
}

QString TfMain::executableFolder() const
{
    return QFileInfo(m_iniFile.fileName()).absolutePath();
}

void TfMain::runAutoupdate(const QString &url)
{
    // The updater is a program of its own; whether it is there or starts is none of our business.
    QProcess::startDetached(QDir(executableFolder()).filePath(QStringLiteral("autoupdate")),
                            QProcess::splitCommand(QString::number(buildNumber) + u' ' + url),
                            executableFolder());
}

void TfMain::FormDestroy()
{
    if (!dovraAccepted)
        return;
    if (m_dm && m_dm->dbConnected) {
        m_dm->ADOConAZSKAS.close();
        m_dm->dbConnected = false;
    }
    const QString folder = m_iniFile.readString(commonSection, backupDirKey, defaultBackupDir());
    // The data of the shift are safe in the database; only the copy is missing, and the
    // previous one stays as it was.
    QString error;
    if (!copyFileToDir(m_dbFileName, folder, &error))
        showError(QStringLiteral("Резервная копия базы данных в папку «%1» не сделана: %2. Прежняя "
                                 "копия осталась без изменений.").arg(folder, error));
}
