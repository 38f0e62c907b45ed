#pragma once

#include <QStringList>

class Connection;
class Query;

// Brings a station's database file to the current schema, one numbered step at a time. Each
// step runs together with its version update in one transaction, so a step that fails halfway
// leaves the file as it was before that step and a later start can run it again.
class SchemaUpgrade
{
public:
    static constexpr int currentVersion = 3;

    SchemaUpgrade(Connection &connection, Query &adoq);

    // The version the file is at; 0 when it has no version table or no readable value.
    int schemaVersion();
    // True when every missing step ran (also when none was needed) and the indexes the program's
    // lookups need exist; false at the first failure.
    bool upgradeSchema();

private:
    void runStep(int version);
    void createVersionTable();
    void createZkorrTable();
    void addRealSumColumns();
    void createIndexes();
    void run(const QStringList &lines);

    Connection &m_connection;
    Query &m_adoq;
};
