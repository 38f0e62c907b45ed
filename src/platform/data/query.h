#pragma once

#include "dataset.h"

#include <QHash>
#include <QStringList>

// A statement whose text is set by its user: opened as a dataset when it returns rows,
// executed when it changes them. Parameters are named ":name".
class Query : public Dataset
{
    Q_OBJECT

public:
    explicit Query(Connection *connection, QObject *parent = nullptr);

    void setSql(const QString &sql);
    // Lines of a statement, joined by line breaks.
    void setSql(const QStringList &lines);
    QString sql() const { return m_sql; }

    // Money values go as Money, dates as QDate/QDateTime; the name may carry its colon.
    void setParam(const QString &name, const QVariant &value);
    void clearParams();

    // Runs a statement that returns no rows; the result is the number of rows it changed.
    int execSql();

protected:
    void execSelect(QSqlQuery &query) override;

private:
    QString m_sql;
    QHash<QString, QVariant> m_params;
};
