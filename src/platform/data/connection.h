#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>

// The one connection to the database file. Opening never creates a file: a missing file is
// an error, so that a mistyped path cannot leave an empty database behind.
class Connection : public QObject
{
    Q_OBJECT

public:
    explicit Connection(const QString &name, QObject *parent = nullptr);
    ~Connection() override;

    // Throws DbError when the string is not understood, DbFileError when the file cannot be
    // worked on (missing, damaged, read-only, held by another program, refused by the file check).
    // A refused file is closed again as it was found.
    void open(const QString &connectionString);
    void close();
    bool isOpen() const;

    // What the owner asks of a file's contents: run at every opening once the file has been read,
    // before anything is written to it; it throws (DbFileError) to refuse the file.
    using FileCheck = std::function<void(Connection &)>;
    void setFileCheck(FileCheck check) { m_fileCheck = std::move(check); }

    QString fileName() const { return m_fileName; }
    QSqlDatabase database() const;

    // Column declared types of a table ("CURRENCY", "DATETIME" ...), keyed by lower-case column
    // name; empty for a table that does not exist.
    QHash<QString, QString> declaredTypes(const QString &table) const;
    bool tableExists(const QString &table) const;
    bool columnExists(const QString &table, const QString &column) const;
    // A column of a table as it may stand in a statement's text: quoted, and only when the table
    // has it (DbError otherwise). A name the program derives, from a field's name or a nominal,
    // reaches SQL only through here.
    QString checkedColumn(const QString &table, const QString &column) const;

signals:
    // Sent before the connection closes, so that every dataset on it closes too.
    void closing();

private:
    void openFile(const QString &fileName);
    void prepareFile();
    void checkContents();

    QString m_name;
    QString m_fileName;
    FileCheck m_fileCheck;
};

// A table or column name quoted for a statement's text, whatever characters it holds. The name
// must have been checked against the schema: quoting keeps it one name, it does not make it one
// that exists.
QString quotedIdentifier(const QString &name);

// Rolls back unless committed: a step that fails halfway leaves the file as it was.
class Transaction
{
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};
