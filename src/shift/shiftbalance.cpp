// The shift cash balance: the control totals of the shift and the closing balance of every
// Z-report after its corrections.
#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

// Totals are shown in the locale's number format: thousands separated, two decimals.
// Set only when it changes: a new style sheet restyles the widget, at every field left.
void setKontrolColour(QWidget *widget, bool balanced)
{
    const QString sheet = balanced ? QStringLiteral("color: rgb(0, 0, 0)") : QStringLiteral("color: rgb(210, 0, 0)");
    if (widget->styleSheet() != sheet)
        widget->setStyleSheet(sheet);
}

} // namespace

void TfMain::dovraControl()
{
    bool ok = true;
    double encashment = 0;
    double deposits = 0;
    double withdrawals = 0;
    double balance = 0;
    for (int i = 1; i <= kassPanelCount; ++i) {
        const TZOtchet *panel = kassPanels[i];
        if (!panel)
            return;
        if (panel->isLocked())
            ok = false;
        const QString inkass = panel->edit(QStringLiteral("INKASS"))->text();
        if (!inkass.isEmpty())
            encashment += strToFloat(inkass);
        const QString vnos = panel->edit(QStringLiteral("VNOS"))->text();
        if (!vnos.isEmpty())
            deposits += strToFloat(vnos);
        const QString vinos = panel->edit(QStringLiteral("VINOS"))->text();
        if (!vinos.isEmpty())
            withdrawals += strToFloatClean(vinos);
        const QString sumKass = panel->edit(QStringLiteral("SUMKASS"))->text();
        if (!sumKass.isEmpty())
            balance += strToFloatClean(sumKass);
        if (!panel->km6Button()->isEnabled())
            ok = false;
    }
    MemoINKASScommon->setText(groupedAmountText(encashment));

    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("select sum(KorrInkass) from zkorr where idz in "
                               "(select idz from zotchet where iddovra = :iddovra)"));
    adoq.setParam(QStringLiteral("iddovra"), curIdDovra);
    adoq.setColumnKind(QStringLiteral("sum(KorrInkass)"), ColumnKind::Money);
    adoq.open();
    const double corrective = adoq.field(adoq.columnName(0)).asFloat();
    adoq.close();
    MemoINKASSKorrcommon->setText(groupedAmountText(corrective));

    double control = encashment;
    if (corrective != 0)
        control -= corrective;
    const QString bags = memoSumINKASSvsekv->text();
    if (!bags.isEmpty())
        control -= strToFloat(bags);
    MemoKONTROL->setText(groupedAmountText(control));
    MemoVNOScommon->setText(groupedAmountText(deposits));
    MemoVINOScommon->setText(groupedAmountText(withdrawals));
    MemoNalOSTATOKcommon->setText(groupedAmountText(balance));

    const bool balanced = -0.0001 < control && control < 0.0001;
    setKontrolColour(lblKONTROL, balanced);
    setKontrolColour(MemoKONTROL, balanced);
    btnDataAccept->setEnabled(ok && qAbs(control) < 0.00001);
}

void TfMain::updateRealSum()
{
    if (shiftRowLocked())
        return;
    Query &rows = m_dm->adoq;
    rows.setSql(QStringList{
        "SELECT e.idz, IIF( k.nal IS NULL, ",
        " (select sumkass from zotchet where idz = (select max(idz) from zotchet where idz < e.idz and idkkm = e.idkkm) )",
        " +nalprod-nalvozvrat+vnos-vinos-inkass",
        " - IFNULL(k.korrvnos,0) + IFNULL(k.korrvinos,0) + IFNULL(k.korrinkass,0)",
        // Card refunds rung up as cash ones never left the register: they add to its cash.
        " + ( IFNULL(k.nalkakbnal,0)-IFNULL(k.bnalkaknal,0) - IFNULL(k.vnalkakbnal,0)+IFNULL(k.vbnalkaknal,0) ),",
        " k.nal) as nal ",
        "from zotchet e left join zkorr as k on k.idz =e.idz ",
        "where iddovra = :idDovra"});
    rows.setParam(QStringLiteral("idDovra"), curIdDovra);
    rows.setColumnKind(QStringLiteral("nal"), ColumnKind::Money);
    rows.open();
    Query &update = m_dm->adoq2;
    update.setSql(QStringLiteral("update zotchet set sumkassreal = :sum where idz = :idz"));
    for (rows.first(); !rows.eof(); rows.next()) {
        const Field closing = rows.field(QStringLiteral("nal"));
        if (closing.isNull())
            continue;
        update.setParam(QStringLiteral("sum"), QVariant::fromValue(closing.asMoney()));
        update.setParam(QStringLiteral("idz"), rows.field(QStringLiteral("idz")).asInteger());
        if (update.execSql() != 1) {
            showMessage(QStringLiteral("ошибка в актах корректировки"));
            break;
        }
    }
    rows.close();
}
