#pragma once

#include "connection.h"
#include "field.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>

class Connection;
class QSqlQuery;

// Rows read from the database with a cursor over them. The rows are those of the last opening
// or refresh: statements that change the table afterwards show only after a refresh. A windowed
// dataset reads only its number of rows at an opening and each page of rows when a row of it is
// first looked at, so that a table growing with the station's history costs the same to open
// whatever its length; a page shows the rows as they are when it is read.
class Dataset : public QObject
{
    Q_OBJECT

public:
    explicit Dataset(Connection *connection, QObject *parent = nullptr);

    void open();
    void close();
    bool isOpen() const { return m_open; }
    // Reads the rows again and stays on the same row where it still exists.
    void refresh();

    int recordCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    // Index of the current row, -1 when there is none.
    int recNo() const { return m_row; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    int columnCount() const { return int(m_columns.size()); }
    QString columnName(int column) const { return m_columns.at(column).name; }
    ColumnKind columnKind(int column) const { return m_columns.at(column).kind; }
    int columnIndex(const QString &name) const;
    bool hasField(const QString &name) const { return columnIndex(name) >= 0; }
    // The named column of the current row (null when there is no row); DbError when the
    // dataset has no such column.
    virtual Field field(const QString &name) const;
    QVariant value(int row, int column) const { return rowAt(row).value(column); }

    Connection *connection() const { return m_connection; }

    // How to read a computed column, which carries no declared type (a sum of amounts is money).
    // Kept until the statement changes.
    void setColumnKind(const QString &name, ColumnKind kind);

signals:
    // After every positioning: first, last, next, prior, a move to another row, an append.
    void afterScroll();
    // The rows were replaced (open, close, refresh).
    void rowsReset();

protected:
    static constexpr int pageSize = 256;

    // Runs the dataset's statement; the result's columns and rows become the dataset's. A
    // windowed dataset runs it for its first page.
    virtual void execSelect(QSqlQuery &query) = 0;
    // Windowed datasets only: the rows from row `offset` on, at most pageSize of them, and the
    // number of rows in all.
    virtual void execPage(QSqlQuery &query, int offset);
    virtual int execCount();
    void setWindowed(bool windowed) { m_windowed = windowed; }
    bool isWindowed() const { return m_windowed; }
    // Which row to stay on after a refresh: the default is the same row number.
    virtual int rowAfterRefresh(int previousRow);
    void setCurrentRow(int row);
    void clearColumnKinds() { m_declaredKinds.clear(); }
    int columnIndexOrThrow(const QString &name) const;

    struct Column
    {
        QString name;
        ColumnKind kind;
    };
    QList<Column> m_columns;

private:
    using Row = QList<QVariant>;
    void load();
    QList<Row> readRows(QSqlQuery &query) const;
    const Row &rowAt(int row) const;

    QList<Row> m_rows;              // all rows; a windowed dataset's pages instead
    mutable QHash<int, QList<Row>> m_pages; // page number → rows
    int m_rowCount = 0;
    bool m_windowed = false;

    QPointer<Connection> m_connection;
    QHash<QString, ColumnKind> m_declaredKinds; // lower-case column name → kind
    bool m_open = false;
    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;
};

// Runs one statement with named parameters written ":name". Values are bound, never spliced
// into the text; a parameter the caller did not set is bound as null.
void runStatement(QSqlQuery &query, const QString &sql, const QHash<QString, QVariant> &params);

// Sees every statement as it is run, in the positional form handed to SQLite: for tracing and
// for checking query plans. None by default; an empty function removes it.
using StatementObserver = std::function<void(const QString &sql)>;
void setStatementObserver(StatementObserver observer);
