// Encashment operations of the main window: the encashment of the shift shown, its date and
// total in the header gbInkassZag, and one box per bag under it.
#include "banknotcalc.h"
#include "inkasskvit.h"

#include "app/formlayout.h"
#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ui/focuschain.h"

#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");
const QString stepBack = QStringLiteral("<<");
const QString stepForward = QStringLiteral(">>");

// A pocket calculator: a display over three rows of keys.
QIcon calculatorGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    const QColor ink(60, 60, 60);
    painter.setPen(ink);
    painter.setBrush(QColor(215, 215, 205));
    painter.drawRect(2, 0, 11, 15);
    painter.setBrush(QColor(165, 215, 165));
    painter.drawRect(4, 2, 7, 3);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            painter.fillRect(4 + column * 3, 7 + row * 3, 2, 2, ink);
    }
    return QIcon(glyph);
}

QToolButton *calculatorButton(QWidget *parent, const QString &name, int left, int top)
{
    auto *button = placed(new QToolButton(parent), name, left, top, 23, 23);
    button->setIcon(calculatorGlyph());
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A caption centred over a column of the bag boxes.
void columnCaption(QWidget *parent, const QString &text, int left, int width, int top)
{
    QLabel *label = caption(parent, text, left, top);
    label->move(left + (width - label->width()) / 2, top);
}

} // namespace

void TfMain::setBanknoteCalculator(TfBanknotCalc *calc)
{
    m_banknotCalc = calc;
}

TfBanknotCalc *TfMain::banknoteCalculator() const
{
    return m_banknotCalc;
}

void TfMain::buildEncashment()
{
    gbInkassZag = placed(new QGroupBox(QStringLiteral("Инкассация"), pnlDovraRed),
                         QStringLiteral("gbInkassZag"), 726, 3, 257, 65);
    buildInkassHeader();
    buildInkassTemplate();
}

// The date with its step button and the total on the first line, the captions of the box columns
// and the calculator on the second.
void TfMain::buildInkassHeader()
{
    QWidget *header = gbInkassZag;
    memoDateINKASS = placed(new QLineEdit(header), QStringLiteral("memoDateINKASS"), 6, 17, 74, 21);
    showOnly(memoDateINKASS);
    btnDateINKASS = placed(new QPushButton(stepBack, header), QStringLiteral("btnDateINKASS"), 81, 17, 25, 21);
    btnDateINKASS->setFocusPolicy(Qt::NoFocus);
    btnDateINKASS->setEnabled(false);
    connect(btnDateINKASS, &QPushButton::clicked, this, &TfMain::btnDateINKASSClick);

    caption(header, QStringLiteral("ВСЕГО"), 111, 20);
    memoSumINKASSvsekvf = placed(new QLineEdit(header), QStringLiteral("memoSumINKASSvsekvf"), 150, 17, 77, 21);
    showOnly(memoSumINKASSvsekvf);
    memoSumINKASSvsekvf->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = memoSumINKASSvsekvf->font();
    bold.setBold(true);
    memoSumINKASSvsekvf->setFont(bold);
    caption(header, QStringLiteral("РУБ"), 230, 20);
    memoSumINKASSvsekv = placed(new QLineEdit(header), QStringLiteral("memoSumINKASSvsekv"), 150, 17, 77, 21);
    memoSumINKASSvsekv->hide();

    columnCaption(header, QStringLiteral("№ СУМКИ"), 6, 95, 45);
    columnCaption(header, QStringLiteral("СУММА, РУБ"), 104, 95, 45);
    SpeedButton1 = calculatorButton(header, QStringLiteral("SpeedButton1"), 203, 39);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfMain::SpeedButton1Click);
}

void TfMain::buildInkassTemplate()
{
    gbINKASS = placed(new QGroupBox(pnlDovraRed), QStringLiteral("gbINKASS"), 726, 67, 257, 39);
    gbINKASS->hide();
    MemoNKvINKASS = placed(new QLineEdit(gbINKASS), QStringLiteral("MemoNKvINKASS"), 6, 9, 95, 23);
    MemoNKvINKASS->setMaxLength(15); // as the column holds
    MemoSumINKASS = placed(new QLineEdit(gbINKASS), QStringLiteral("MemoSumINKASS"), 104, 9, 95, 23);
    MemoSumINKASS->setMaxLength(10);
    for (QLineEdit *memo : {MemoNKvINKASS, MemoSumINKASS})
        memo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sbtnInkassCalcBanknot = calculatorButton(gbINKASS, QStringLiteral("sbtnInkassCalcBanknot"), 203, 9);
    btnDelINKASS = placed(new QPushButton(QStringLiteral("X"), gbINKASS), QStringLiteral("btnDelINKASS"),
                          229, 9, 23, 23);
    QFont bold = btnDelINKASS->font();
    bold.setBold(true);
    btnDelINKASS->setFont(bold);
    btnDelINKASS->setEnabled(false);
}

void TfMain::loadInkass(qint32 idDovra, QWidget *focusTarget)
{
    clearKvitBoxes();
    nextFocus = nullptr;
    btnDateINKASS->setEnabled(false);
    if (idDovra == 0) {
        for (QLineEdit *field : {memoDateINKASS, memoSumINKASSvsekv, memoSumINKASSvsekvf})
            field->clear();
        return;
    }
    openInkass(idDovra);

    nextFocus = qobject_cast<QLineEdit *>(focusTarget);
    for (const qint32 idInkassKvit : storedKvitKeys()) {
        addKvitBox();
        kvitBoxes[kvitCount]->loadKvit(idInkassKvit);
    }
    addKvitBox(); // the empty box for the next bag, while there is room
    btnDateINKASS->setEnabled(!nextFocus.isNull());

    // A read-only view leaves the focus where it is, in the archive's grid for one.
    if (nextFocus) {
        TInkassKvit *first = kvitBoxes[1];
        if (kvitCount == 1 && first->idInkassKvit == 0)
            first->memoNKv->setFocus();
        else
            nextFocus->setFocus();
    }
    totalInkass();
}

// Finds the shift's encashment, creating it the first time the shift is shown (dated the day
// before the shift), and shows its date.
void TfMain::openInkass(qint32 idDovra)
{
    Query &adoq = m_dm->adoq;
    const auto select = [&adoq, idDovra] {
        adoq.setSql(QStringLiteral("select dovradate, inkassdate, idinkass from dovra inner join inkass on "
                                   "inkass.iddovra = dovra.iddovra where dovra.iddovra = :iddovra "
                                   "order by idinkass"));
        adoq.clearParams();
        adoq.setParam(QStringLiteral("iddovra"), idDovra);
        adoq.open();
    };
    select();
    if (adoq.isEmpty()) {
        adoq.setSql(QStringLiteral("insert into inkass (iddovra, inkassdate) select iddovra, "
                                   "datetime(dovradate, '-1 day') from dovra where iddovra = :idDovra"));
        adoq.execSql();
        select();
    }
    if (adoq.isEmpty())
        throw DbError(QStringLiteral("Смена %1 не найдена: инкассация не загружена").arg(idDovra));
    curIdInkass = adoq.field(QStringLiteral("idinkass")).asInteger();
    const QDate shiftDate = adoq.field(QStringLiteral("dovradate")).asDateTime().date();
    const QDate inkassDate = adoq.field(QStringLiteral("inkassdate")).asDateTime().date();
    adoq.close();
    memoDateINKASS->setText(inkassDate.toString(dateFormat));
    btnDateINKASS->setText(shiftDate > inkassDate ? stepForward : stepBack);
}

// The keys of the encashment's bags in the order they were entered; as many as there are boxes.
QList<qint32> TfMain::storedKvitKeys() const
{
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("select idinkasskvit from inkasskvit where idinkass = :idinkass "
                               "order by idinkasskvit"));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("idinkass"), curIdInkass);
    adoq.open();
    QList<qint32> keys;
    for (adoq.first(); !adoq.eof() && keys.size() < maxKvitBoxes; adoq.next())
        keys.append(adoq.field(QStringLiteral("idinkasskvit")).asInteger());
    adoq.close();
    return keys;
}

// The boxes go with what was typed into them stored: a field that still has the focus is left
// first (which may add the box for the next bag).
void TfMain::clearKvitBoxes()
{
    QWidget *focused = QApplication::focusWidget();
    for (int i = 1; focused && i <= kvitCount; ++i) {
        if (kvitBoxes[i]->isAncestorOf(focused)) {
            focused->clearFocus();
            break;
        }
    }
    for (int i = 1; i <= kvitCount; ++i) {
        kvitBoxes[i]->hide();
        // The box may be on the call stack (its own handler led here).
        kvitBoxes[i]->deleteLater();
        kvitBoxes[i] = nullptr;
    }
    kvitCount = 0;
    curIdInkass = 0;
    delete m_kvitFocus;
    m_kvitFocus = nullptr;
}

int TfMain::kvitPosition(const TInkassKvit *box) const
{
    for (int i = 1; i <= kvitCount; ++i) {
        if (kvitBoxes[i] == box)
            return i;
    }
    return 0;
}

// Neighbouring boxes overlap by 2 pixels.
void TfMain::placeKvitBox(TInkassKvit *box, int position) const
{
    box->move(gbINKASS->x(), gbINKASS->y() + (gbINKASS->height() - 2) * (position - 1));
}

void TfMain::addKvitBox()
{
    if (kvitCount >= maxKvitBoxes)
        return;
    auto *box = new TInkassKvit(this, curIdInkass, gbINKASS, pnlDovraRed);
    box->setReadOnly(!nextFocus);
    kvitBoxes[++kvitCount] = box;
    placeKvitBox(box, kvitCount);
    if (!m_kvitFocus)
        m_kvitFocus = new FocusChain(this);
    for (QWidget *control : {static_cast<QWidget *>(box->memoNKv), static_cast<QWidget *>(box->memoSum),
                             static_cast<QWidget *>(box->btnDel)})
        m_kvitFocus->append(control);
}

// The later boxes move up; the bag that takes the removed one's place takes the focus.
void TfMain::removeKvitBox(TInkassKvit *box)
{
    const int position = kvitPosition(box);
    if (position == 0 || position == kvitCount)
        return;
    box->hide();
    box->deleteLater();
    for (int i = position; i < kvitCount; ++i) {
        kvitBoxes[i] = kvitBoxes[i + 1];
        placeKvitBox(kvitBoxes[i], i);
    }
    kvitBoxes[kvitCount--] = nullptr;
    kvitBoxes[position]->memoNKv->setFocus();
}

void TfMain::focusAfterKvit(QWidget *from)
{
    QWidget *next = m_kvitFocus ? m_kvitFocus->next(from) : nullptr;
    if (!next)
        next = nextFocus;
    if (next)
        next->setFocus(Qt::TabFocusReason);
}

void TfMain::totalInkass()
{
    Money total;
    for (int i = 1; i <= kvitCount; ++i) {
        const QString sum = kvitBoxes[i]->memoSum->text();
        if (!sum.isEmpty())
            total += Money::fromDouble(strToFloat(sum));
    }
    memoSumINKASSvsekv->setText(total.toString(2).replace(u'.', QLocale::system().decimalPoint()));
    memoSumINKASSvsekvf->setText(groupedAmountText(total.toDouble()));
    dovraControl();
}

QString TfMain::inkassBagList() const
{
    QStringList numbers;
    for (int i = 1; i <= kvitCount; ++i) {
        const QString sum = kvitBoxes[i]->memoSum->text();
        if (!sum.isEmpty() && strToFloatClean(sum) != 0)
            numbers.append(kvitBoxes[i]->memoNKv->text());
    }
    return numbers.join(QStringLiteral(", "));
}

QDate TfMain::inkassDateShown() const
{
    const QDate date = QDate::fromString(memoDateINKASS->text(), dateFormat);
    if (!date.isValid())
        throw ConvertError(QStringLiteral("«%1» не является правильной датой").arg(memoDateINKASS->text()));
    return date;
}

void TfMain::storeInkassDate()
{
    if (curIdInkass == 0)
        return;
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("update inkass set inkassdate = :inkassdate where idinkass = :idinkass"));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("inkassdate"), inkassDateShown());
    adoq.setParam(QStringLiteral("idinkass"), curIdInkass);
    adoq.execSql();
}

// Toggles the encashment between the day before the shift and the shift's day.
void TfMain::btnDateINKASSClick()
{
    if (curIdInkass == 0 || !nextFocus)
        return;
    const bool back = btnDateINKASS->text() == stepBack;
    memoDateINKASS->setText(inkassDateShown().addDays(back ? -1 : 1).toString(dateFormat));
    btnDateINKASS->setText(back ? stepForward : stepBack);
    storeInkassDate();
}

// The calculator for a count of no bag: its result is not used.
void TfMain::SpeedButton1Click()
{
    if (!m_banknotCalc)
        return;
    m_banknotCalc->load(0);
    m_banknotCalc->placeUnderButton(SpeedButton1);
    m_banknotCalc->exec();
}
