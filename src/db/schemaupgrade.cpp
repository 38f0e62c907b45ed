#include "schemaupgrade.h"

#include "platform/data/connection.h"
#include "platform/data/errors.h"
#include "platform/data/query.h"
#include "platform/ui/messages.h"

SchemaUpgrade::SchemaUpgrade(Connection &connection, Query &adoq)
    : m_connection(connection)
    , m_adoq(adoq)
{
}

void SchemaUpgrade::run(const QStringList &lines)
{
    m_adoq.setSql(lines);
    m_adoq.clearParams();
    m_adoq.execSql();
}

int SchemaUpgrade::schemaVersion()
{
    try {
        m_adoq.setSql(QStringLiteral("select version from db_version "));
        m_adoq.clearParams();
        m_adoq.open();
        const int version = m_adoq.isEmpty() ? 0 : m_adoq.field(m_adoq.columnName(0)).asInteger();
        m_adoq.close();
        return version;
    } catch (const AppError &) {
        m_adoq.close();
        return 0;
    }
}

bool SchemaUpgrade::upgradeSchema()
{
    int version = schemaVersion();
    while (version < currentVersion) {
        ++version;
        try {
            runStep(version);
        } catch (const AppError &) {
            return false;
        }
    }
    if (version > currentVersion)
        return true; // a newer program's file: its schema is not ours to change
    try {
        createIndexes();
    } catch (const AppError &) {
        return false;
    }
    return true;
}

void SchemaUpgrade::runStep(int version)
{
    Transaction transaction(m_connection);
    switch (version) {
    case 1:
        createVersionTable();
        break;
    case 2:
        createZkorrTable();
        break;
    case 3:
        addRealSumColumns();
        break;
    }
    m_adoq.setSql(QStringLiteral("update db_version set version = :vbase "));
    m_adoq.clearParams();
    m_adoq.setParam(QStringLiteral("vbase"), version);
    m_adoq.execSql();
    transaction.commit();
}

void SchemaUpgrade::createVersionTable()
{
    try {
        run({QStringLiteral("create table db_version (version int)")});
    } catch (const AppError &) {
        // A version table without a row: the table stays, the row is added below.
        showMessage(QStringLiteral("ошибка создания таблицы"));
    }
    run({QStringLiteral("insert into db_version (version) values (0) ")});
}

void SchemaUpgrade::createZkorrTable()
{
    run({QStringLiteral("create table zkorr (idZ int not null, NAkt varchar(20), nalKakBnal CURRENCY, "
                        "BnalKakNal CURRENCY, vNalKakBnal CURRENCY, vBnalKakNal CURRENCY, "),
         QStringLiteral("    korrInkass CURRENCY, korrVnos CURRENCY, nal CURRENCY "),
         QStringLiteral(") ")});
}

// The correction acts are looked up by Z-report whenever a field is left or a shift printed;
// without this index every lookup reads all the acts of the station's history. Files upgraded
// before the index existed get it at their next start.
void SchemaUpgrade::createIndexes()
{
    run({QStringLiteral("create index if not exists zkorr_idZ on zkorr (idZ)")});
}

void SchemaUpgrade::addRealSumColumns()
{
    run({QStringLiteral("alter table zkorr add column korrVinos CURRENCY ")});
    run({QStringLiteral("alter table zotchet add column SumKassReal CURRENCY ")});
    run({QStringLiteral("update zotchet set SumKassReal = SumKass where SumKassReal is null ")});
}
