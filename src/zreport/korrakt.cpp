#include "korrakt.h"

#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "documents/documentcommands.h"

#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/focuschain.h"
#include "platform/ui/messages.h"
#include "platform/ui/wholecharacters.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <optional>

namespace {

// The frame of 363 × 500 pixels less the borders and the title bar.
constexpr QSize clientSize(355, 466);
constexpr QPoint designedPosition(657, 155);
constexpr int editLeft = 187;
constexpr QSize editSize(134, 25);
constexpr int buttonLeft = 248;
constexpr QSize buttonSize(75, 25);
constexpr int fontPixels = 13;

QChar decimalMark()
{
    return QLocale::system().decimalPoint().at(0);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The character that a typed key puts into an amount edit, or none when the key is dropped.
// Everything is judged on the text as it will be once the key replaces the selection (all of it,
// before and after the caret): a number without a mark has at most 12 digits, two follow the
// mark, and a mark typed over the selected amount (",5" into a field showing 0,00) goes in.
std::optional<QChar> amountKey(QChar key, const QString &text, int selStart, int selLength)
{
    const QChar mark = decimalMark();
    const QString rest = text.left(selStart) + text.mid(selStart + selLength);
    if (key == u',' || key == u'.') {
        if (rest.contains(mark) || selStart <= rest.size() - 3)
            return std::nullopt;
        return mark;
    }
    if (!isDigit(key))
        return std::nullopt;
    const qsizetype markAt = rest.indexOf(mark);
    if (markAt < 0)
        return rest.size() <= TKorrAkt::maxFieldLength - 4 ? std::optional<QChar>(key) : std::nullopt;
    const bool afterMark = selStart > markAt;
    if (afterMark && rest.size() - markAt - 1 >= 2)
        return std::nullopt;
    return key;
}

// A stored amount as the edits show it: two decimals, the system's mark, no grouping.
QString amountText(Money amount)
{
    return amount.toString(2).replace(u'.', decimalMark());
}

// A lone decimal mark is a number not yet typed: zero.
double amountOf(const QString &text)
{
    return text == QString(decimalMark()) ? 0.0 : strToFloat(text);
}

TfMain *mainWindowOf(QWidget *owner)
{
    return owner ? qobject_cast<TfMain *>(owner->window()) : nullptr;
}

TfDM *dataModuleOf(QWidget *owner)
{
    const auto main = mainWindowOf(owner);
    return main ? main->dataModule() : nullptr;
}

const QString revenueActDocument = QStringLiteral("revenue-act");

QFont formFont()
{
    QFont font;
    font.setPixelSize(fontPixels);
    return font;
}

} // namespace

TKorrAkt::TKorrAkt(QWidget *owner)
    : QDialog(owner)
    , m_dm(dataModuleOf(owner))
    , tblZKorr(m_dm ? &m_dm->ADOConAZSKAS : nullptr)
    , m_focus(new FocusChain(this))
{
    setObjectName(QStringLiteral("KorrAkt"));
    setWindowTitle(QStringLiteral("Корректирующий акт"));
    setModal(true);
    setFixedSize(clientSize);
    move(designedPosition);
    tblZKorr.setSql(QStringLiteral("select * from zkorr where idz = :idz"));
    buildForm();
    // The act's "Печать" runs the bar's "АКТ-Нал/БНал", which prints directly when raised from
    // here, for the Z-report of the current panel: the one whose button opened this window.
    if (TfMain *main = mainWindowOf(owner); main && findDocument(revenueActDocument)) {
        main->connectDocumentButton(Button1, revenueActDocument);
        Button1->setEnabled(true);
    }
}

void TKorrAkt::setIdZ(qint32 idZ)
{
    m_idZ = idZ;
}

void TKorrAkt::buildForm()
{
    const Qt::Alignment amount = Qt::AlignRight | Qt::AlignVCenter;
    addLabel(QStringLiteral("Номер акта"), 12, 24);
    Memo_nakt = addEdit(QStringLiteral("Memo_nakt"), 16, Qt::AlignCenter);
    keepWholeCharacters(Memo_nakt);
    addLabel(QStringLiteral("фактический "), 12, 56);
    addLabel(QStringLiteral("остаток в кассе"), 12, 72);
    Memo_nal = addEdit(QStringLiteral("Memo_nal"), 56, amount);
    addLabel(QStringLiteral("Ошибки при продаже"), 80, 88);
    addLabel(QStringLiteral("безнал пробит как нал"), 12, 120);
    Memo_bnalkaknal = addEdit(QStringLiteral("Memo_bnalkaknal"), 112, amount);
    addLabel(QStringLiteral("нал пробит как безнал"), 12, 144);
    Memo_nalkakbnal = addEdit(QStringLiteral("Memo_nalkakbnal"), 144, amount);
    addLabel(QStringLiteral("Ошибки при возврате"), 80, 176);
    addLabel(QStringLiteral("безнал пробит как нал"), 12, 200);
    Memo_vbnalkaknal = addEdit(QStringLiteral("Memo_vbnalkaknal"), 192, amount);
    addLabel(QStringLiteral("нал пробит как безнал"), 12, 224);
    Memo_vnalkakbnal = addEdit(QStringLiteral("Memo_vnalkakbnal"), 224, amount);
    addLabel(QStringLiteral("уменьшение остатка в кассе"), 56, 288);
    addLabel(QStringLiteral("корр инкассация"), 12, 328);
    memo_KorrInkass = addEdit(QStringLiteral("memo_KorrInkass"), 320, amount);
    addLabel(QStringLiteral("корр вынос"), 12, 352);
    memo_KorrVinos = addEdit(QStringLiteral("memo_KorrVinos"), 344, amount);
    addLabel(QStringLiteral("увеличение остатка в кассе"), 56, 376);
    addLabel(QStringLiteral("корр внос"), 12, 400);
    memo_KorrVnos = addEdit(QStringLiteral("memo_KorrVnos"), 392, amount);
    Button1 = addButton(256);
    Button2 = addButton(424);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
}

QLineEdit *TKorrAkt::addEdit(const QString &name, int top, Qt::Alignment alignment)
{
    auto edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(QRect(QPoint(editLeft, top), editSize));
    edit->setFont(formFont());
    edit->setMaxLength(maxFieldLength);
    edit->setAlignment(alignment);
    m_focus->append(edit, FocusChain::Enter | FocusChain::UpDown);
    edit->installEventFilter(this);
    m_edits.append(edit);
    return edit;
}

void TKorrAkt::addLabel(const QString &text, int left, int top)
{
    auto label = new QLabel(text, this);
    label->setFont(formFont());
    label->move(left, top);
    label->adjustSize();
}

QPushButton *TKorrAkt::addButton(int top)
{
    auto button = new QPushButton(QStringLiteral("Печать"), this);
    button->setGeometry(QRect(QPoint(buttonLeft, top), buttonSize));
    // Enter belongs to the edits: it must never press a button of the act.
    button->setAutoDefault(false);
    button->setEnabled(false);
    m_focus->append(button);
    return button;
}

void TKorrAkt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TKorrAkt::FormShow()
{
    m_actOpen = false;
    bool opened = false;
    const bool clean = reportErrors([this, &opened] { opened = openAct(); });
    if (!opened) {
        if (clean)
            showMessage(creationFailedText);
        // Closing a window from inside its own showing is left to the event loop.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    m_actOpen = true;
    Memo_nakt->setFocus(Qt::TabFocusReason);
}

// Finds or creates the act's row and shows it; false when there is no act to edit.
bool TKorrAkt::openAct()
{
    tblZKorr.close();
    if (!m_dm)
        throw DbError(QStringLiteral("Нет подключения к базе данных"));
    // An act belongs to a stored Z-report: a panel not yet loaded has none.
    if (!zReportExists())
        return false;
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("select count(*) from zkorr where idz = :idz"));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("idz"), m_idZ);
    adoq.open();
    const qint32 count = adoq.field(adoq.columnName(0)).asInteger();
    adoq.close();
    if (count == 0 && !createActRow())
        return false;
    tblZKorr.clearParams();
    tblZKorr.setParam(QStringLiteral("idz"), m_idZ);
    tblZKorr.open();
    showAct();
    return true;
}

bool TKorrAkt::zReportExists()
{
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("select count(*) from zotchet where idz = :idz"));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("idz"), m_idZ);
    adoq.open();
    const bool exists = adoq.field(adoq.columnName(0)).asInteger() > 0;
    adoq.close();
    return exists;
}

bool TKorrAkt::createActRow()
{
    Query &adoq = m_dm->adoq;
    adoq.setSql(QStringLiteral("insert into zkorr (idz) values ( :idz) ; "));
    adoq.clearParams();
    adoq.setParam(QStringLiteral("idz"), m_idZ);
    return adoq.execSql() == 1;
}

void TKorrAkt::showAct()
{
    Memo_nakt->setText(tblZKorr.field(QStringLiteral("NAkt")).asString());
    for (QLineEdit *edit : std::as_const(m_edits)) {
        if (edit != Memo_nakt)
            edit->setText(amountText(tblZKorr.field(columnOf(edit->objectName())).asMoney()));
    }
}

bool TKorrAkt::eventFilter(QObject *watched, QEvent *event)
{
    const auto edit = qobject_cast<QLineEdit *>(watched);
    if (!edit || !m_edits.contains(edit))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        onEnterProc(edit, static_cast<QFocusEvent *>(event)->reason());
        break;
    case QEvent::FocusOut: {
        // Another window coming to the front (a message box, another program) does not leave
        // the field; closing this one stores it in done().
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_actOpen && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            storeField(edit);
        break;
    }
    case QEvent::KeyPress:
        if (edit != Memo_nakt)
            return memoRubKeyPress(edit, static_cast<QKeyEvent *>(event));
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TKorrAkt::onEnterProc(QLineEdit *edit, Qt::FocusReason reason)
{
    edit->selectAll();
    // A click places the caret after the focus arrives: select once it has.
    if (reason == Qt::MouseFocusReason)
        QTimer::singleShot(0, edit, &QLineEdit::selectAll);
}

// True when the key is consumed here. Enter and the arrows belong to the focus chain, control
// keys and shortcuts to the edit.
bool TKorrAkt::memoRubKeyPress(QLineEdit *edit, const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return false;
    const int selStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const std::optional<QChar> typed = amountKey(text.at(0), edit->text(), selStart,
                                                 int(edit->selectedText().size()));
    if (!typed)
        return true;
    if (*typed == text.at(0))
        return false;
    edit->insert(QString(*typed));
    return true;
}

void TKorrAkt::done(int result)
{
    if (!storeFieldBeingEdited())
        return;
    m_actOpen = false;
    QDialog::done(result);
}

// False when the field could not be stored: the window then stays open with the text, so that
// the operator can correct it instead of losing it.
bool TKorrAkt::storeFieldBeingEdited()
{
    const auto edit = qobject_cast<QLineEdit *>(focusWidget());
    if (!m_actOpen || !m_edits.contains(edit))
        return true;
    return reportErrors([this, edit] { storeField(edit); });
}

void TKorrAkt::storeField(QLineEdit *edit)
{
    if (edit == Memo_nakt)
        storeStrToDB(edit);
    else
        storeToDB(edit);
}

void TKorrAkt::storeStrToDB(QLineEdit *edit)
{
    const QString text = edit->text();
    runStore(edit, text.isEmpty() ? QVariant() : QVariant(text));
}

// The text stays as typed; the number it denotes is stored.
void TKorrAkt::storeToDB(QLineEdit *edit)
{
    const QString text = edit->text();
    runStore(edit, text.isEmpty() ? QVariant() : QVariant::fromValue(Money::fromDouble(amountOf(text))));
}

void TKorrAkt::runStore(QLineEdit *edit, const QVariant &value)
{
    // The column is named by the edit's name after the first underscore.
    const QString column = m_dm->ADOConAZSKAS.checkedColumn(QStringLiteral("zkorr"),
                                                            columnOf(edit->objectName()));
    Query &adoq3 = m_dm->adoq3;
    adoq3.setSql(QStringLiteral("update zkorr set %1 = :val where idz = :idz").arg(column));
    adoq3.clearParams();
    adoq3.setParam(QStringLiteral("val"), value);
    adoq3.setParam(QStringLiteral("idz"), m_idZ);
    if (adoq3.execSql() == 0)
        throw DbError(QStringLiteral("Корректирующий акт Z-отчета %1 не найден в базе данных").arg(m_idZ));
}
