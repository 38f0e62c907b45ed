// Shift operations of the main window: the shift row, its states (new, open, archive) and the
// reload of the shift view.
#include "app/mainwindow.h"
#include "db/datamodule.h"
#include "zreport/kassatemplate.h"
#include "zreport/zotchet.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

// Restores the reload guard however the guarded work ends, so that one failed statement does
// not leave the shift view frozen until the program is restarted.
class BusyGuard
{
public:
    BusyGuard(bool &flag, bool valueAfter)
        : m_flag(flag)
        , m_valueAfter(valueAfter)
    {
        m_flag = true;
    }
    ~BusyGuard() { m_flag = m_valueAfter; }

private:
    bool &m_flag;
    bool m_valueAfter;
};

} // namespace

bool TfMain::isArchiveMode() const
{
    return rbArchive->isChecked();
}

void TfMain::setArchiveMode(bool archive)
{
    // setChecked raises no click, so the reload does not run again from here.
    (archive ? rbArchive : rbNewShift)->setChecked(true);
}

bool TfMain::shiftRowLocked() const
{
    const Table &shifts = m_dm->tabDOVRA;
    return !shifts.isEmpty() && shifts.field(QStringLiteral("smLocked")).asBoolean();
}

// A shift table without any row is treated as if its last shift were accepted, so that the
// first shift of a new station is opened the usual way.
bool TfMain::needsNewShiftRow() const
{
    return m_dm->tabDOVRA.isEmpty() || shiftRowLocked();
}

// The key of the operator a list shows: the entry whose name it shows; for a name that is no
// entry (an operator who no longer works, shown by selectOpersInLists) the key already stored.
QVariant TfMain::operatorKey(const QComboBox *list, const QVariant &stored) const
{
    const int index = list->findText(list->currentText(), Qt::MatchExactly);
    if (index >= 0 && index < operCount)
        return operIds[index + 1];
    return list->currentText() == chooseOperatorText ? QVariant() : stored;
}

void TfMain::buildKassPanels()
{
    if (!gbKassa)
        gbKassa = buildKassaTemplate(pnlDovraRed);
    for (int i = 1; i <= kassPanelCount; ++i) {
        auto *panel = new TZOtchet(this, gbKassa);
        panel->move(panel->width() * (i - 1) + gbKassa->x() + 5, panel->y());
        kassPanels[i] = panel;
        if (curIdDovra <= 0)
            continue;
        Query &adoq = m_dm->adoq;
        adoq.setSql(QStringLiteral("select idKKM, NPROIZV, NREG from kkm Where nkass = :nkass and "
                                   "idKKMsost=1 order by nkass"));
        adoq.setParam(QStringLiteral("nkass"), i);
        adoq.open();
        if (adoq.recordCount() == 1)
            panel->loadZ(adoq, curIdDovra);
        adoq.close();
    }
    buildFocusOrder();
}

void TfMain::clearAll()
{
    kassPanelsAtBuild = 0;
    for (int i = 1; i <= kassPanelCount; ++i) {
        if (TZOtchet *panel = kassPanels[i]) {
            panel->hide();
            // The panel may be on the call stack (its own focus or button handler).
            panel->deleteLater();
        }
        kassPanels[i] = nullptr;
    }
    kassPanelCount = -1;
    operCount = 0;
    ComBoxOper->clear();
    ComBoxOper2->clear();

    edNSMBUKTS->clear();
    edNSMBUKTS->setReadOnly(false);
    edSMDate->setText(QDate::currentDate().toString(dateFormat));
    for (QComboBox *list : {ComBoxOper, ComBoxOper2}) {
        showPlaceholder(list);
        list->setEnabled(true);
    }
    curIdDovra = 0;
    loadInkass(0, nullptr);
    dovraLoaded = false;
}

void TfMain::FromDovraToZ(QObject *sender)
{
    if (isArchiveMode())
        return;
    const QVariant storedOperator = needsNewShiftRow() ? QVariant()
                                                       : m_dm->tabDOVRA.field(QStringLiteral("idOperator")).value();
    const bool noOperator = operatorKey(ComBoxOper, storedOperator).isNull();
    if (sender == edNSMBUKTS && !edNSMBUKTS->text().isEmpty() && noOperator) {
        ComBoxOper->setFocus();
        return;
    }
    if (edNSMBUKTS->text().isEmpty() || noOperator)
        return;
    {
        BusyGuard guard(dovraBusy, dovraBusy);
        writeShiftRow();
        curIdDovra = m_dm->tabDOVRA.field(QStringLiteral("idDOVRA")).asInteger();
    }
    FromDovraToZGo();
}

void TfMain::writeShiftRow()
{
    Table &shifts = m_dm->tabDOVRA;
    const bool newShift = needsNewShiftRow();
    const QVariant stored1 = newShift ? QVariant() : shifts.field(QStringLiteral("idOperator")).value();
    const QVariant stored2 = newShift ? QVariant() : shifts.field(QStringLiteral("idOperator2")).value();
    if (newShift)
        shifts.append();
    else
        shifts.edit();
    try {
        shifts.setValue(QStringLiteral("DovraNBUKTS"), edNSMBUKTS->text());
        shifts.setValue(QStringLiteral("DovraDate"), QDate::fromString(edSMDate->text(), dateFormat));
        shifts.setValue(QStringLiteral("idOperator"), operatorKey(ComBoxOper, stored1));
        shifts.setValue(QStringLiteral("idOperator2"), operatorKey(ComBoxOper2, stored2));
        if (newShift)
            shifts.setValue(QStringLiteral("smLocked"), false);
        shifts.post();
    } catch (...) {
        shifts.cancel();
        throw;
    }
    m_dm->adoqSMposledn.close();
    m_dm->adoqSMposledn.open();
}

void TfMain::FromDovraToZGo()
{
    loadPanels(false);
    loadInkass(curIdDovra, encashmentFocusTarget());
}

// The bags are entered before the first register's Z-report.
QWidget *TfMain::encashmentFocusTarget() const
{
    return kassPanelCount >= 1 && kassPanels[1] ? kassPanels[1]->edit(QStringLiteral("ZDOC")) : edNSMBUKTS;
}

// Panel i shows the i-th active register in register-number order. A panel with no register
// of its own loads nothing, rather than a second view of the last register's row.
void TfMain::loadPanels(bool locked)
{
    Query &registers = m_dm->adoqZposledn;
    for (int i = 1; i <= kassPanelCount; ++i) {
        if (i <= registers.recordCount()) {
            registers.moveTo(i - 1);
            kassPanels[i]->loadZ(registers, curIdDovra);
        }
        kassPanels[i]->setLocked(locked);
    }
}

void TfMain::rgNovDOVRAClick(QObject *sender)
{
    if (kassPanelCount <= 0 || dovraBusy || !m_dm || !m_dm->adoqZposledn.isOpen())
        return;
    Table &shifts = m_dm->tabDOVRA;
    BusyGuard guard(dovraBusy, false);
    if (sender == rgNovDOVRA && !isArchiveMode() && needsNewShiftRow()) {
        clearAll();
        FormActivate();
        btnDataBackToEdit->setEnabled(false);
        return;
    }
    if (sender == rgNovDOVRA) {
        shifts.last();
        if (!shiftRowLocked())
            shifts.prior(); // the open shift: show the latest accepted one
        else
            btnDataBackToEdit->setEnabled(true);
    } else {
        btnDataBackToEdit->setEnabled(!shifts.isEmpty() && shifts.recNo() == shifts.recordCount() - 1);
    }
    curIdDovra = shifts.field(QStringLiteral("idDOVRA")).asInteger();
    // Only the last row can be open, so an open row shown here is the last one.
    const bool locked = shiftRowLocked();
    setArchiveMode(locked);
    if (!locked)
        btnDataBackToEdit->setEnabled(false);

    loadPanels(locked);
    // The encashment's total brings the control totals, which decide the acceptance button.
    loadInkass(curIdDovra, locked ? nullptr : encashmentFocusTarget());
    selectOpersInLists();
    edNSMBUKTS->setText(shifts.field(QStringLiteral("DovraNBUKTS")).asString());
    edNSMBUKTS->setReadOnly(locked);
    const QDate shiftDate = shifts.field(QStringLiteral("DovraDate")).asDateTime().date();
    edSMDate->setText(shiftDate.isValid() ? shiftDate.toString(dateFormat)
                                          : QDate::currentDate().toString(dateFormat));
    ComBoxOper->setEnabled(!locked);
    ComBoxOper2->setEnabled(!locked);
}

void TfMain::btnDataAcceptClick()
{
    Table &shifts = m_dm->tabDOVRA;
    shifts.last();
    updateRealSum();
    shifts.edit();
    shifts.setValue(QStringLiteral("smLocked"), true);
    shifts.setValue(QStringLiteral("kkass"), kassPanelsAtBuild);
    shifts.post();
    btnDataAccept->setEnabled(false);
    btnDataBackToEdit->setEnabled(true);
    rgNovDOVRAClick(btnDataAccept);
    dovraAccepted = true;
}

void TfMain::btnDataBackToEditClick()
{
    Table &shifts = m_dm->tabDOVRA;
    shifts.last();
    shifts.edit();
    shifts.setValue(QStringLiteral("smLocked"), false);
    shifts.post();
    btnDataAccept->setEnabled(true);
    btnDataBackToEdit->setEnabled(false);
    rgNovDOVRAClick(btnDataBackToEdit);
}

void TfMain::btnSMDateClick()
{
    if (isArchiveMode())
        return;
    const bool back = btnSMDate->text() == QStringLiteral("<<");
    const QDate date = back ? QDate::currentDate().addDays(-1) : QDate::currentDate();
    edSMDate->setText(date.toString(dateFormat));
    btnSMDate->setText(back ? QStringLiteral(">>") : QStringLiteral("<<"));

    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("update dovra set DovraDate = :DovraDate where smLocked = false"));
    adoq.setParam(QStringLiteral("DovraDate"), date);
    adoq.execSql();
    m_dm->tabDOVRA.refresh();

    // The encashment is dated the day before the shift.
    btnDateINKASS->setText(QStringLiteral(">>"));
    memoDateINKASS->setText(date.addDays(-1).toString(dateFormat));
    storeInkassDate();

    for (int i = 1; i <= kassPanelCount; ++i) {
        TZOtchet *panel = kassPanels[i];
        panel->edit(QStringLiteral("ZDate"))->setText(edSMDate->text());
        panel->zDateButton()->setText(QStringLiteral("<<"));
        panel->storeZDate(panel->edit(QStringLiteral("ZDate")));
    }
}
