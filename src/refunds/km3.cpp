#include "km3.h"

#include "refundqueries.h"

#include "db/datamodule.h"
#include "documents/km3act.h"

#include "platform/data/datasetmodel.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/report/numberpattern.h"
#include "platform/report/reportoutput.h"
#include "platform/ui/application.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/messages.h"
#include "platform/ui/wholecharacters.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include <functional>

namespace {

constexpr QSize clientSize(330, 416);
constexpr int maxNumberLength = 10;
// "########0.00": nine digits before the mark, two after.
constexpr int maxSumLength = 12;

enum GridColumnIndex { NumberCol, SumCol };

const QString numberColumn = QStringLiteral("NVCheka");
const QString sumColumn = QStringLiteral("SVCheka");
const QString shownSum = QStringLiteral("### ### ##0.00");
const QString editedSum = QStringLiteral("########0.00");

const QColor enteredCash(192, 32, 32);
const QColor enteredCard(32, 32, 192);
const QColor storedCash(210, 128, 128);
const QColor storedCard(128, 128, 210);
const QColor balanced(32, 192, 32);

QChar decimalMark()
{
    return QLocale::system().decimalPoint().at(0);
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A typed sum as money; null for an empty text. The editor lets through only digits and one
// decimal mark.
QVariant sumFromText(const QString &text)
{
    QString plain = text.trimmed();
    if (plain.isEmpty())
        return {};
    plain.replace(decimalMark(), u'.');
    if (plain.endsWith(u'.'))
        plain += u'0';
    bool ok = false;
    const double rubles = QLocale::c().toDouble(plain, &ok);
    if (!ok)
        throw ConvertError(QStringLiteral("«%1» не является правильной суммой").arg(text));
    return QVariant::fromValue(Money::fromDouble(rubles));
}

QString amountText(double amount)
{
    return QString::asprintf("%.2f", amount).replace(u'.', decimalMark());
}

} // namespace

namespace km3 {

// A receipt as the grid shows it: its number and its sum (null when none).
struct Receipt
{
    QString number;
    QVariant sum;

    bool isBlank() const { return number.isEmpty() && sum.isNull(); }
};

// The scratch rows for the grid, and after them the row being entered when there is one: it
// stays in the model until it is stored, so that a row left blank is never stored. Both columns
// are edited; a committed text goes to the window, which stores it. Rows read again in the same
// number only change their cells, so that a store does not close an editor or lose the cell.
class ReceiptModel : public DatasetModel
{
public:
    using CellEdited = std::function<void(int row, int column, const QString &text)>;

    ReceiptModel(Dataset *rows, CellEdited edited, QObject *parent)
        : DatasetModel(rows,
                       {{numberColumn, QStringLiteral("номер чека"), 14},
                        {sumColumn, QStringLiteral("сумма чека"), 17, Qt::AlignRight | Qt::AlignVCenter}},
                       parent)
        , m_edited(std::move(edited))
    {
        m_shownRows = rowCount();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return DatasetModel::rowCount(parent) + (m_newRow && !parent.isValid() ? 1 : 0);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return DatasetModel::flags(index) | Qt::ItemIsEditable;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::TextAlignmentRole)
            return int(gridColumns().at(index.column()).alignment);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        const Receipt receipt = receiptAt(index.row());
        if (index.column() == NumberCol)
            return receipt.number;
        return receipt.sum.isNull()
                   ? QString()
                   : formatNumber(receipt.sum, role == Qt::EditRole ? editedSum : shownSum);
    }

    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        m_edited(index.row(), index.column(), value.toString());
        return true;
    }

    Receipt receiptAt(int row) const
    {
        if (isNewRow(row))
            return *m_newRow;
        const Dataset *rows = dataset();
        if (row < 0 || row >= rows->recordCount())
            return {};
        const QVariant number = rows->value(row, rows->columnIndex(numberColumn));
        return {number.isNull() ? QString() : number.toString(),
                rows->value(row, rows->columnIndex(sumColumn))};
    }

    qint64 keyAt(int row) const
    {
        return dataset()->value(row, dataset()->columnIndex(QStringLiteral("rowid"))).toLongLong();
    }

    int rowOfKey(qint64 key) const
    {
        for (int row = 0; row < dataset()->recordCount(); ++row) {
            if (keyAt(row) == key)
                return row;
        }
        return -1;
    }

    bool isNewRow(int row) const { return m_newRow && row == dataset()->recordCount(); }
    bool hasNewRow() const { return m_newRow.has_value(); }
    int newRow() const { return m_newRow ? dataset()->recordCount() : -1; }

    void appendNewRow()
    {
        const int row = rowCount();
        beginInsertRows({}, row, row);
        m_newRow = Receipt{};
        endInsertRows();
        m_shownRows = rowCount();
    }

    void setNewRowCell(int column, const QString &number, const QVariant &sum)
    {
        if (column == NumberCol)
            m_newRow->number = number;
        else
            m_newRow->sum = sum;
        const int row = newRow();
        emit dataChanged(index(row, column), index(row, column));
    }

    void dropNewRow()
    {
        const int row = newRow();
        beginRemoveRows({}, row, row);
        m_newRow.reset();
        endRemoveRows();
        m_shownRows = rowCount();
    }

    // The new row went into the scratch rows, which are read again next: the grid keeps its
    // number of rows.
    void newRowStored() { m_newRow.reset(); }
    // Rows about to be loaded afresh.
    void forgetNewRow() { m_newRow.reset(); }

protected:
    void datasetRowsReset() override
    {
        const int rows = rowCount();
        if (rows == m_shownRows && rows > 0) {
            emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
            return;
        }
        DatasetModel::datasetRowsReset();
        m_shownRows = rows;
    }

private:
    CellEdited m_edited;
    std::optional<Receipt> m_newRow;
    int m_shownRows = 0;
};

// Edits a number (at most 10 characters) or a sum (digits and one decimal mark, which "," and
// "." both type, at most two decimals). Enter takes the text and hands the key to the window.
class ReceiptDelegate : public QStyledItemDelegate
{
public:
    ReceiptDelegate(std::function<void()> enterPressed, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_enterPressed(std::move(enterPressed))
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        auto editor = new QLineEdit(parent);
        if (index.column() == NumberCol) {
            editor->setObjectName(QStringLiteral("numberEditor"));
            editor->setMaxLength(maxNumberLength);
            keepWholeCharacters(editor);
        } else {
            editor->setObjectName(QStringLiteral("sumEditor"));
            editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            editor->setMaxLength(maxSumLength);
            const QString mark = QRegularExpression::escape(QString(decimalMark()));
            editor->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("\\d{0,9}(%1\\d{0,2})?").arg(mark)), editor));
        }
        m_editor = editor;
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Takes the text being typed as if Enter had confirmed it, without moving on.
    void finishEditing()
    {
        if (QWidget *editor = m_editor) {
            m_editor = nullptr;
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QLineEdit *>(watched);
        if (event->type() == QEvent::KeyPress && editor && editor == m_editor) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (isEnter(key)) {
                finishEditing();
                m_enterPressed();
                return true;
            }
            if (editor->objectName() == QLatin1String("sumEditor")
                && (key->text() == QLatin1String(",") || key->text() == QLatin1String("."))) {
                typeDecimalMark(editor);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    static void typeDecimalMark(QLineEdit *editor)
    {
        QString rest = editor->text();
        if (editor->hasSelectedText())
            rest.remove(editor->selectionStart(), editor->selectedText().size());
        if (!rest.contains(decimalMark()))
            editor->insert(QString(decimalMark()));
    }

    std::function<void()> m_enterPressed;
    mutable QPointer<QLineEdit> m_editor;
};

} // namespace km3

using km3::Receipt;
using km3::ReceiptDelegate;
using km3::ReceiptModel;

TfKM3::TfKM3(TfDM *dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dm(dm)
{
    setObjectName(QStringLiteral("fKM3"));
    setWindowTitle(QStringLiteral("ВВОД ВОЗВРАТНЫХ ЧЕКОВ"));
    setModal(true);
    setFixedSize(clientSize);
    buildForm();
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inGrid = [this](const QWidget *widget) {
            return widget && (widget == dbgXVozvrat || dbgXVozvrat->isAncestorOf(widget));
        };
        if (inGrid(old) && now && !inGrid(now))
            reportErrors([this] { dbgXVozvratExit(); });
    });
}

// The children are destroyed after this body; one losing the focus then must not reach the
// watcher of a window that is already half gone.
TfKM3::~TfKM3()
{
    disconnect(m_focusWatch);
}

void TfKM3::buildForm()
{
    rgNalBNal = new QGroupBox(this);
    rgNalBNal->setObjectName(QStringLiteral("rgNalBNal"));
    rgNalBNal->setGeometry(8, 4, 314, 40);
    rbNal = new QRadioButton(QStringLiteral("Наличный расчет"), rgNalBNal);
    rbNal->setGeometry(10, 12, 140, 22);
    rbBNal = new QRadioButton(QStringLiteral("Безналичный расчет"), rgNalBNal);
    rbBNal->setGeometry(160, 12, 150, 22);
    rbNal->setChecked(true);
    for (QRadioButton *item : {rbNal, rbBNal}) {
        connect(item, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                rgNalBNalClick();
        });
    }

    buildGrid();

    const auto addButton = [this](const QString &text, const char *name, const QRect &geometry) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(geometry);
        // Enter belongs to the grid: it must never press a button.
        button->setAutoDefault(false);
        return button;
    };
    btnDelRow = addButton(QStringLiteral("Удалить строку"), "btnDelRow", QRect(8, 290, 140, 26));
    btnKM3_Show = addButton(QStringLiteral("Открыть КМ3"), "btnKM3_Show", QRect(8, 380, 150, 28));
    btnKM3_Print = addButton(QStringLiteral("Печать КМ3"), "btnKM3_Print", QRect(172, 380, 150, 28));
    connect(btnDelRow, &QPushButton::clicked, this, &TfKM3::btnDelRowClick);
    connect(btnKM3_Show, &QPushButton::clicked, this, &TfKM3::btnKM3_ShowClick);
    connect(btnKM3_Print, &QPushButton::clicked, this, &TfKM3::btnKM3_PrintClick);

    const auto addLabel = [this](const QString &text, const char *name, const QRect &geometry) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(geometry);
        return label;
    };
    lblDeltaLN = addLabel(QStringLiteral("Нал"), "lblDeltaLN", QRect(8, 324, 32, 20));
    lblDeltaN = addLabel(QString(), "lblDeltaN", QRect(44, 324, 278, 20));
    lblDeltaLBN = addLabel(QStringLiteral("Б/н"), "lblDeltaLBN", QRect(8, 348, 32, 20));
    lblDeltaBN = addLabel(QString(), "lblDeltaBN", QRect(44, 348, 278, 20));
}

void TfKM3::buildGrid()
{
    dbgXVozvrat = new DataGrid(this);
    dbgXVozvrat->setObjectName(QStringLiteral("dbgXVozvrat"));
    dbgXVozvrat->setGeometry(8, 50, 314, 234);
    m_model = new ReceiptModel(&m_dm->tabXVozvrat,
                               [this](int row, int column, const QString &text) {
                                   reportErrors([&] { cellEdited(row, column, text); });
                               },
                               this);
    dbgXVozvrat->setDatasetModel(m_model);
    m_delegate = new ReceiptDelegate([this] { reportErrors([this] { dbgXVozvratKeyPress(); }); }, this);
    dbgXVozvrat->setItemDelegate(m_delegate);
    dbgXVozvrat->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgXVozvrat->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                 | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::SelectedClicked);
    dbgXVozvrat->horizontalHeader()->setStretchLastSection(true);
    dbgXVozvrat->installEventFilter(this);
    connect(dbgXVozvrat->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                reportErrors([&] { cellChanged(current, previous); });
            });
}

int TfKM3::openFor(const DocumentContext &context)
{
    setContext(context);
    return exec();
}

void TfKM3::setContext(const DocumentContext &context)
{
    m_context.reset();
    m_context.emplace(context);
}

void TfKM3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfKM3::FormShow()
{
    QScopedValueRollback placing(m_placing, true);
    m_opened = false;
    if (!m_context || (m_pending && !storePending())) {
        closeLater(Rejected);
        return;
    }
    readRows();
    Query &zActive = m_dm->adoqZActive;
    openZActive(*m_context);
    idZ = zActive.isEmpty() ? 0 : zActive.field(QStringLiteral("idZ")).asInteger();
    NalVozvrat = refundTotal(*m_context, true);
    KredStorno = refundTotal(*m_context, false);
    lblDeltaN->clear();
    lblDeltaBN->clear();

    if (NalVozvrat == 0 && KredStorno == 0) {
        idZ = 0;
        m_model->forgetNewRow();
        loadXVozvrat(*m_dm, 0, true);
        readRows();
        showMessage(QStringLiteral("На этой кассе не было возвратов"));
        closeLater(Accepted);
        return;
    }
    setKindShown(NalVozvrat != 0);
    rgNalBNal->setEnabled(NalVozvrat != 0 && KredStorno != 0);
    loadRows();
    autoNum = m_dm->tabXVozvrat.recordCount() + 1;
    m_opened = true;
    showEnteredDelta();
    showStoredDelta();
    dbgXVozvrat->setFocus();
}

// The rows of a write-back that failed on closing go to their Z-report before anything else is
// loaded over them.
bool TfKM3::storePending()
{
    const bool stored = reportErrors([this] { storeXVozvrat(*m_dm, m_pending->idZ, m_pending->cash); });
    if (stored)
        m_pending.reset();
    return stored;
}

// A window that is still opening closes once it is shown.
void TfKM3::closeLater(int result)
{
    QMetaObject::invokeMethod(this, [this, result] { done(result); }, Qt::QueuedConnection);
}

void TfKM3::setKindShown(bool cash)
{
    nalMode = cash;
    const QSignalBlocker nal(rbNal);
    const QSignalBlocker card(rbBNal);
    rbNal->setChecked(cash);
    rbBNal->setChecked(!cash);
}

void TfKM3::readRows()
{
    m_dm->tabXVozvrat.close();
    m_dm->tabXVozvrat.open();
}

// The receipts of idZ and the kind into the scratch rows and the grid, the cursor on the first
// number. An empty grid always has a row to type into.
void TfKM3::loadRows()
{
    QScopedValueRollback placing(m_placing, true);
    m_model->forgetNewRow();
    loadXVozvrat(*m_dm, idZ, nalMode);
    readRows();
    if (m_dm->tabXVozvrat.isEmpty())
        m_model->appendNewRow();
    selectCell(0, NumberCol);
}

// The receipt being typed into the scratch rows, and the scratch rows into VOZVRAT.
void TfKM3::writeBack()
{
    finishEditing();
    storeCell(currentRow());
    storeXVozvrat(*m_dm, idZ, nalMode);
}

bool TfKM3::FormClose()
{
    const bool stored = reportErrors([this] { writeBack(); });
    if (!stored)
        m_pending = PendingWriteBack{idZ, nalMode};
    return stored;
}

void TfKM3::done(int result)
{
    if (m_opened && !FormClose())
        result = Rejected;
    m_opened = false;
    QDialog::done(result);
}

void TfKM3::rgNalBNalClick()
{
    const bool cash = rbNal->isChecked();
    if (cash == nalMode || !m_opened)
        return;
    try {
        writeBack();
    } catch (...) {
        setKindShown(nalMode);
        throw;
    }
    nalMode = cash;
    showStoredDelta();
    loadRows();
    showEnteredDelta();
    dbgXVozvrat->setFocus();
}

void TfKM3::btnKM3_PrintClick()
{
    writeBack();
    done(Accepted);
}

void TfKM3::btnKM3_ShowClick()
{
    writeBack();
    printOneKM3(*m_context, nalMode, OutputMode::Preview, this);
}

void TfKM3::btnDelRowClick()
{
    finishEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    const int column = currentColumn();
    {
        QScopedValueRollback placing(m_placing, true);
        if (m_model->isNewRow(row)) {
            m_model->dropNewRow();
        } else {
            deleteXVozvrat(*m_dm, m_model->keyAt(row));
            m_dm->tabXVozvrat.refresh();
        }
        if (m_model->rowCount() == 0)
            m_model->appendNewRow();
        selectCell(qMin(row, m_model->rowCount() - 1), column);
    }
    showEnteredDelta();
    dbgXVozvrat->setFocus();
}

int TfKM3::currentRow() const
{
    return dbgXVozvrat->currentIndex().row();
}

int TfKM3::currentColumn() const
{
    return qMax(0, dbgXVozvrat->currentIndex().column());
}

void TfKM3::selectCell(int row, int column)
{
    if (row >= 0)
        dbgXVozvrat->setCurrentIndex(m_model->index(row, column));
}

void TfKM3::finishEditing()
{
    m_delegate->finishEditing();
}

bool TfKM3::isBlank(int row) const
{
    return m_model->receiptAt(row).isBlank();
}

// A number or sum confirmed in the grid: the new row keeps it until it is stored, a scratch row
// takes it at once.
void TfKM3::cellEdited(int row, int column, const QString &text)
{
    const QString number = text.trimmed();
    const QVariant sum = column == SumCol ? sumFromText(text) : QVariant();
    if (m_model->isNewRow(row)) {
        m_model->setNewRowCell(column, number, sum);
        return;
    }
    if (row < 0 || row >= m_dm->tabXVozvrat.recordCount())
        return;
    if (column == NumberCol)
        setXVozvratNumber(*m_dm, m_model->keyAt(row), number);
    else
        setXVozvratSum(*m_dm, m_model->keyAt(row), sum);
    m_dm->tabXVozvrat.refresh();
    showEnteredDelta();
}

void TfKM3::setNumber(int row, const QString &number)
{
    if (m_model->isNewRow(row)) {
        m_model->setNewRowCell(NumberCol, number, {});
        return;
    }
    setXVozvratNumber(*m_dm, m_model->keyAt(row), number);
    m_dm->tabXVozvrat.refresh();
}

// Leaving a column finishes its cell; leaving a row stores it, and a row left blank goes once
// the grid has moved on.
void TfKM3::cellChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (m_placing || !m_opened || !previous.isValid())
        return;
    if (previous.column() != current.column())
        finishCell(previous.row(), previous.column());
    if (previous.row() == current.row())
        return;
    storeCell(previous.row());
    if (!isBlank(previous.row()))
        return;
    const std::optional<qint64> key = m_model->isNewRow(previous.row())
                                          ? std::nullopt
                                          : std::optional(m_model->keyAt(previous.row()));
    QMetaObject::invokeMethod(this, [this, key] { reportErrors([&] { dropBlankRow(key); }); },
                              Qt::QueuedConnection);
}

// A row left blank is no receipt: the new row (no key) goes from the grid, a scratch row whose
// number and sum were both cleared from the scratch rows. Not while the cursor is back on it.
void TfKM3::dropBlankRow(std::optional<qint64> rowKey)
{
    const int row = rowKey ? m_model->rowOfKey(*rowKey) : m_model->newRow();
    const int current = currentRow();
    if (row < 0 || row == current || !isBlank(row))
        return;
    QScopedValueRollback placing(m_placing, true);
    if (!rowKey) {
        m_model->dropNewRow();
        return;
    }
    const int column = currentColumn();
    deleteXVozvrat(*m_dm, *rowKey);
    m_dm->tabXVozvrat.refresh();
    selectCell(current - (row < current ? 1 : 0), column);
    showEnteredDelta();
}

void TfKM3::dbgXVozvratExit()
{
    if (m_opened)
        storeCell(currentRow());
}

bool TfKM3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == dbgXVozvrat && event->type() == QEvent::KeyPress
        && isEnter(static_cast<QKeyEvent *>(event))) {
        reportErrors([this] { dbgXVozvratKeyPress(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfKM3::dbgXVozvratKeyPress()
{
    if (!m_opened)
        return;
    const int row = currentRow();
    const int column = currentColumn();
    if (finishCell(row, column))
        goToNext(row, column);
    else
        selectCell(row, NumberCol);
}

// False when a sum was given without a number: the row gets "#" and the next number and the
// cursor stays in the row for the real number to be typed over it.
bool TfKM3::finishCell(int row, int column)
{
    if (row < 0)
        return true;
    const Receipt receipt = m_model->receiptAt(row);
    if (column == SumCol && !receipt.sum.isNull() && receipt.number.isEmpty()) {
        setNumber(row, QStringLiteral("#") + QString::number(autoNum++));
        return false;
    }
    storeCell(row);
    return true;
}

void TfKM3::goToNext(int row, int column)
{
    if (column == NumberCol) {
        selectCell(row, SumCol);
        return;
    }
    if (row + 1 < m_model->rowCount()) {
        selectCell(row + 1, NumberCol);
        return;
    }
    // A new row left blank gets no second one after it.
    if (row < 0 || !m_model->isNewRow(row))
        m_model->appendNewRow();
    selectCell(m_model->rowCount() - 1, NumberCol);
}

// A receipt with a sum and no number gets "##" and the next number. A blank row is not stored.
void TfKM3::storeCell(int row)
{
    if (row < 0 || row >= m_model->rowCount() || isBlank(row))
        return;
    Receipt receipt = m_model->receiptAt(row);
    const bool numbered = receipt.number.isEmpty();
    if (numbered)
        receipt.number = QStringLiteral("##") + QString::number(autoNum++);
    if (m_model->isNewRow(row)) {
        appendXVozvrat(*m_dm, receipt.number, receipt.sum);
        m_model->newRowStored();
    } else if (numbered) {
        setXVozvratNumber(*m_dm, m_model->keyAt(row), receipt.number);
    } else {
        return;
    }
    m_dm->tabXVozvrat.refresh();
    showEnteredDelta();
}

void TfKM3::showDelta(QLabel *value, QLabel *caption, const QColor &colour, bool stored, double d)
{
    for (QLabel *label : {value, caption}) {
        QFont font = label->font();
        font.setBold(!stored);
        label->setFont(font);
    }
    QColor shown = colour;
    if (d > 0.001) {
        value->setText(QStringLiteral("не введено %1 руб").arg(amountText(d)));
    } else if (d < -0.001) {
        value->setText(QStringLiteral("введено лишних %1 руб").arg(amountText(-d)));
    } else {
        value->setText(QStringLiteral("V"));
        shown = balanced;
    }
    QPalette palette = value->palette();
    palette.setColor(QPalette::WindowText, shown);
    value->setPalette(palette);
}

void TfKM3::showEnteredDelta()
{
    const double entered = xVozvratSum(*m_dm).toDouble();
    if (nalMode)
        showDelta(lblDeltaN, lblDeltaLN, enteredCash, false, NalVozvrat - entered);
    else
        showDelta(lblDeltaBN, lblDeltaLBN, enteredCard, false, KredStorno - entered);
}

void TfKM3::showStoredDelta()
{
    const double stored = storedVozvratSum(*m_dm, idZ, !nalMode).toDouble();
    if (nalMode)
        showDelta(lblDeltaBN, lblDeltaLBN, storedCard, true, KredStorno - stored);
    else
        showDelta(lblDeltaN, lblDeltaLN, storedCash, true, NalVozvrat - stored);
}

QList<ReportLayout> printKM3(TfKM3 &window, DocumentContext &context)
{
    if (window.openFor(context) != QDialog::Accepted)
        return {};
    const Query &zActive = context.dm.adoqZActive;
    const qint32 idZ = zActive.isEmpty() ? 0 : zActive.field(QStringLiteral("idZ")).asInteger();
    openRequisites(context.dm);
    QList<ReportLayout> acts;
    for (const bool cash : {true, false}) {
        if (refundTotal(context, cash) > 0) {
            loadXVozvrat(context.dm, idZ, cash);
            acts.append(prepareKM3(context, cash, xVozvratReceipts(context.dm)));
        }
    }
    for (const ReportLayout &act : std::as_const(acts))
        printDirect(act);
    return acts;
}
