#include "stationfile.h"

#include "delivereddatabase.h"
#include "schemaupgrade.h"

#include "platform/data/connection.h"
#include "platform/data/databasefile.h"
#include "platform/data/query.h"

namespace {

// A newer program's file may hold data this one would misread or overwrite.
void checkVersion(Connection &connection)
{
    Query adoq(&connection);
    const int version = SchemaUpgrade(connection, adoq).schemaVersion();
    if (version > SchemaUpgrade::currentVersion) {
        throw DbFileError(QStringLiteral("База данных «%1» создана более новой версией программы "
                                         "(версия базы %2); эта программа работает с версией %3.")
                              .arg(connection.fileName(), QString::number(version),
                                   QString::number(SchemaUpgrade::currentVersion)));
    }
}

DbFileError incomplete(const QString &file, const QString &oneName, const QString &manyNames,
                       const QStringList &names)
{
    return DbFileError(QStringLiteral("В базе данных «%1» нет %2 %3: файл неполный или повреждён.")
                           .arg(file, names.size() == 1 ? oneName : manyNames,
                                names.join(QStringLiteral(", "))));
}

void checkTables(Connection &connection)
{
    const QList<std::pair<QString, QStringList>> schema = deliveredSchema();
    QStringList missingTables;
    QStringList missingColumns;
    for (const auto &[table, columns] : schema) {
        const QHash<QString, QString> present = connection.declaredTypes(table);
        if (present.isEmpty()) {
            missingTables.append(table);
            continue;
        }
        for (const QString &column : columns) {
            if (!present.contains(column.toLower()))
                missingColumns.append(table + u'.' + column);
        }
    }
    if (missingTables.size() == schema.size()) {
        throw DbFileError(QStringLiteral("Файл «%1» — база данных другой программы: в нём нет "
                                         "таблиц сменных отчетов.").arg(connection.fileName()));
    }
    if (!missingTables.isEmpty()) {
        throw incomplete(connection.fileName(), QStringLiteral("таблицы"), QStringLiteral("таблиц"),
                         missingTables);
    }
    if (!missingColumns.isEmpty()) {
        throw incomplete(connection.fileName(), QStringLiteral("столбца"),
                         QStringLiteral("столбцов"), missingColumns);
    }
}

} // namespace

void checkStationDatabase(Connection &connection)
{
    checkVersion(connection);
    checkTables(connection);
}
