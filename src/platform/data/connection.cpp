#include "connection.h"
#include "dberrortext.h"

#include "connectionstring.h"
#include "databasefile.h"
#include "errors.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

namespace {

// A second running copy may hold the file for a moment; wait for it rather than fail.
constexpr int busyTimeoutMs = 10000;

QString errorText(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("неизвестная ошибка") : text;
}

// What the cashier can do about the failures that come from outside the program.
QString explanation(const QSqlError &error)
{
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("База данных занята другой программой (возможно, второй копией этой "
                              "программы). Изменение не записано; повторите его позже.");
    case SQLITE_FULL:
        return QStringLiteral("На диске нет места для базы данных. Изменение не записано; "
                              "освободите место и повторите его.");
    case SQLITE_IOERR:
        return QStringLiteral("Не удалось записать на диск (нет места или диск неисправен). "
                              "Изменение не записано; освободите место и повторите его.");
    default:
        return {};
    }
}

} // namespace

QString dbErrorText(const QSqlError &error)
{
    const QString explained = explanation(error);
    return explained.isEmpty() ? errorText(error) : explained + u'\n' + errorText(error);
}

Connection::Connection(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
}

Connection::~Connection()
{
    close();
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::open(const QString &connectionString)
{
    close();
    openFile(ConnectionString::parse(connectionString).dataSource);
}

void Connection::openFile(const QString &fileName)
{
    DatabaseFile::checkBeforeOpening(fileName);

    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase("QSQLITE", m_name);
    // mode=rw: SQLite must not create the file when it is missing.
    QUrl url = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open())
        throw DatabaseFile::openingError(fileName, db.lastError());
    m_fileName = fileName;
    try {
        prepareFile();
    } catch (...) {
        close();
        throw;
    }
}

void Connection::prepareFile()
{
    QSqlQuery query(database());
    // Reading the schema is what reveals a file that is not a database, is damaged or is held by
    // another program.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        throw DatabaseFile::openingError(m_fileName, query.lastError());
    query.finish();
    checkContents();
    // A write lock taken and given back at once: a file that cannot take writes, or that another
    // program keeps locked for writing, is refused now rather than at the operator's first figure.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DatabaseFile::openingError(m_fileName, query.lastError());
    query.exec(QStringLiteral("ROLLBACK"));
    // WAL with full sync: a figure acknowledged to the cashier survives a power cut.
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        throw DbError(errorText(query.lastError()));
}

void Connection::checkContents()
{
    if (!m_fileCheck)
        return;
    try {
        m_fileCheck(*this);
    } catch (const DbFileError &) {
        throw;
    } catch (const DbError &error) {
        // A file whose structure cannot even be read is no file to work on.
        throw DbFileError(QStringLiteral("Не удалось прочитать базу данных «%1»: %2")
                              .arg(m_fileName, error.message()));
    }
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    emit closing();
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.isOpen())
        db.close();
    m_fileName.clear();
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Нет подключения к базе данных"));
    return QSqlDatabase::database(m_name, false);
}

QHash<QString, QString> Connection::declaredTypes(const QString &table) const
{
    QHash<QString, QString> types;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(:t)"));
    query.bindValue(QStringLiteral(":t"), table);
    if (!query.exec())
        throw DbError(errorText(query.lastError()));
    while (query.next())
        types.insert(query.value(0).toString().toLower(), query.value(1).toString().toUpper());
    return types;
}

bool Connection::tableExists(const QString &table) const
{
    return !declaredTypes(table).isEmpty();
}

// Asked whenever a field is stored, so SQLite's own schema is looked up instead of a statement
// being compiled for each question.
bool Connection::columnExists(const QString &table, const QString &column) const
{
    const QVariant handle = database().driver()->handle();
    sqlite3 *db = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
        ? *static_cast<sqlite3 *const *>(handle.constData())
        : nullptr;
    // SQLite would read a name only up to a NUL, and answers for the rowid, no declared column.
    if (!db || table.contains(QChar(0)) || column.contains(QChar(0))
        || column.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0)
        return declaredTypes(table).contains(column.toLower());
    return sqlite3_table_column_metadata(db, "main", table.toUtf8().constData(), column.toUtf8().constData(),
                                         nullptr, nullptr, nullptr, nullptr, nullptr)
           == SQLITE_OK;
}

QString Connection::checkedColumn(const QString &table, const QString &column) const
{
    if (!columnExists(table, column))
        throw DbError(QStringLiteral("В таблице %1 нет поля %2").arg(table, column));
    return quotedIdentifier(column);
}

QString quotedIdentifier(const QString &name)
{
    QString text = name;
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The write lock is taken at the start, waiting for a second copy's write to end: a transaction
// that read first would meet that write later with an immediate "busy", without waiting.
Transaction::Transaction(Connection &connection)
    : m_connection(connection)
{
    QSqlQuery begin(m_connection.database());
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DbError(QStringLiteral("Не удалось начать транзакцию: %1").arg(dbErrorText(begin.lastError())));
}

Transaction::~Transaction()
{
    if (!m_done && m_connection.isOpen())
        m_connection.database().rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = m_connection.database();
    if (!db.commit())
        throw DbError(QStringLiteral("Не удалось записать изменения: %1").arg(dbErrorText(db.lastError())));
    m_done = true;
}
