#include "station.h"

#include "testdatabase.h"

#include <QComboBox>
#include <QDir>

Station::Station(const QString &connstr, bool withDemo)
    : path(freshDatabase(dir.path(), withDemo))
    , ini(QDir(dir.path()).filePath(QStringLiteral("dovra.ini")))
{
    if (!connstr.isEmpty())
        ini.writeString(QStringLiteral("DB"), QStringLiteral("connstr"), connstr);
    // A station set up earlier: its backup folder is chosen, so no folder picker stops the start.
    QDir(dir.path()).mkdir(QStringLiteral("backup"));
    ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"),
                    QDir(dir.path()).filePath(QStringLiteral("backup")));
    main = std::make_unique<TfMain>(ini.fileName());
    dm = std::make_unique<TfDM>(QStringList(), dir.path());
    main->setDataModule(dm.get());
}

Station::~Station()
{
    dm.reset();
    main.reset();
}

void Station::run(const QString &sql, const QHash<QString, QVariant> &params)
{
    Connection connection(QStringLiteral("side"));
    connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path));
    Query query(&connection);
    query.setSql(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.setParam(it.key(), it.value());
    query.execSql();
}

Field Station::scalar(const QString &sql, const QHash<QString, QVariant> &params)
{
    Query query(&dm->ADOConAZSKAS);
    query.setSql(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.setParam(it.key(), it.value());
    query.open();
    return query.field(query.columnName(0));
}

QStringList Station::items(const QComboBox *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->itemText(i);
    return result;
}
