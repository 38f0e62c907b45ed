#include "connection.h"

#include "connectionstring.h"
#include "databasefile.h"
#include "errors.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {

// A second running copy may hold the file for a moment; wait for it rather than fail.
constexpr int busyTimeoutMs = 10000;

QString errorText(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("неизвестная ошибка") : text;
}

} // namespace

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

bool Connection::columnExists(const QString &table, const QString &column) const
{
    return declaredTypes(table).contains(column.toLower());
}

Transaction::Transaction(Connection &connection)
    : m_connection(connection)
{
    QSqlDatabase db = m_connection.database();
    if (!db.transaction())
        throw DbError(QStringLiteral("Не удалось начать транзакцию: %1").arg(errorText(db.lastError())));
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
        throw DbError(QStringLiteral("Не удалось записать изменения: %1").arg(errorText(db.lastError())));
    m_done = true;
}
