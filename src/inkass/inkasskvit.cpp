#include "inkasskvit.h"

#include "banknotcalc.h"

#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "zreport/copyprop.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <optional>

namespace {

QString decimalMark()
{
    return QLocale::system().decimalPoint();
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A menu or another window taking the keyboard is no entering or leaving of a field.
bool isFieldChange(const QEvent *event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

// The value of a sum text; none for an empty text or one the standard conversion rejects.
std::optional<double> sumValue(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    try {
        return strToFloat(text);
    } catch (const ConvertError &) {
        return std::nullopt;
    }
}

QString twoDecimals(double value)
{
    return Money::fromDouble(value).toString(2).replace(u'.', decimalMark());
}

QString shortestForm(double value)
{
    return QString::number(value, 'g', 15).replace(u'.', decimalMark());
}

} // namespace

TInkassKvit::TInkassKvit(TfMain *owner, qint32 idInkass, QGroupBox *gbINKASS, QWidget *parent)
    : idInkass(idInkass)
    , m_owner(owner)
{
    hide();
    copyGroupBoxProps(gbINKASS, parent, this);
    copyControls(gbINKASS);
    wireControls();
    show();
}

void TInkassKvit::copyControls(QGroupBox *gbINKASS)
{
    memoNKv = new QLineEdit;
    copyMemoProps(gbINKASS->findChild<QLineEdit *>(QStringLiteral("MemoNKvINKASS")), this, memoNKv);
    memoSum = new QLineEdit;
    copyMemoProps(gbINKASS->findChild<QLineEdit *>(QStringLiteral("MemoSumINKASS")), this, memoSum);
    sbtnCalc = new QToolButton;
    copySpeedButtonProps(gbINKASS->findChild<QToolButton *>(QStringLiteral("sbtnInkassCalcBanknot")), this,
                         sbtnCalc);
    btnDel = new QPushButton;
    copyButtonProps(gbINKASS->findChild<QPushButton *>(QStringLiteral("btnDelINKASS")), this, btnDel);
}

// The validators keep what is typed or pasted to what a bag number or a sum may hold: digits,
// "-" and "/"; digits with one decimal separator and at most two decimals.
void TInkassKvit::wireControls()
{
    memoNKv->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9/-]*")), memoNKv));
    const QString sum = QStringLiteral("[0-9]*(%1[0-9]{0,2})?").arg(QRegularExpression::escape(decimalMark()));
    memoSum->setValidator(new QRegularExpressionValidator(QRegularExpression(sum), memoSum));
    memoNKv->installEventFilter(this);
    memoSum->installEventFilter(this);

    sbtnCalc->setAutoRaise(true);
    sbtnCalc->setFocusPolicy(Qt::NoFocus);
    // Enter on the delete button, which takes the focus when its bag may go, presses it.
    btnDel->setAutoDefault(true);
    connect(sbtnCalc, &QToolButton::clicked, this, &TInkassKvit::calcClick);
    connect(btnDel, &QPushButton::clicked, this,
            [this] { QCoreApplication::postEvent(this, new QEvent(deleteKvitEvent)); });
}

bool TInkassKvit::event(QEvent *event)
{
    if (event->type() != deleteKvitEvent)
        return QGroupBox::event(event);
    deleteKvit();
    return true;
}

bool TInkassKvit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != memoNKv && watched != memoSum)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        return watched == memoNKv ? bagKeyPress(key) : sumKeyPress(key);
    }
    case QEvent::FocusIn:
        if (watched != memoSum || !isFieldChange(event))
            return false;
        // The field's own focus handling goes first, so that the selection made here stays.
        static_cast<QObject *>(memoSum)->event(event);
        sumEnter(static_cast<QFocusEvent *>(event)->reason());
        return true;
    case QEvent::FocusOut:
        if (!isFieldChange(event))
            return false;
        static_cast<QObject *>(watched)->event(event);
        if (watched == memoNKv)
            storeSumkaN();
        else
            sumExit();
        return true;
    default:
        return false;
    }
}

bool TInkassKvit::isShown() const
{
    return m_owner->kvitPosition(this) > 0;
}

void TInkassKvit::setReadOnly(bool on)
{
    m_readOnly = on;
    memoNKv->setReadOnly(on);
    memoSum->setReadOnly(on);
    // The calculator stores counts with the bag, and a read-only bag is never deleted.
    sbtnCalc->setEnabled(!on);
    if (on)
        btnDel->setEnabled(false);
}

void TInkassKvit::loadKvit(qint32 idInkassKvit)
{
    Query &query = m_owner->dataModule()->adoq;
    query.setSql(QStringLiteral("select * from inkasskvit where idinkasskvit = :idinkasskvit"));
    query.clearParams();
    query.setParam(QStringLiteral("idinkasskvit"), idInkassKvit);
    query.open();
    if (query.isEmpty())
        throw DbError(QStringLiteral("Нет сумки с ключом %1").arg(idInkassKvit));
    this->idInkassKvit = idInkassKvit;
    m_storedNumber = query.field(QStringLiteral("SumkaN")).asString();
    const double sum = query.field(QStringLiteral("SUMMA")).asFloat();
    query.close();
    memoNKv->setText(m_storedNumber);
    memoSum->setText(fittingSumText(sum));
}

// The amount as the sum field holds it: with two decimals, without them when they do not fit.
// An amount too long either way is refused rather than cut.
QString TInkassKvit::fittingSumText(double value) const
{
    const int room = memoSum->maxLength();
    QString text = twoDecimals(value);
    if (text.size() > room)
        text = shortestForm(value);
    if (text.size() > room)
        throw ConvertError(QStringLiteral("Сумма %1 не помещается в поле суммы сумки").arg(twoDecimals(value)));
    return text;
}

// Enter with both fields empty ends the entry of the bags; otherwise it moves on.
bool TInkassKvit::bagKeyPress(const QKeyEvent *event)
{
    if (!isEnter(event))
        return false;
    if (memoNKv->text().isEmpty() && memoSum->text().isEmpty()) {
        if (m_owner->nextFocus)
            m_owner->nextFocus->setFocus(Qt::TabFocusReason);
    } else {
        m_owner->focusAfterKvit(memoNKv);
    }
    return true;
}

void TInkassKvit::storeSumkaN()
{
    if (m_readOnly || !isShown())
        return;
    const QString number = memoNKv->text();
    if (number.isEmpty()) {
        // The stored number stays, and the field shows it rather than a number not kept.
        memoNKv->setText(m_storedNumber);
        return;
    }
    const bool newRow = idInkassKvit == 0;
    if (newRow) {
        insertRow(number);
    } else {
        Query &query = m_owner->dataModule()->adoq;
        query.setSql(QStringLiteral("update inkasskvit set SumkaN = :nkvit where idinkasskvit= :idinkasskvit"));
        query.clearParams();
        query.setParam(QStringLiteral("nkvit"), number);
        query.setParam(QStringLiteral("idinkasskvit"), idInkassKvit);
        query.execSql();
    }
    m_storedNumber = number;
    // The next bag's box comes first, so that a sum that fails to store does not leave the
    // encashment without a box for more bags.
    if (m_owner->kvitPosition(this) == m_owner->kvitCount)
        m_owner->addKvitBox();
    if (newRow && !memoSum->text().isEmpty())
        storeSumma();
}

void TInkassKvit::insertRow(const QString &number)
{
    Query &query = m_owner->dataModule()->adoq;
    query.setSql(QStringLiteral("insert into inkasskvit (SumkaN, idinkass) values( :nkvit, :idinkass)"));
    query.clearParams();
    query.setParam(QStringLiteral("nkvit"), number);
    query.setParam(QStringLiteral("idinkass"), idInkass);
    if (query.execSql() != 1)
        throw DbError(QStringLiteral("Сумка %1 не добавлена").arg(number));
    // An earlier bag of the encashment may carry the same number: the row just made has the
    // greatest key.
    query.setSql(QStringLiteral("select max(idinkasskvit) as idinkasskvit from inkasskvit "
                                "where idinkass = :idinkass and SumkaN = :nkvit"));
    query.open();
    idInkassKvit = query.field(QStringLiteral("idinkasskvit")).asInteger();
    query.close();
}

bool TInkassKvit::sumKeyPress(const QKeyEvent *event)
{
    if (isEnter(event)) {
        const QString text = memoSum->text();
        if (!m_readOnly && !text.isEmpty()) {
            // The shortest form of the sum, whole rubles with ",00": 1500 → 1500,00; 12,5 stays.
            QString entered = shortestForm(strToFloat(text));
            const QString whole = entered + decimalMark() + QStringLiteral("00");
            if (!entered.contains(decimalMark()) && whole.size() <= memoSum->maxLength())
                entered = whole;
            memoSum->setText(entered);
        }
        m_owner->focusAfterKvit(memoSum);
        return true;
    }
    const QString typed = event->text();
    if (typed != QStringLiteral(",") && typed != QStringLiteral("."))
        return false;
    if (!m_readOnly)
        memoSum->insert(decimalMark());
    return true;
}

// Whole rubles are shown without decimals while the sum is corrected: 1500,00 becomes 1500.
void TInkassKvit::sumEnter(Qt::FocusReason reason)
{
    const std::optional<double> value = sumValue(memoSum->text());
    if (!m_readOnly && value && *value == std::floor(*value))
        memoSum->setText(QString::number(qRound64(*value + 0.001)));
    memoSum->selectAll();
    // A click places the cursor after the focus came in; the text is selected again after it.
    if (reason == Qt::MouseFocusReason)
        QTimer::singleShot(0, memoSum, &QLineEdit::selectAll);
}

void TInkassKvit::sumExit()
{
    const bool deletable = mayBeDeleted();
    btnDel->setEnabled(deletable);
    if (deletable)
        focusLater(btnDel);
    if (m_readOnly || !isShown())
        return;
    const QString text = memoSum->text();
    if (!text.isEmpty())
        memoSum->setText(fittingSumText(strToFloat(text)));
    // An emptied sum of a stored bag is stored as none: the row keeps no sum the box does not show.
    if (!text.isEmpty() || idInkassKvit != 0)
        storeSumma();
}

// A bag with a sum, or a sum that does not read, is never deleted; nor is the last box.
bool TInkassKvit::mayBeDeleted() const
{
    const int position = m_owner->kvitPosition(this);
    if (m_readOnly || position == 0 || position == m_owner->kvitCount)
        return false;
    const QString text = memoSum->text();
    if (text.isEmpty())
        return true;
    const std::optional<double> value = sumValue(text);
    return value && *value <= 0;
}

void TInkassKvit::storeSumma()
{
    if (idInkassKvit == 0) {
        // The bag number comes first; the sum waits in its field until the number is stored.
        focusLater(memoNKv);
        return;
    }
    const QString text = memoSum->text();
    Query &query = m_owner->dataModule()->adoq;
    query.setSql(QStringLiteral("update inkasskvit set Summa = :summa where idinkasskvit= :idinkasskvit"));
    query.clearParams();
    query.setParam(QStringLiteral("summa"),
                   text.isEmpty() ? QVariant() : QVariant::fromValue(Money::fromDouble(strToFloat(text))));
    query.setParam(QStringLiteral("idinkasskvit"), idInkassKvit);
    query.execSql();
    m_owner->totalInkass();
}

void TInkassKvit::calcClick()
{
    TfBanknotCalc *calc = m_owner->banknoteCalculator();
    if (!calc || m_readOnly)
        return;
    calc->load(idInkassKvit);
    calc->placeUnderBagBox(this);
    if (calc->exec() != QDialog::Accepted)
        return;
    // The total as the calculator shows it, two decimals, when the field has room for it.
    memoSum->setText(fittingSumText(calc->total().toDouble()));
    storeSumma();
    // A stored sum has been added up by storeSumma; one waiting for its bag number is added here.
    if (idInkassKvit == 0)
        m_owner->totalInkass();
}

void TInkassKvit::deleteKvit()
{
    if (!mayBeDeleted())
        return;
    Query &query = m_owner->dataModule()->adoq;
    query.setSql(QStringLiteral("delete from inkasskvit  where idinkasskvit = :idinkasskvit"));
    query.clearParams();
    query.setParam(QStringLiteral("idinkasskvit"), idInkassKvit);
    query.execSql();
    m_owner->removeKvitBox(this);
}

// A focus moved from a field's leave handler waits until the move that left the field is over,
// so that the control the operator went to enters and leaves with its own handlers.
void TInkassKvit::focusLater(QWidget *target)
{
    QMetaObject::invokeMethod(
        target,
        [target] {
            if (target->isVisible() && target->isEnabled())
                target->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}
