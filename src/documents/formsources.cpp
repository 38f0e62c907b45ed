#include "formsources.h"

#include "db/datamodule.h"
#include "documents/documentcommands.h"
#include "platform/report/datasetrowsource.h"

void bindFormSources(ReportLayout &layout, TfDM &dm)
{
    const std::pair<QString, const Dataset *> sources[] = {
        {FormSource::station, &dm.tabFILIAL},
        {FormSource::requisites, &dm.adoqFILIAL},
        {FormSource::zActive, &dm.adoqZActive},
        {FormSource::zSum, &dm.adoqZsum},
        {FormSource::journal, &dm.adoqZKM4},
    };
    for (const auto &[name, dataset] : sources)
        layout.setSource(name, std::make_shared<DatasetRowSource>(dataset));
}

QString stationRequisite(TfDM &dm, const QString &column)
{
    openIfClosed(dm.tabFILIAL);
    return dm.tabFILIAL.isEmpty() ? QString() : dm.tabFILIAL.field(column).asString();
}
