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
    // The same with a model of the caller's (one that lets cells be edited, say); the grid takes
    // it over. Rows the model shows beyond the dataset's (a row being entered) have no dataset
    // row: choosing one leaves the dataset on its last row.
    void setDatasetModel(DatasetModel *model);
    Dataset *dataset() const { return m_dataset; }

private:
    void showCurrentRow();
    void rowChosen(const QModelIndex &current);

    QPointer<Dataset> m_dataset;
    DatasetModel *m_model = nullptr;
    bool m_following = false;
};
