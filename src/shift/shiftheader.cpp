// Shift operations of the main window that fill and read the shift header.
#include "app/mainwindow.h"
#include "db/datamodule.h"

#include "platform/data/money.h"

#include <QComboBox>

void TfMain::checkKassZList()
{
    // Every register without a base row gets one: the "previous Z-report" of its first real one.
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringList{
        "INSERT INTO zotchet ( idkkm, idzsit, sumkass, narprod ) ",
        " SELECT kkm.idkkm, 2 AS Выражение1, 0 AS Выражение2, :baseNarProd AS Выражение3 ",
        " FROM kkm ",
        " WHERE (((0)=(select count(*) from zotchet where idkkm = kkm.idkkm and idzsit = 2)));"});
    adoq.clearParams();
    adoq.setParam(QStringLiteral("baseNarProd"), QVariant::fromValue(Money::fromDouble(1.11)));
    adoq.execSql();
    m_dm->adoqZposledn.close();
    m_dm->adoqZposledn.open();
}

QString TfMain::operatorNameById(qint32 id)
{
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("select operatorfio from azsoper where idOperator = :id"));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("id"), id);
    adoq.open();
    const QString name = adoq.recordCount() == 1 ? adoq.field(QStringLiteral("operatorfio")).asString()
                                                 : QStringLiteral("Оператор №%1").arg(id);
    adoq.close();
    return name;
}

void TfMain::selectOpersInLists()
{
    showPlaceholder(ComBoxOper);
    showPlaceholder(ComBoxOper2);
    const qint32 first = m_dm->tabDOVRA.field(QStringLiteral("idOperator")).asInteger();
    const qint32 second = m_dm->tabDOVRA.field(QStringLiteral("idOperator2")).asInteger();
    for (int k = 1; k <= operCount; ++k) {
        if (operIds[k] == first)
            ComBoxOper->setCurrentIndex(k - 1);
        if (operIds[k] == second)
            ComBoxOper2->setCurrentIndex(k - 1);
    }
    // An operator who no longer works is shown by name, without a selection.
    if (ComBoxOper->currentText() == chooseOperatorText && first > 0)
        ComBoxOper->setEditText(operatorNameById(first));
    if (ComBoxOper2->currentText() == chooseOperatorText && second > 0)
        ComBoxOper2->setEditText(operatorNameById(second));
}
