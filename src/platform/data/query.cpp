#include "query.h"

#include "connection.h"
#include "errors.h"

#include <QSqlQuery>

Query::Query(Connection *connection, QObject *parent)
    : Dataset(connection, parent)
{
}

void Query::setSql(const QString &sql)
{
    close();
    clearColumnKinds();
    m_sql = sql;
}

void Query::setSql(const QStringList &lines)
{
    setSql(lines.join(u'\n'));
}

void Query::setParam(const QString &name, const QVariant &value)
{
    const QString key = name.startsWith(u':') ? name.mid(1) : name;
    m_params.insert(key.toLower(), value);
}

void Query::clearParams()
{
    m_params.clear();
}

int Query::execSql()
{
    if (!connection())
        throw DbError(QStringLiteral("Нет подключения к базе данных"));
    QSqlQuery query(connection()->database());
    runStatement(query, m_sql, m_params);
    return query.numRowsAffected();
}

void Query::execSelect(QSqlQuery &query)
{
    runStatement(query, m_sql, m_params);
}
