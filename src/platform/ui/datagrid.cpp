#include "datagrid.h"

#include "platform/data/dataset.h"

#include <QHeaderView>

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setHighlightSections(false);
}

void DataGrid::setDataset(Dataset *dataset, const QList<GridColumn> &columns)
{
    setDatasetModel(new DatasetModel(dataset, columns, this));
}

void DataGrid::setDatasetModel(DatasetModel *model)
{
    if (m_dataset)
        m_dataset->disconnect(this);
    if (m_model != model)
        delete m_model;
    Dataset *dataset = model->dataset();
    const QList<GridColumn> &columns = model->gridColumns();
    m_dataset = dataset;
    m_model = model;
    m_model->setParent(this);
    setModel(m_model);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns.at(i).widthChars * charWidth + 12);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current); });
    connect(dataset, &Dataset::afterScroll, this, &DataGrid::showCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::showCurrentRow);
    showCurrentRow();
}

void DataGrid::showCurrentRow()
{
    if (!m_dataset || m_dataset->recNo() < 0 || m_following)
        return;
    const QModelIndex index = m_model->index(m_dataset->recNo(), qMax(0, currentIndex().column()));
    if (index.row() == currentIndex().row())
        return;
    m_following = true;
    setCurrentIndex(index);
    scrollTo(index);
    m_following = false;
}

void DataGrid::rowChosen(const QModelIndex &current)
{
    if (m_following || !m_dataset || !current.isValid() || current.row() == m_dataset->recNo())
        return;
    m_following = true;
    m_dataset->moveTo(current.row());
    m_following = false;
}
