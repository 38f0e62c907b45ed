#pragma once

#include "rowsource.h"

#include <QPointer>

class Dataset;

// A dataset's rows as a report reads them: the rows of its last opening, its cursor as the
// current row. A closed or deleted dataset has no rows.
class DatasetRowSource : public RowSource
{
public:
    explicit DatasetRowSource(const Dataset *dataset);

    int rowCount() const override;
    int currentRow() const override;
    QVariant value(int row, const QString &column) const override;

private:
    QPointer<const Dataset> m_dataset;
};
