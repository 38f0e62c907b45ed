#include "zotchet.h"

#include "korrakt.h"

#include "copyprop.h"

#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct EditRole
{
    const char *suffix;
    TZOtchet::Input input;
};

// The fields in the order they are copied, which is also the order of their names' numbers.
const EditRole editRoles[] = {
    {"SerKKM", TZOtchet::Input::Digits},
    {"ZDOC", TZOtchet::Input::Digits},
    {"ZTime", TZOtchet::Input::Time},
    {"NalProd", TZOtchet::Input::Amount},
    {"NalVozvrat", TZOtchet::Input::Amount},
    {"KredProd", TZOtchet::Input::Amount},
    {"KredStorno", TZOtchet::Input::Amount},
    {"ProdSum", TZOtchet::Input::None},
    {"VNOS", TZOtchet::Input::Amount},
    {"VINOS", TZOtchet::Input::Amount},
    {"INKASS", TZOtchet::Input::Amount},
    {"SUMKASS", TZOtchet::Input::Amount},
    {"NARPROD", TZOtchet::Input::Amount},
    {"NZ", TZOtchet::Input::Digits},
    {"ZDate", TZOtchet::Input::None},
    {"SUMKASSNS", TZOtchet::Input::Amount},
    {"NARPRODNS", TZOtchet::Input::Amount},
};

const char *const printButtonNames[] = {"btnPrintZAll", "btnKM6", "btnKO4", "btnKO1", "btnKO2", "btnKM3"};

QColor panelColour(bool entered)
{
    return entered ? QColor(225, 225, 225) : QColor(240, 240, 240);
}

void paintBackground(QWidget *w, const QColor &colour)
{
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

} // namespace

TZOtchet::TZOtchet(TfMain *owner, QGroupBox *gbKassa)
    : m_owner(owner)
{
    hide();
    copyGroupBoxProps(gbKassa, owner->pnlDovraRed, this);
    setFont(gbKassa->font());
    copyEdits(gbKassa);
    copyLabels(gbKassa);
    copyButtons(gbKassa);
    copyCheckBoxes(gbKassa);
    wireControls();
    buildFocusOrder();
    fullHeight = height();
    chbZExtrSitClick();
    show();
}

QChar TZOtchet::decimalMark()
{
    return zfield::decimalMark();
}

QString TZOtchet::amountText(const Money &amount)
{
    return amount.toString(2).replace(u'.', decimalMark());
}

QLineEdit *TZOtchet::edit(const QString &column) const
{
    return m_edits.value(column.toUpper());
}

void TZOtchet::copyEdits(QGroupBox *gbKassa)
{
    for (const EditRole &role : editRoles) {
        const QString suffix = QString::fromUtf8(role.suffix);
        auto *copy = new QLineEdit;
        copyMemoProps(gbKassa->findChild<QLineEdit *>(QStringLiteral("memo") + suffix), this, copy);
        m_edits.insert(suffix.toUpper(), copy);
        m_inputs.insert(copy, role.input);
    }
    m_edSerKKM = edit(QStringLiteral("SerKKM"));
    m_edZTime = edit(QStringLiteral("ZTime"));
    m_edProdSum = edit(QStringLiteral("ProdSum"));
    m_edZDate = edit(QStringLiteral("ZDate"));
    m_edZDate->setEnabled(false);
    m_edZDate->setText(m_owner->edSMDate->text());
}

void TZOtchet::copyLabels(QGroupBox *gbKassa)
{
    const auto labels = gbKassa->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    for (const QLabel *label : labels) {
        auto *copy = new QLabel;
        copyLabelProps(label, this, copy);
        if (label->objectName() == QStringLiteral("lblZError"))
            m_lblZError = copy;
    }
}

void TZOtchet::copyButtons(QGroupBox *gbKassa)
{
    auto copyOf = [this, gbKassa](const char *name) {
        auto *copy = new QPushButton;
        copyButtonProps(gbKassa->findChild<QPushButton *>(QString::fromUtf8(name)), this, copy);
        return copy;
    };
    m_btnDopZOtchet = copyOf("btnDopZOtchet");
    for (const char *name : printButtonNames)
        m_printButtons.append(copyOf(name));
    m_btnKM6 = m_printButtons.at(1);
    m_btnZDate = copyOf("btnZDate");
    m_btnKorrAkt = copyOf("btnKorrAkt");
}

void TZOtchet::copyCheckBoxes(QGroupBox *gbKassa)
{
    auto copyOf = [this, gbKassa](const char *name) {
        auto *copy = new QCheckBox;
        copyCheckBoxProps(gbKassa->findChild<QCheckBox *>(QString::fromUtf8(name)), this, copy);
        return copy;
    };
    m_chbDopZOtchet = copyOf("chbDopZOtchet");
    m_chbZDate = copyOf("chbZDate");
    m_chbZExtrSit = copyOf("chbZExtrSit");
}

// The print buttons and "КОРР. АКТ" have no action of their own yet: the documents and the
// correction act come with their windows.
void TZOtchet::wireControls()
{
    QLineEdit *cashSales = edit(QStringLiteral("NalProd"));
    QLineEdit *cardSales = edit(QStringLiteral("KredProd"));
    for (QLineEdit *field : std::as_const(m_edits)) {
        field->installEventFilter(this);
        if (field == cashSales || field == cardSales)
            connect(field, &QLineEdit::textChanged, this, [this, field] { onChangeSale(field); });
        else if (isFigure(field) || field == m_edZDate)
            connect(field, &QLineEdit::textChanged, this, [this, field] { onChangeCell(field); });
        else if (field == m_edZTime)
            connect(field, &QLineEdit::textChanged, this, [this, field] { cleanText(field); });
    }
    for (QWidget *w : QList<QWidget *>{m_btnDopZOtchet, m_btnZDate, m_btnKorrAkt, m_chbDopZOtchet,
                                       m_chbZDate, m_chbZExtrSit})
        w->installEventFilter(this);
    for (QPushButton *button : std::as_const(m_printButtons))
        button->installEventFilter(this);

    connect(m_chbDopZOtchet, &QCheckBox::toggled, this, &TZOtchet::chbDopZOtchetClick);
    connect(m_btnKorrAkt, &QPushButton::clicked, this, &TZOtchet::btnKorrAktClick);
    connect(m_chbZDate, &QCheckBox::toggled, this, &TZOtchet::chbZDateClick);
    connect(m_chbZExtrSit, &QCheckBox::toggled, this, &TZOtchet::chbZExtrSitClick);
    connect(m_btnZDate, &QPushButton::clicked, this, &TZOtchet::btnZDateClick);

    // "Печать" prints every document of the register; the others one each. Pressing a button
    // gives it the focus first, which makes this panel the current one.
    connect(m_printButtons.at(0), &QPushButton::clicked, m_owner, &TfMain::btnPrintZAllClick);
    const char *const documents[] = {"km6", "ko4", "ko1", "ko2", "km3"};
    for (int i = 0; i < 5; ++i)
        m_owner->connectDocumentButton(m_printButtons.at(i + 1), QString::fromUtf8(documents[i]));
}

// Disabled controls are passed over, so a fresh panel stops at "Сместить дату", the document
// number, the extra-report box, the time, the figures, the two boxes and "КОРР. АКТ".
void TZOtchet::buildFocusOrder()
{
    QList<QWidget *> &order = m_focusOrder;
    order = {m_chbZDate, m_edSerKKM, m_btnZDate, edit(QStringLiteral("ZDOC")),
             m_chbDopZOtchet, m_edZDate, m_edZTime, m_btnDopZOtchet};
    for (const char *suffix : {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "ProdSum", "VNOS",
                               "VINOS", "INKASS", "SUMKASS", "NARPROD", "NZ", "SUMKASSNS", "NARPRODNS"})
        order.append(edit(QString::fromUtf8(suffix)));
    order << m_printButtons.at(0) << m_printButtons.at(1) << m_printButtons.at(2) << m_printButtons.at(3)
          << m_chbZExtrSit << m_printButtons.at(4) << m_printButtons.at(5) << m_btnKorrAkt;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

bool TZOtchet::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        onEnterPanel();
        if (!field)
            return false;
        // The field's own focus handling goes first, so that the selection made here stays.
        static_cast<QObject *>(field)->event(event);
        if (field == m_edZTime)
            onEnterTime(field);
        else if (isFigure(field) || field == m_edZDate)
            onEnterCell(field);
        return true;
    case QEvent::FocusOut: {
        // A menu or another window taking the keyboard is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (field && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            onLeave(field);
        return false;
    }
    case QEvent::KeyPress: {
        if (!field)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (onKeyDownCell(field, key))
            return true;
        switch (m_inputs.value(field)) {
        case Input::Amount:
            return keyPressMoney(field, key);
        case Input::Time:
            return keyPressTime(field, key);
        case Input::Digits:
            return keyPressDigits(field, key);
        case Input::None:
            return false;
        }
        return false;
    }
    default:
        return false;
    }
}

// A figure stored in a column of its own: the amounts, the document number and the shift number.
bool TZOtchet::isFigure(const QLineEdit *field) const
{
    const Input input = m_inputs.value(field);
    return input == Input::Amount || (input == Input::Digits && field != m_edSerKKM);
}

void TZOtchet::onLeave(QLineEdit *field)
{
    if (field == m_edZTime || field == m_edZDate)
        storeZDate(field);
    else if (field == edit(QStringLiteral("NalProd")) || field == edit(QStringLiteral("KredProd")))
        storeSale(field);
    else if (isFigure(field))
        storeZCell(field);
}

// Up and Down walk the fields, also while the panel is being filled.
bool TZOtchet::onKeyDownCell(QLineEdit *field, QKeyEvent *event)
{
    if (m_inputs.value(field) == Input::None || (event->modifiers() & ~Qt::KeypadModifier))
        return false;
    if (event->key() == Qt::Key_Up)
        moveFocus(field, false);
    else if (event->key() == Qt::Key_Down)
        moveFocus(field, true);
    else
        return false;
    return true;
}

// The next or previous control of the window that can take the focus, as Tab would find it.
void TZOtchet::moveFocus(QWidget *from, bool forward)
{
    auto step = [forward](QWidget *w) { return forward ? w->nextInFocusChain() : w->previousInFocusChain(); };
    for (QWidget *w = step(from); w && w != from; w = step(w)) {
        if (w->isEnabled() && w->isVisibleTo(w->window()) && !w->focusProxy()
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

bool TZOtchet::keyPressMoney(QLineEdit *field, QKeyEvent *event)
{
    return keyPress(field, event, Input::Amount);
}

bool TZOtchet::keyPressTime(QLineEdit *field, QKeyEvent *event)
{
    return keyPress(field, event, Input::Time);
}

bool TZOtchet::keyPressDigits(QLineEdit *field, QKeyEvent *event)
{
    return keyPress(field, event, Input::Digits);
}

// Returns whether the key is consumed.
bool TZOtchet::keyPress(QLineEdit *field, const QKeyEvent *event, Input input)
{
    const zfield::Verdict verdict = zfield::filterKey(field, event, input, busy);
    if (verdict == zfield::Verdict::DropAndMoveOn)
        moveFocus(field, true);
    return verdict != zfield::Verdict::Pass;
}

// While the panel is being filled the keyboard stays with the shift number, whatever the field.
void TZOtchet::onEnterCell(QLineEdit *field)
{
    if (busy) {
        QFocusEvent notice(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(m_owner->edNSMBUKTS, &notice);
        return;
    }
    field->selectAll();
}

// The minutes of "hh:nn" are what is usually corrected.
void TZOtchet::onEnterTime(QLineEdit *field)
{
    if (busy) {
        onEnterCell(field);
        return;
    }
    const int minutes = qMin(3, int(field->text().size()));
    field->setSelection(minutes, qMin(2, int(field->text().size()) - minutes));
}

void TZOtchet::cleanText(QLineEdit *field)
{
    if (field != m_edZDate)
        zfield::cleanText(field, m_inputs.value(field));
}

void TZOtchet::onChangeSale(QLineEdit *field)
{
    const bool both = !edit(QStringLiteral("NalProd"))->text().isEmpty()
                      && !edit(QStringLiteral("KredProd"))->text().isEmpty();
    m_edProdSum->setText(both ? QStringLiteral("...") : QString());
    onChangeCell(field);
}

void TZOtchet::storeSale(QLineEdit *field)
{
    storeZCell(field);
    const QString cash = edit(QStringLiteral("NalProd"))->text();
    const QString card = edit(QStringLiteral("KredProd"))->text();
    if (cash.isEmpty() || card.isEmpty())
        return;
    try {
        const Money sum = Money::fromDouble(strToFloat(cash)) + Money::fromDouble(strToFloat(card));
        m_edProdSum->setText(QStringLiteral("%1").arg(amountText(sum), 12));
    } catch (const ConvertError &) {
        m_edProdSum->setText(QStringLiteral("!!!"));
    }
}

void TZOtchet::onEnterPanel()
{
    const int count = qMin(m_owner->kassPanelCount, int(TfMain::maxKassPanels));
    for (int i = 1; i <= count; ++i) {
        TZOtchet *panel = m_owner->kassPanels[i];
        if (!panel)
            continue;
        paintBackground(panel, panelColour(panel == this));
        if (panel == this)
            m_owner->activeKass = i;
    }
}

void TZOtchet::fitHeightToExtrSit()
{
    const int collapsed = m_chbZExtrSit->y() + m_chbZExtrSit->height() + 5;
    resize(width(), m_chbZExtrSit->isChecked() ? fullHeight : collapsed);
}

// The non-standard situation: the previous Z-report's figures are typed by hand in the two rows
// that the checked box uncovers.
void TZOtchet::chbZExtrSitClick()
{
    fitHeightToExtrSit();
    if (busy)
        return;
    storeNSsit();
    refreshState(edit(QStringLiteral("SUMKASSNS")));
}

void TZOtchet::chbZDateClick()
{
    m_btnZDate->setEnabled(m_chbZDate->isChecked());
}

// The Z-report may be dated the day before the shift: "<<" goes back a day, ">>" returns.
void TZOtchet::btnZDateClick()
{
    const QDate date = QDate::fromString(m_edZDate->text(), zDateFormat);
    if (!date.isValid())
        throw ConvertError(
            QStringLiteral("«%1» не является правильной датой").arg(m_edZDate->text()));
    if (m_btnZDate->text() == QStringLiteral("<<")) {
        m_edZDate->setText(date.addDays(-1).toString(zDateFormat));
        m_btnZDate->setText(QStringLiteral(">>"));
    } else {
        m_edZDate->setText(date.addDays(1).toString(zDateFormat));
        m_btnZDate->setText(QStringLiteral("<<"));
        m_chbZDate->setChecked(false);
        m_btnZDate->setEnabled(false);
    }
    storeZDate(m_edZDate);
}

void TZOtchet::chbDopZOtchetClick()
{
    m_btnDopZOtchet->setEnabled(m_chbDopZOtchet->isChecked());
}

// The act window lives only while it is shown; the shift balance then takes in what it stored.
void TZOtchet::btnKorrAktClick()
{
    {
        TKorrAkt act(this);
        act.setIdZ(idZ);
        act.exec();
    }
    m_owner->dovraControl();
}
