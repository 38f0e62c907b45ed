#include "delivereddatabase.h"

#include "platform/data/errors.h"

#include <QFile>

#include <sqlite3.h>

namespace {

// One connection to the file being built; closing it rolls back whatever was not committed.
class NewDatabaseConnection
{
public:
    explicit NewDatabaseConnection(const QString &path)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const QString reason = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db)
                                                          : sqlite3_errstr(rc));
            sqlite3_close(m_db);
            throw DbError(QStringLiteral("Не удалось открыть новый файл базы данных %1: %2")
                              .arg(path, reason));
        }
    }

    ~NewDatabaseConnection() { sqlite3_close(m_db); }

    NewDatabaseConnection(const NewDatabaseConnection &) = delete;
    NewDatabaseConnection &operator=(const NewDatabaseConnection &) = delete;

    void execute(const QByteArray &sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK)
            return;
        const QString reason = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw DbError(QStringLiteral("Ошибка при создании базы данных: %1").arg(reason));
    }

    // The rows of a query, each as its columns' texts.
    QList<QStringList> rows(const QByteArray &sql)
    {
        QList<QStringList> result;
        const auto addRow = [](void *target, int count, char **values, char **) {
            QStringList row;
            for (int i = 0; i < count; ++i)
                row.append(QString::fromUtf8(values[i]));
            static_cast<QList<QStringList> *>(target)->append(row);
            return 0;
        };
        char *error = nullptr;
        if (sqlite3_exec(m_db, sql.constData(), addRow, &result, &error) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
            sqlite3_free(error);
            throw DbError(QStringLiteral("Ошибка при чтении схемы базы данных: %1").arg(reason));
        }
        return result;
    }

private:
    sqlite3 *m_db = nullptr;
};

// Creating the file exclusively claims the name, so that a station's database that appears
// in the meantime is never built over.
void claimNewFile(const QString &path)
{
    QFile file(path);
    if (file.exists())
        throw DbError(QStringLiteral("Файл базы данных уже существует: %1").arg(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        throw DbError(QStringLiteral("Не удалось создать файл базы данных %1: %2")
                          .arg(path, file.errorString()));
    }
}

void fillDatabase(const QString &path, const QByteArrayList &scripts)
{
    NewDatabaseConnection connection(path);
    connection.execute("BEGIN");
    for (const QByteArray &script : scripts)
        connection.execute(script);
    connection.execute("COMMIT");
}

QByteArray embeddedScript(const QString &name)
{
    QFile file(QStringLiteral(":/db/sql/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Сценарий базы данных %1 не найден в программе").arg(name));
    return file.readAll();
}

} // namespace

void createDatabaseFromScripts(const QString &path, const QByteArrayList &scripts)
{
    claimNewFile(path);
    try {
        fillDatabase(path, scripts);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

void createDeliveredDatabase(const QString &path, bool withDemo)
{
    QByteArrayList scripts{embeddedScript(QStringLiteral("schema.sql")),
                           embeddedScript(QStringLiteral("reference.sql"))};
    if (withDemo)
        scripts.append(embeddedScript(QStringLiteral("demo.sql")));
    createDatabaseFromScripts(path, scripts);
}

QList<std::pair<QString, QStringList>> deliveredSchema()
{
    // Read off the schema itself, built in memory, so that there is one definition of the tables.
    static const QList<std::pair<QString, QStringList>> schema = [] {
        NewDatabaseConnection memory(QStringLiteral(":memory:"));
        memory.execute(embeddedScript(QStringLiteral("schema.sql")));
        QList<std::pair<QString, QStringList>> tables;
        const QList<QStringList> columns = memory.rows(
            "SELECT m.name, c.name FROM sqlite_master m, pragma_table_info(m.name) c "
            "WHERE m.type = 'table' ORDER BY m.rowid, c.cid");
        for (const QStringList &row : columns) {
            if (tables.isEmpty() || tables.constLast().first != row.at(0))
                tables.append({row.at(0), {}});
            tables.last().second.append(row.at(1));
        }
        return tables;
    }();
    return schema;
}
