#pragma once

#include "platform/data/connection.h"
#include "platform/data/query.h"
#include "platform/data/table.h"

#include <QObject>
#include <QStringList>

class IniFile;

// The data module: the one connection to the station's database and the table and query
// objects that the windows share.
class TfDM : public QObject
{
    Q_OBJECT

public:
    static inline const QString defaultFileName = QStringLiteral("AZSVELMORAN.mdb");

    // arguments: the command-line arguments after the program's name.
    TfDM(const QStringList &arguments, const QString &executableFolder, QObject *parent = nullptr);
    ~TfDM() override;

    // The database file the program works on: the one command-line argument when there is
    // exactly one (a full path as it is, a bare name in the executable's folder), otherwise
    // the default name in the executable's folder.
    static QString databaseFileName(const QStringList &arguments, const QString &executableFolder);

    // Connects with the configured connection string, brings the schema up to date and opens
    // every shared object. Throws DbError when the connection string is not usable; tells the
    // operator and ends the program with exit code 1 when the file cannot be worked on (missing,
    // damaged, read-only, held by another program, not a station's database or a newer one's)
    // or when the schema cannot be upgraded. A refused file is left as it was found.
    void connectDatabase(const IniFile &iniFile);

    // The number of registers the station works with: the parameter "nkass".
    int registerCount();

    QString dbFileName;
    bool dbConnected = false;

private:
    QStringList m_arguments;
    QString m_executableFolder;

public:

    Connection ADOConAZSKAS;

    Table tabFILIAL;
    Table tabKKM;
    Table tabKKMNazv;
    Table tabKKMSost;
    Table tabOPER;
    Table tabOperSit;
    Table tabDOVRA;
    Table tabDOVRASIT;
    Table tabZOTCHET;
    Table tabZSIT;
    Table tabVOZVRAT;
    Table tabINKASS;
    Table tabINKASSKVIT;
    Table tabXXX;
    Table tabXX;
    Table tabXVozvrat;

    Query adoqKKM;
    Query adoqKKMActive;
    Query adoqOPER;
    Query adoqSMposledn;
    Query adoqZposledn;
    Query adoqXXXSumBnkCalc;

    // The documents' queries (documents/documentqueries).
    Query adoqFILIAL;
    Query adoqZActive;
    Query adoqZsum;
    Query adoqKM7;
    Query adoqKM7Sum;
    Query adoqKM7korr;
    Query adoqPERENOS;
    Query adoqPERENOSsum;
    Query adoqKAkt;
    Query adoqFIO;
    Query adoqZKM4;

    Query adoq;
    Query adoq2;
    Query adoq3;

private:
    void setUpStatements();

    void openDatasets();
};
