#include "refdataqueries.h"

#include "db/datamodule.h"

void storeRegisterCount(TfDM &dm, int count)
{
    dm.adoq3.setSql(QStringLiteral("update param set valnumber = :v Where parname= 'nkass';"));
    dm.adoq3.setParam(QStringLiteral("v"), count);
    dm.adoq3.execSql();
}

// The register is told apart by its key, not by its serial number: a register whose serial
// number is empty or the same as another's would otherwise escape the check.
bool registerNumberTaken(TfDM &dm, int number, qint32 idKKM)
{
    dm.adoq3.setSql(QStringList{
        "select idKKM from KKM Where (idKKMSost=1) and (nKass = :ikassnew)",
        "and (idKKM <> :idkkm);"});
    dm.adoq3.setParam(QStringLiteral("ikassnew"), number);
    dm.adoq3.setParam(QStringLiteral("idkkm"), idKKM);
    dm.adoq3.open();
    const bool taken = !dm.adoq3.isEmpty();
    dm.adoq3.close();
    return taken;
}
