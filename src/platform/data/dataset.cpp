#include "dataset.h"

#include "connection.h"
#include "dberrortext.h"
#include "errors.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The statement with every ":name" outside quotes and comments turned into "?", and the names
// in the order of the question marks.
QString toPositional(const QString &sql, QStringList &names)
{
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n && sql.at(j) != close)
                ++j;
            out += sql.mid(i, j + 1 - i);
            i = j + 1;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            qsizetype j = sql.indexOf(u'\n', i);
            j = j < 0 ? n : j;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            qsizetype j = sql.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == u':' && i + 1 < n && isNameStart(sql.at(i + 1))) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            names.append(sql.mid(i + 1, j - i - 1).toLower());
            out += u'?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

sqlite3_stmt *statementHandle(const QSqlQuery &query)
{
    const QVariant handle = query.result()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0)
        return *static_cast<sqlite3_stmt *const *>(handle.constData());
    return nullptr;
}

StatementObserver &statementObserver()
{
    static StatementObserver observer;
    return observer;
}

QString firstLine(const QString &sql)
{
    return sql.trimmed().section(u'\n', 0, 0).left(120);
}

} // namespace

void setStatementObserver(StatementObserver observer)
{
    statementObserver() = std::move(observer);
}

void runStatement(QSqlQuery &query, const QString &sql, const QHash<QString, QVariant> &params)
{
    QStringList names;
    const QString positional = toPositional(sql, names);
    if (statementObserver())
        statementObserver()(positional);
    if (!query.prepare(positional))
        throw DbError(QStringLiteral("Ошибка базы данных: %1\n(%2)")
                          .arg(dbErrorText(query.lastError()), firstLine(sql)));
    for (const QString &name : std::as_const(names))
        query.addBindValue(toStorage(params.value(name)));
    if (!query.exec())
        throw DbError(QStringLiteral("Ошибка базы данных: %1\n(%2)")
                          .arg(dbErrorText(query.lastError()), firstLine(sql)));
}

Dataset::Dataset(Connection *connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{
    connect(connection, &Connection::closing, this, &Dataset::close);
}

void Dataset::open()
{
    load();
    m_open = true;
    emit rowsReset();
    first();
}

void Dataset::close()
{
    if (!m_open && m_rowCount == 0)
        return;
    m_open = false;
    m_rows.clear();
    m_pages.clear();
    m_rowCount = 0;
    m_columns.clear();
    m_row = -1;
    m_bof = m_eof = true;
    emit rowsReset();
}

void Dataset::refresh()
{
    if (!m_open) {
        open();
        return;
    }
    const int previous = m_row;
    load();
    emit rowsReset();
    const int row = rowAfterRefresh(previous);
    m_row = isEmpty() ? -1 : qBound(0, row, m_rowCount - 1);
    m_bof = m_eof = isEmpty();
}

int Dataset::rowAfterRefresh(int previousRow)
{
    return previousRow;
}

void Dataset::load()
{
    if (!m_connection)
        throw DbError(QStringLiteral("Нет подключения к базе данных"));
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    execSelect(query);

    // The declared type of each result column tells money and dates apart from plain numbers.
    sqlite3_stmt *stmt = statementHandle(query);
    const QSqlRecord record = query.record();
    QList<Column> columns;
    for (int i = 0; i < record.count(); ++i) {
        const char *declared = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
        const ColumnKind kind = m_declaredKinds.value(
            record.fieldName(i).toLower(),
            declared ? columnKindOf(QString::fromUtf8(declared)) : ColumnKind::Other);
        columns.append({record.fieldName(i), kind});
    }
    m_columns = std::move(columns);
    QList<Row> rows = readRows(query);
    m_pages.clear();
    if (m_windowed) {
        m_rowCount = execCount();
        m_pages.insert(0, std::move(rows));
        m_rows.clear();
    } else {
        m_rowCount = int(rows.size());
        m_rows = std::move(rows);
    }
}

QList<Dataset::Row> Dataset::readRows(QSqlQuery &query) const
{
    QList<Row> rows;
    while (query.next()) {
        Row row;
        row.reserve(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            row.append(fromStorage(query.value(i), m_columns.at(i).kind));
        rows.append(std::move(row));
    }
    if (query.lastError().isValid())
        throw DbError(QStringLiteral("Ошибка базы данных: %1").arg(query.lastError().text()));
    return rows;
}

const Dataset::Row &Dataset::rowAt(int row) const
{
    if (!m_windowed)
        return m_rows.at(row);
    const int page = row / pageSize;
    auto found = m_pages.constFind(page);
    if (found == m_pages.constEnd()) {
        QSqlQuery query(m_connection->database());
        query.setForwardOnly(true);
        const_cast<Dataset *>(this)->execPage(query, page * pageSize);
        found = m_pages.insert(page, readRows(query));
    }
    // Rows removed since the opening read as empty.
    static const Row removed;
    const qsizetype inPage = row - qsizetype(page) * pageSize;
    return inPage < found->size() ? found->at(inPage) : removed;
}

void Dataset::execPage(QSqlQuery &, int)
{
    throw DbError(QStringLiteral("Набор данных не читается страницами"));
}

int Dataset::execCount()
{
    throw DbError(QStringLiteral("Набор данных не читается страницами"));
}

void Dataset::setCurrentRow(int row)
{
    m_row = isEmpty() ? -1 : qBound(0, row, m_rowCount - 1);
    m_bof = m_eof = false;
    emit afterScroll();
}

void Dataset::first()
{
    setCurrentRow(0);
    m_bof = true;
    m_eof = isEmpty();
}

void Dataset::last()
{
    setCurrentRow(m_rowCount - 1);
    m_eof = true;
    m_bof = isEmpty();
}

void Dataset::next()
{
    if (isEmpty() || m_row >= m_rowCount - 1) {
        m_eof = true;
        return;
    }
    setCurrentRow(m_row + 1);
}

void Dataset::prior()
{
    if (isEmpty() || m_row <= 0) {
        m_bof = true;
        return;
    }
    setCurrentRow(m_row - 1);
}

void Dataset::moveTo(int row)
{
    setCurrentRow(row);
}

void Dataset::setColumnKind(const QString &name, ColumnKind kind)
{
    m_declaredKinds.insert(name.toLower(), kind);
}

int Dataset::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Dataset::columnIndexOrThrow(const QString &name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("Поле «%1» не найдено").arg(name));
    return index;
}

Field Dataset::field(const QString &name) const
{
    const int column = columnIndexOrThrow(name);
    const QVariant value = m_row >= 0 ? this->value(m_row, column) : QVariant();
    return Field(m_columns.at(column).name, value, m_columns.at(column).kind);
}
