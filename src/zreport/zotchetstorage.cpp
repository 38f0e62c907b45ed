// Loading, storing and checking the Z-report row of a register panel.

#include "zotchet.h"

#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ui/messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const QString zTimeFormat = QStringLiteral("hh:mm");

// Fields of the row that are shown as amounts, by their column suffix.
const char *const amountSuffixes[] = {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS", "VINOS",
                                      "INKASS", "SUMKASS", "NARPROD", "SUMKASSNS", "NARPRODNS"};

// A Z-report is complete when these are filled in.
const char *const requiredSuffixes[] = {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS", "VINOS",
                                        "INKASS", "SUMKASS", "NARPROD", "ZDOC", "NZ"};

// Differences of up to a tenth of a kopeck count as agreement.
constexpr qint64 toleranceUnits = Money::unitsPerRuble / 1000;

const QColor salesTotalErrorColour(192, 32, 32);
const QColor balanceErrorColour(32, 32, 192);

void openZRows(Query &query, qint32 idDovra, qint32 idKKM)
{
    query.setSql(QStringList{
        "select idZ, NZ, idZSit, ZDOC, ZDate, NalProd, NalVozvrat, KredProd, KredStorno, VNOS, VINOS, "
        "INKASS, SumKass, NarPROD, nssit, SumKassNS, NarPRODNS, KredProd+NalProd as ProdSum ",
        " from ZOTCHET where idDovra IS NOT NULL and idDovra = :idDovra and idKKM = :idKKM order by idZ; "});
    query.clearParams();
    query.setParam(QStringLiteral("idDovra"), idDovra);
    query.setParam(QStringLiteral("idKKM"), idKKM);
    query.open();
}

} // namespace

void TZOtchet::loadZ(const Dataset &kkmRow, qint32 idDovra, int minRows)
{
    if (idDovra == 0)
        return;
    busy = true;
    pending.clear();
    m_edSerKKM->setText(kkmRow.field(QStringLiteral("NPROIZV")).asString());
    const qint32 idKKM = kkmRow.field(QStringLiteral("idKKM")).asInteger();

    Query &query = m_owner->dataModule()->adoq;
    openZRows(query, idDovra, idKKM);
    if (query.recordCount() < minRows) {
        query.setSql(
            QStringLiteral("insert into ZOTCHET (idDovra, idKKM) values ( :iddovra,  :idkkm) ; "));
        query.clearParams();
        query.setParam(QStringLiteral("iddovra"), idDovra);
        query.setParam(QStringLiteral("idkkm"), idKKM);
        if (query.execSql() != 1)
            throw DbError(QStringLiteral("Не удалось добавить Z-отчет кассы %1").arg(idKKM));
        openZRows(query, idDovra, idKKM);
    }
    if (query.isEmpty())
        throw DbError(QStringLiteral("Z-отчет кассы %1 не найден").arg(idKKM));
    idZ = query.field(QStringLiteral("idZ")).asInteger();

    edit(QStringLiteral("ZDOC"))->setText(query.field(QStringLiteral("ZDOC")).asString());
    for (const char *suffix : amountSuffixes) {
        QLineEdit *field = edit(QString::fromUtf8(suffix));
        field->setText(amountText(query.field(columnOf(field->objectName())).asMoney()));
    }
    m_chbZExtrSit->setChecked(query.field(QStringLiteral("nssit")).asBoolean());
    const qint32 nz = query.field(QStringLiteral("NZ")).asInteger();
    edit(QStringLiteral("NZ"))->setText(nz == 0 ? QString() : QString::number(nz));
    m_edProdSum->setText(amountText(query.field(QStringLiteral("NalProd")).asMoney()
                                    + query.field(QStringLiteral("KredProd")).asMoney()));
    const QDateTime zDate = query.field(QStringLiteral("ZDate")).asDateTime();
    if (zDate.isValid()) {
        m_edZDate->setText(zDate.date().toString(zDateFormat));
        m_edZTime->setText(zDate.time().toString(zTimeFormat));
    } else {
        m_edZDate->setText(m_owner->edSMDate->text());
        m_edZTime->setText(QStringLiteral("08:00"));
    }

    query.setSql(QStringLiteral(
        "select SumKass, NarPROD from ZOTCHET where idz = (select max(idz) from zOtchet where "
        "(idKKM = :idKKM) and (idDovra IS NULL or idDovra < :idDovra) ); "));
    query.clearParams();
    query.setParam(QStringLiteral("idKKM"), idKKM);
    query.setParam(QStringLiteral("idDovra"), idDovra);
    query.open();
    prevSumKass = query.field(QStringLiteral("SumKass")).asFloat();
    prevNarProd = query.field(QStringLiteral("NarPROD")).asFloat();
    query.close();

    busy = false;
    if (!zDate.isValid())
        storeZDate();
    refreshState(nullptr);
}

// Leaving a field. A figure still waiting in another field (its store failed, or its text was
// set while the keyboard was elsewhere) is stored too, so that no typed figure is dropped.
void TZOtchet::storeZCell(QLineEdit *field)
{
    if (busy || pending.isEmpty())
        return;
    storeWaitingCells(field);
    writeCell(field);
    pending.removeOne(field);
    refreshState(field);
}

// A change of a field while others wait: they are stored first. The field waits from its change
// on, also when storing the others fails (a busy file, a full disk), so that it is not forgotten.
void TZOtchet::onChangeCell(QLineEdit *field)
{
    if (busy)
        return;
    if (!pending.contains(field))
        pending.append(field);
    cleanText(field);
    if (QLineEdit *stored = storeWaitingCells(field))
        refreshState(stored);
}

void TZOtchet::storeZDate(QWidget *)
{
    if (busy)
        return;
    if (QLineEdit *stored = storeWaitingCells(nullptr))
        refreshState(stored);
    pending.clear();
    if (!writeZDate())
        pending.append(m_edZTime);
}

// The check that follows the flag covers a figure stored with it.
void TZOtchet::storeNSsit()
{
    if (busy)
        return;
    storeWaitingCells(nullptr);
    Query &query = m_owner->dataModule()->adoq3;
    query.setSql(QStringLiteral("update zotchet set nssit = :val where idz = :idz; "));
    query.clearParams();
    query.setParam(QStringLiteral("val"), m_chbZExtrSit->isChecked());
    query.setParam(QStringLiteral("idz"), idZ);
    query.execSql();
}

// Stores the figures waiting in fields other than `except`, in the order they were changed, and
// returns the last one stored. A date and time that did not read keep waiting: they are stored
// whenever the time field is left.
QLineEdit *TZOtchet::storeWaitingCells(QLineEdit *except)
{
    QLineEdit *stored = nullptr;
    for (QLineEdit *waiting : QList<QLineEdit *>(pending)) {
        if (waiting == except || waiting == m_edZTime || waiting == m_edZDate)
            continue;
        writeCell(waiting);
        pending.removeOne(waiting);
        stored = waiting;
    }
    return stored;
}

// The field's text into its column. An amount is first written out with two decimals, unless it
// already has them, so an emptied amount becomes zero.
void TZOtchet::writeCell(QLineEdit *field)
{
    const QString name = columnOf(field->objectName()).toUpper();
    // Column names come from field names: a name that is no column of ZOTCHET must not reach a
    // statement.
    const QString column =
        m_owner->dataModule()->ADOConAZSKAS.checkedColumn(QStringLiteral("ZOTCHET"), name);
    const bool counter = name == QStringLiteral("NZ") || name == QStringLiteral("ZDOC");
    if (!counter) {
        const QString text = field->text();
        const qsizetype mark = text.indexOf(decimalMark());
        if (mark < 0 || text.size() - mark - 1 != 2) {
            // The rewrite is no change of the operator's: nothing new to store.
            const QSignalBlocker quiet(field);
            field->setText(amountText(Money::fromDouble(strToFloatClean(text))));
        }
    }

    const QString text = field->text();
    Query &query = m_owner->dataModule()->adoq3;
    query.setSql(QStringLiteral("update zotchet set %1 = :val where idz = :idz").arg(column));
    query.clearParams();
    if (!text.isEmpty()) {
        const double value = strToFloat(text);
        query.setParam(QStringLiteral("val"), counter ? QVariant(qint64(value))
                                                      : QVariant::fromValue(Money::fromDouble(value)));
    }
    query.setParam(QStringLiteral("idz"), idZ);
    try {
        query.execSql();
    } catch (const DbError &error) {
        throw DbError(error.message()
                      + QStringLiteral("\nЧисло «%1» осталось в поле и будет записано при следующем выходе "
                                       "из поля.").arg(text));
    }
}

// False, with a word to the operator, when the date and time do not read as a date-time: the
// time then waits to be corrected and is stored when its field is left again.
bool TZOtchet::writeZDate()
{
    const QDate date = QDate::fromString(m_edZDate->text(), zDateFormat);
    const QTime time = QTime::fromString(m_edZTime->text(), QStringLiteral("H:mm"));
    if (!date.isValid() || !time.isValid()) {
        showMessage(QStringLiteral("Дата и время Z-отчета «%1 %2» не распознаны. Исправьте время "
                                   "(ЧЧ:ММ): оно будет записано при выходе из поля.")
                        .arg(m_edZDate->text(), m_edZTime->text()));
        return false;
    }
    Query &query = m_owner->dataModule()->adoq3;
    query.setSql(QStringLiteral("update zotchet set zDate = :val where idz = :idz; "));
    query.clearParams();
    query.setParam(QStringLiteral("val"), QDateTime(date, time));
    query.setParam(QStringLiteral("idz"), idZ);
    query.execSql();
    return true;
}

bool TZOtchet::checkZ()
{
    const bool handTyped = m_chbZExtrSit->isChecked();
    auto empty = [this](const char *suffix) { return edit(QString::fromUtf8(suffix))->text().isEmpty(); };
    bool incomplete = std::any_of(std::begin(requiredSuffixes), std::end(requiredSuffixes), empty);
    if (handTyped)
        incomplete = incomplete || empty("SUMKASSNS") || empty("NARPRODNS");
    if (incomplete) {
        m_lblZError->clear();
        return false;
    }

    auto amount = [this](const char *suffix) {
        return Money::fromDouble(strToFloat(edit(QString::fromUtf8(suffix))->text()));
    };
    auto typedPrevious = [this](const char *suffix) {
        return Money::fromDouble(strToFloatClean(edit(QString::fromUtf8(suffix))->text()));
    };
    auto showError = [this](const QString &what, const Money &difference, const QColor &colour) {
        QPalette palette = m_lblZError->palette();
        palette.setColor(QPalette::WindowText, colour);
        m_lblZError->setPalette(palette);
        m_lblZError->setText(what + amountText(difference) + QStringLiteral(" руб!"));
    };

    const Money previousTotal = handTyped ? typedPrevious("NARPRODNS") : Money::fromDouble(prevNarProd);
    const Money totalGap = previousTotal + amount("NalProd") + amount("KredProd") - amount("NARPROD");
    if (qAbs(totalGap.units()) > toleranceUnits) {
        showError(QStringLiteral("Нар.итог: ошибка "), totalGap, salesTotalErrorColour);
        return false;
    }
    const Money previousCash = handTyped ? typedPrevious("SUMKASSNS") : Money::fromDouble(prevSumKass);
    const Money cashGap = previousCash + amount("NalProd") - amount("NalVozvrat") + amount("VNOS")
                          - amount("VINOS") - amount("INKASS") - amount("SUMKASS");
    if (qAbs(cashGap.units()) > toleranceUnits) {
        showError(QStringLiteral("Остаток: ошибка "), cashGap, balanceErrorColour);
        return false;
    }
    m_lblZError->clear();
    return true;
}

void TZOtchet::refreshState(QLineEdit *field)
{
    if (busy)
        return;
    const bool was = complete;
    complete = checkZ();
    if (!field) {
        enablePrintButtons(complete);
        return;
    }
    if (complete != was)
        enablePrintButtons(complete);
    m_owner->dovraControl();
}

void TZOtchet::enablePrintButtons(bool on)
{
    for (QPushButton *button : std::as_const(m_printButtons))
        button->setEnabled(on);
}

void TZOtchet::setLocked(bool on)
{
    locked = on;
    for (const char *suffix : {"ZDOC", "NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS", "VINOS",
                               "INKASS", "SUMKASS", "NARPROD", "SUMKASSNS", "NARPRODNS", "NZ", "ZTime"})
        edit(QString::fromUtf8(suffix))->setReadOnly(on);
    for (QWidget *w : QList<QWidget *>{m_chbDopZOtchet, m_chbZDate, m_chbZExtrSit, m_btnKorrAkt})
        w->setEnabled(!on);
}
