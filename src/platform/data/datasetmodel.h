#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

class Dataset;

// One shown column of a grid: the field it shows, its heading, its width in characters.
struct GridColumn
{
    QString field;
    QString title;
    int widthChars = 10;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A read-only view of a dataset's rows for a grid.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    DatasetModel(Dataset *dataset, const QList<GridColumn> &columns, QObject *parent = nullptr);

    Dataset *dataset() const { return m_dataset; }
    const QList<GridColumn> &gridColumns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // The dataset read its rows again: the default starts the model afresh, which closes an
    // open editor and forgets the current cell.
    virtual void datasetRowsReset();

private:
    QString displayText(int row, int column) const;

    QPointer<Dataset> m_dataset;
    QList<GridColumn> m_columns;
};

// A stored value as a grid or a label shows it: dates dd.MM.yyyy, money with two decimals and
// the system's decimal separator, yes/no as True/False.
QString displayValue(const QVariant &value);
