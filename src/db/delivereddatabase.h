#pragma once

#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The database file as the installation delivers it: the schema at version 0 (the first start
// upgrades it) with its reference rows and, on request, a sample station.
// Throws DbError when the file exists already or cannot be built; a failed build leaves no file.
void createDeliveredDatabase(const QString &path, bool withDemo);

// Builds a new SQLite file at path from SQL scripts run in one transaction. Refuses an existing
// file; on any failure the file is removed again. Throws DbError.
void createDatabaseFromScripts(const QString &path, const QByteArrayList &scripts);

// The tables of the delivered file with their columns, in the order the schema creates them:
// what a station's file holds at the least, whatever its version.
QList<std::pair<QString, QStringList>> deliveredSchema();
