#pragma once

#include "dataset.h"

#include <QHash>
#include <QStringList>

// A column shown beside a table's own, looked up in another table by key.
struct LookupColumn
{
    QString name;         // the caption it is read by, e.g. "ОПЕРАТОР"
    QString lookupTable;  // AZSOPER
    QString lookupKey;    // idOperator
    QString resultColumn; // OperatorFIO
    QString localKey;     // the table's own column holding the key
};

// All rows of one table in key order, with an edit buffer for appending and changing a row.
// A table without a declared key is read in rowid order with its rowid as the column "rowid".
class Table : public Dataset
{
    Q_OBJECT

public:
    enum class State { Browse, Insert, Edit };

    Table(Connection *connection, const QString &tableName, QObject *parent = nullptr);

    QString tableName() const { return m_tableName; }
    // Restricts the table's own columns to these (all when empty).
    void setColumns(const QStringList &columns);
    void addLookupColumn(const LookupColumn &lookup);
    // Orders the rows by one of the table's own columns, then by key, from the next opening or
    // refresh on; an empty name orders them by key alone.
    void setSort(const QString &column);
    // Reads the rows a page at a time (see Dataset); for a table ordered by its key alone.
    using Dataset::setWindowed;

    State state() const { return m_state; }
    // Starts a new row; the cursor stays where it was until the row is posted.
    void append();
    void edit();
    // Sets a column of the row being appended or edited, converted as the column keeps it.
    void setValue(const QString &column, const QVariant &value);
    // Writes the row, reads the table again and stays on the written row.
    void post();
    void cancel();
    // Moves to the row with this key; false when there is none.
    bool locate(const QVariant &key);

    // In the middle of an append or edit the field is read from the edit buffer.
    Field field(const QString &name) const override;

protected:
    void execSelect(QSqlQuery &query) override;
    void execPage(QSqlQuery &query, int offset) override;
    int execCount() override;
    int rowAfterRefresh(int previousRow) override;

private:
    void readSchema();
    QString selectStatement() const;
    QString keyColumnName() const;
    QVariant currentKey() const;
    int rowOfKey(const QVariant &key) const;
    void requireBrowse() const;

    QString m_tableName;
    QStringList m_columnsWanted;
    QList<LookupColumn> m_lookups;
    QHash<QString, QString> m_declaredTypes; // lower-case column name → declared type
    QString m_keyColumn;
    QString m_sort;
    QString m_select; // the statement of the last opening, without its page limits
    State m_state = State::Browse;
    QHash<QString, QVariant> m_buffer; // lower-case column name → value
    QVariant m_postedKey;  // the row just written
    QVariant m_refreshKey; // the row to stay on once the rows are read again
};
