#include "benchstation.h"

#include "app/backup.h"
#include "app/mainwindow.h"
#include "db/datamodule.h"
#include "db/delivereddatabase.h"
#include "db/schemaupgrade.h"
#include "historywriter.h"

#include "platform/data/errors.h"
#include "platform/ini/inifile.h"

#include <QDir>

namespace {

void writeIni(const QString &folder)
{
    IniFile ini(QDir(folder).filePath(QStringLiteral("dovra.ini")));
    ini.writeString(QStringLiteral("DB"), QStringLiteral("connstr"),
                    QStringLiteral("Provider=SQLite;Data Source=$(FILENAME);"));
    // Accepted shifts are backed up when the window closes, as at a station: into a folder of
    // their own, never over the database itself.
    const QString backups = QDir(folder).filePath(QStringLiteral("backup"));
    QDir().mkpath(backups);
    ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"), backups);
}

} // namespace

void BenchStation::create(const QString &folder, int years)
{
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(TfDM::defaultFileName);
    createDeliveredDatabase(file, true);
    {
        TfDM dm({file}, folder);
        dm.ADOConAZSKAS.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(file));
        if (!SchemaUpgrade(dm.ADOConAZSKAS, dm.adoq).upgradeSchema())
            throw AppError(QStringLiteral("schema upgrade failed"));
    }
    HistoryOptions options;
    options.years = years;
    options.registers = 5;
    writeHistory(file, options);
    writeIni(folder);
}

void BenchStation::copy(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QFile::remove(QDir(to).filePath(TfDM::defaultFileName));
    if (!copyFileToDir(QDir(from).filePath(TfDM::defaultFileName), to))
        throw AppError(QStringLiteral("cannot copy the station to %1").arg(to));
    writeIni(to);
}

BenchStation::BenchStation(const QString &folder)
    : m_main(std::make_unique<TfMain>(QDir(folder).filePath(QStringLiteral("dovra.ini"))))
    , m_dm(std::make_unique<TfDM>(QStringList(), folder))
{
    m_main->setDataModule(m_dm.get());
    m_main->FormActivate();
}

BenchStation::~BenchStation()
{
    m_dm.reset();
    m_main.reset();
}
