#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

// Rows with named columns, as a report reads them. Column names compare without regard to
// case, as the database's do.
class RowSource
{
public:
    virtual ~RowSource() = default;

    virtual int rowCount() const = 0;
    // The row that fields outside a detail band show; -1 when there is none.
    virtual int currentRow() const = 0;
    // Null when the row or the column does not exist.
    virtual QVariant value(int row, const QString &column) const = 0;
};

// Rows held in memory: test data, or the empty lines of a blank form.
class MemoryRowSource : public RowSource
{
public:
    explicit MemoryRowSource(const QStringList &columns = {});

    // count rows without columns: every field bound to them prints empty.
    static MemoryRowSource blankRows(int count);

    // Values in the order of the columns; missing ones are null.
    void appendRow(const QVariantList &values);

    int rowCount() const override { return int(m_rows.size()); }
    int currentRow() const override { return m_rows.isEmpty() ? -1 : 0; }
    QVariant value(int row, const QString &column) const override;

private:
    QStringList m_columns;
    QList<QVariantList> m_rows;
};
