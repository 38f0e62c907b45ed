#include "rowsource.h"

MemoryRowSource::MemoryRowSource(const QStringList &columns)
    : m_columns(columns)
{}

MemoryRowSource MemoryRowSource::blankRows(int count)
{
    MemoryRowSource source;
    for (int i = 0; i < count; ++i)
        source.appendRow({});
    return source;
}

void MemoryRowSource::appendRow(const QVariantList &values)
{
    m_rows.append(values);
}

QVariant MemoryRowSource::value(int row, const QString &column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return m_rows.at(row).value(i);
    }
    return {};
}
