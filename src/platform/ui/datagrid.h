#pragma once

#include "platform/data/datasetmodel.h"

#include <QPointer>
#include <QTableView>

// A read-only grid over a dataset whose highlighted row is the dataset's current row: choosing
// a row moves the dataset there, and moving the dataset moves the highlight.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setDataset(Dataset *dataset, const QList<GridColumn> &columns);
    Dataset *dataset() const { return m_dataset; }

private:
    void showCurrentRow();
    void rowChosen(const QModelIndex &current);

    QPointer<Dataset> m_dataset;
    DatasetModel *m_model = nullptr;
    bool m_following = false;
};
