#include "datasetrowsource.h"

#include "platform/data/dataset.h"

DatasetRowSource::DatasetRowSource(const Dataset *dataset)
    : m_dataset(dataset)
{}

int DatasetRowSource::rowCount() const
{
    return m_dataset ? m_dataset->recordCount() : 0;
}

int DatasetRowSource::currentRow() const
{
    return m_dataset ? m_dataset->recNo() : -1;
}

QVariant DatasetRowSource::value(int row, const QString &column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const int index = m_dataset->columnIndex(column);
    return index < 0 ? QVariant() : m_dataset->value(row, index);
}
