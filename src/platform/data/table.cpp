#include "table.h"

#include "connection.h"
#include "errors.h"

#include <QSqlQuery>

Table::Table(Connection *connection, const QString &tableName, QObject *parent)
    : Dataset(connection, parent)
    , m_tableName(tableName)
{
}

void Table::setColumns(const QStringList &columns)
{
    m_columnsWanted = columns;
}

void Table::addLookupColumn(const LookupColumn &lookup)
{
    m_lookups.append(lookup);
}

void Table::setSort(const QString &column)
{
    m_sort = column;
}

void Table::readSchema()
{
    m_declaredTypes = connection()->declaredTypes(m_tableName);
    if (m_declaredTypes.isEmpty())
        throw DbError(QStringLiteral("В базе данных нет таблицы %1").arg(m_tableName));
    m_keyColumn.clear();
    QSqlQuery query(connection()->database());
    runStatement(query, QStringLiteral("SELECT name FROM pragma_table_info(:t) WHERE pk = 1"),
                 {{QStringLiteral("t"), m_tableName}});
    if (query.next())
        m_keyColumn = query.value(0).toString();
}

QString Table::keyColumnName() const
{
    return m_keyColumn.isEmpty() ? QStringLiteral("rowid") : m_keyColumn;
}

void Table::execSelect(QSqlQuery &query)
{
    m_refreshKey = m_postedKey.isNull() ? currentKey() : m_postedKey;
    m_postedKey.clear();
    readSchema();
    if (isWindowed() && !m_sort.isEmpty())
        throw DbError(QStringLiteral("Таблица %1 читается страницами только в порядке ключа").arg(m_tableName));
    m_select = selectStatement();
    if (isWindowed())
        execPage(query, 0);
    else
        runStatement(query, m_select, {});
}

void Table::execPage(QSqlQuery &query, int offset)
{
    runStatement(query, m_select + QStringLiteral(" LIMIT :limit OFFSET :offset"),
                 {{QStringLiteral("limit"), pageSize}, {QStringLiteral("offset"), offset}});
}

int Table::execCount()
{
    QSqlQuery query(connection()->database());
    runStatement(query, QStringLiteral("SELECT count(*) FROM %1").arg(quotedIdentifier(m_tableName)), {});
    return query.next() ? query.value(0).toInt() : 0;
}

QString Table::selectStatement() const
{
    QStringList select;
    // A table without a declared key is keyed by its rowid, which the rows carry so that a
    // row can be kept across a refresh and changed.
    if (m_keyColumn.isEmpty())
        select << QStringLiteral("t.rowid AS rowid");
    if (m_columnsWanted.isEmpty()) {
        select << QStringLiteral("t.*");
    } else {
        for (const QString &column : std::as_const(m_columnsWanted)) {
            if (!m_declaredTypes.contains(column.toLower()))
                throw DbError(QStringLiteral("В таблице %1 нет поля %2").arg(m_tableName, column));
            select << QStringLiteral("t.") + quotedIdentifier(column);
        }
    }
    for (const LookupColumn &lookup : std::as_const(m_lookups)) {
        if (!connection()->columnExists(lookup.lookupTable, lookup.resultColumn)
            || !connection()->columnExists(lookup.lookupTable, lookup.lookupKey)
            || !m_declaredTypes.contains(lookup.localKey.toLower()))
            throw DbError(QStringLiteral("Поле подстановки «%1» задано неверно").arg(lookup.name));
        select << QStringLiteral("(SELECT l.%1 FROM %2 l WHERE l.%3 = t.%4 LIMIT 1) AS %5")
                      .arg(quotedIdentifier(lookup.resultColumn), quotedIdentifier(lookup.lookupTable),
                           quotedIdentifier(lookup.lookupKey), quotedIdentifier(lookup.localKey),
                           quotedIdentifier(lookup.name));
    }
    QString order = QStringLiteral("t.") + quotedIdentifier(keyColumnName());
    if (!m_sort.isEmpty()) {
        if (!m_declaredTypes.contains(m_sort.toLower()))
            throw DbError(QStringLiteral("В таблице %1 нет поля %2").arg(m_tableName, m_sort));
        order.prepend(QStringLiteral("t.%1, ").arg(quotedIdentifier(m_sort)));
    }
    return QStringLiteral("SELECT %1 FROM %2 t ORDER BY %3")
        .arg(select.join(QStringLiteral(", ")), quotedIdentifier(m_tableName), order);
}

QVariant Table::currentKey() const
{
    const int column = columnIndex(keyColumnName());
    return column >= 0 && recNo() >= 0 ? value(recNo(), column) : QVariant();
}

int Table::rowOfKey(const QVariant &key) const
{
    const int column = columnIndex(keyColumnName());
    if (column < 0 || key.isNull())
        return -1;
    if (isWindowed()) {
        // In key order the row of a key is the number of keys before it.
        QSqlQuery query(connection()->database());
        runStatement(query, QStringLiteral("SELECT count(*) FROM %1 WHERE %2 < :key")
                                .arg(quotedIdentifier(m_tableName), quotedIdentifier(keyColumnName())),
                     {{QStringLiteral("key"), key}});
        const int row = query.next() ? query.value(0).toInt() : -1;
        return row >= 0 && row < recordCount() && value(row, column) == key ? row : -1;
    }
    for (int row = 0; row < recordCount(); ++row)
        if (value(row, column) == key)
            return row;
    return -1;
}

int Table::rowAfterRefresh(int previousRow)
{
    const int row = rowOfKey(m_refreshKey);
    return row >= 0 ? row : previousRow;
}

bool Table::locate(const QVariant &key)
{
    const int row = rowOfKey(key);
    if (row < 0)
        return false;
    moveTo(row);
    return true;
}

void Table::requireBrowse() const
{
    if (m_state != State::Browse)
        throw DbError(QStringLiteral("Таблица %1 уже редактируется").arg(m_tableName));
}

void Table::append()
{
    requireBrowse();
    if (!isOpen())
        open();
    m_buffer.clear();
    m_state = State::Insert;
    emit afterScroll();
}

void Table::edit()
{
    requireBrowse();
    if (recNo() < 0)
        throw DbError(QStringLiteral("В таблице %1 нет строки для изменения").arg(m_tableName));
    m_buffer.clear();
    for (int column = 0; column < columnCount(); ++column)
        if (m_declaredTypes.contains(columnName(column).toLower()))
            m_buffer.insert(columnName(column).toLower(), value(recNo(), column));
    m_state = State::Edit;
}

void Table::setValue(const QString &column, const QVariant &value)
{
    if (m_state == State::Browse)
        throw DbError(QStringLiteral("Таблица %1 не в режиме редактирования").arg(m_tableName));
    const QString key = column.toLower();
    const auto type = m_declaredTypes.constFind(key);
    if (type == m_declaredTypes.constEnd())
        throw DbError(QStringLiteral("В таблице %1 нет поля %2").arg(m_tableName, column));
    m_buffer.insert(key, coerceToKind(value, columnKindOf(type.value())));
}

Field Table::field(const QString &name) const
{
    if (m_state == State::Browse)
        return Dataset::field(name);
    const QString key = name.toLower();
    const auto type = m_declaredTypes.constFind(key);
    if (type == m_declaredTypes.constEnd())
        return Dataset::field(name);
    return Field(name, m_buffer.value(key), columnKindOf(type.value()));
}

void Table::post()
{
    if (m_state == State::Browse)
        return;
    QStringList columns;
    QHash<QString, QVariant> params;
    const QString keyName = keyColumnName().toLower();
    for (auto it = m_buffer.cbegin(); it != m_buffer.cend(); ++it) {
        if (it.key() == keyName)
            continue;
        const QString param = QStringLiteral("p%1").arg(columns.size());
        columns << it.key();
        params.insert(param, it.value());
    }
    QSqlQuery query(connection()->database());
    if (m_state == State::Insert) {
        QStringList names, values;
        for (int i = 0; i < columns.size(); ++i) {
            names << quotedIdentifier(columns.at(i));
            values << QStringLiteral(":p%1").arg(i);
        }
        const QString sql = columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedIdentifier(m_tableName))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quotedIdentifier(m_tableName), names.join(u','), values.join(u','));
        runStatement(query, sql, params);
        m_postedKey = query.lastInsertId();
    } else {
        QStringList assignments;
        for (int i = 0; i < columns.size(); ++i)
            assignments << QStringLiteral("%1 = :p%2").arg(quotedIdentifier(columns.at(i)), QString::number(i));
        m_postedKey = currentKey();
        params.insert(QStringLiteral("key"), m_postedKey);
        if (!assignments.isEmpty())
            runStatement(query, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :key")
                                    .arg(quotedIdentifier(m_tableName), assignments.join(u','),
                                         quotedIdentifier(keyColumnName())),
                         params);
    }
    m_state = State::Browse;
    m_buffer.clear();
    refresh();
}

void Table::cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
}
