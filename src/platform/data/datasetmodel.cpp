#include "datasetmodel.h"

#include "dataset.h"
#include "money.h"

#include <QDateTime>
#include <QLocale>

QString displayValue(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.metaType() == QMetaType::fromType<Money>())
        return QLocale::system().toString(value.value<Money>().toDouble(), 'f', 2);
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                         : dt.toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

DatasetModel::DatasetModel(Dataset *dataset, const QList<GridColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset)
    , m_columns(columns)
{
    connect(dataset, &Dataset::rowsReset, this, [this] { datasetRowsReset(); });
}

void DatasetModel::datasetRowsReset()
{
    beginResetModel();
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataset ? 0 : m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetModel::displayText(int row, int column) const
{
    const int datasetColumn = m_dataset->columnIndex(m_columns.at(column).field);
    return datasetColumn < 0 ? QString() : displayValue(m_dataset->value(row, datasetColumn));
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_dataset || index.row() >= m_dataset->recordCount())
        return {};
    if (role == Qt::DisplayRole)
        return displayText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(m_columns.at(index.column()).alignment);
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}
