#pragma once

#include "app/mainwindow.h"
#include "db/datamodule.h"

#include "platform/ini/inifile.h"

#include <QHash>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class QComboBox;

// A demo station in a temporary folder with the main window and the data module on it,
// created in the program's order and destroyed in the reverse one.
class Station
{
public:
    // connstr empty: dovra.ini has no connection string.
    explicit Station(const QString &connstr = QStringLiteral("Provider=SQLite;Data Source=$(FILENAME);"),
                     bool withDemo = true);
    ~Station();

    // Runs a statement on a connection of its own, as another writer would.
    void run(const QString &sql, const QHash<QString, QVariant> &params = {});
    // The first column of the first row of a query on the main connection, as a field.
    Field scalar(const QString &sql, const QHash<QString, QVariant> &params = {});

    static QStringList items(const QComboBox *list);

    QTemporaryDir dir;
    QString path;
    IniFile ini;
    std::unique_ptr<TfMain> main;
    std::unique_ptr<TfDM> dm;
};
