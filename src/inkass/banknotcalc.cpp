#include "banknotcalc.h"

#include "notecount.h"

#include "db/datamodule.h"

#include "platform/data/datasetmodel.h"
#include "platform/data/errors.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>

namespace {

constexpr QSize clientSize(486, 303);
constexpr int bagBoxIndent = 6;
constexpr int maxCountLength = 255;

const QString nominalColumn = QStringLiteral("Nominal");
const QString countColumnName = QStringLiteral("NominalStr");
const QString numberColumn = QStringLiteral("NominalNumber");
const QString sumColumn = QStringLiteral("NominalSumma");
const QString keyColumn = QStringLiteral("idNominal");

enum GridColumnIndex { NominalCol, CountCol, NumberCol, SumCol };

QString withoutSelection(const QLineEdit *edit)
{
    if (!edit->hasSelectedText())
        return edit->text();
    const int start = edit->selectionStart();
    return edit->text().left(start) + edit->text().mid(start + edit->selectedText().size());
}

} // namespace

namespace banknotcalc {

// The scratch rows for the grid: only the count text is edited. A committed text goes to the
// window, which writes the row outside the grid's own handlers. While a count is being typed
// the row shows the notes counted so far.
class CountModel : public DatasetModel
{
public:
    using CountCommitted = std::function<void(qint32 idNominal, const QString &text)>;

    CountModel(Dataset *rows, const QList<GridColumn> &columns, CountCommitted committed,
               QObject *parent)
        : DatasetModel(rows, columns, parent)
        , m_committed(std::move(committed))
    {
        connect(this, &QAbstractItemModel::modelReset, this, [this] { m_running.reset(); });
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const Qt::ItemFlags base = DatasetModel::flags(index);
        return index.column() == CountCol ? base | Qt::ItemIsEditable : base;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::EditRole && index.column() == CountCol)
            return DatasetModel::data(index, Qt::DisplayRole);
        if (role == Qt::DisplayRole && m_running && m_running->row == index.row()) {
            if (index.column() == NumberCol)
                return QString::number(m_running->notes);
            if (index.column() == SumCol)
                return QString::number(m_running->notes * value(index.row(), nominalColumn).toLongLong());
        }
        return DatasetModel::data(index, role);
    }

    bool setData(const QModelIndex &index, const QVariant &text, int role) override
    {
        if (role != Qt::EditRole || index.column() != CountCol)
            return false;
        m_committed(value(index.row(), keyColumn).toInt(), text.toString());
        return true;
    }

    void setRunningCount(int row, qint64 notes)
    {
        m_running = Running{row, notes};
        emit dataChanged(index(row, NumberCol), index(row, SumCol));
    }

    void clearRunningCount()
    {
        if (!m_running)
            return;
        const int row = m_running->row;
        m_running.reset();
        emit dataChanged(index(row, NumberCol), index(row, SumCol));
    }

private:
    struct Running
    {
        int row;
        qint64 notes;
    };

    QVariant value(int row, const QString &column) const
    {
        return dataset()->value(row, dataset()->columnIndex(column));
    }

    CountCommitted m_committed;
    std::optional<Running> m_running;
};

// Edits a count: digits and "+" only, so that no pasted text can reach a row.
class CountDelegate : public QStyledItemDelegate
{
public:
    CountDelegate(QObject *keyFilter, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_keyFilter(keyFilter)
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("countEditor"));
        editor->setMaxLength(maxCountLength);
        editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9+]*")), editor));
        editor->installEventFilter(m_keyFilter);
        m_editor = editor;
        return editor;
    }

    // The editor of the count being typed; none once it is closed.
    QLineEdit *editor() const { return m_editor; }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Takes the count being typed as if it had been confirmed with Enter.
    void finishEditing()
    {
        if (!m_editor)
            return;
        QWidget *editor = m_editor;
        emit commitData(editor);
        emit closeEditor(editor);
    }

private:
    QObject *m_keyFilter;
    mutable QPointer<QLineEdit> m_editor;
};

} // namespace banknotcalc

using banknotcalc::CountDelegate;
using banknotcalc::CountModel;

TfBanknotCalc::TfBanknotCalc(TfDM *dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dm(dm)
    , tabxxxBnkCalc(&dm->ADOConAZSKAS, QStringLiteral("xxxBnkCalc"))
{
    setObjectName(QStringLiteral("fBanknotCalc"));
    setWindowTitle(QStringLiteral("Калькулятор банкнот"));
    setModal(true);
    setFixedSize(clientSize);
    buildForm();
}

TfBanknotCalc::~TfBanknotCalc() = default;

void TfBanknotCalc::buildForm()
{
    buildGrid();
    const auto addField = [this](const char *name, const QRect &geometry, Qt::Alignment alignment) {
        auto field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        field->setGeometry(geometry);
        field->setAlignment(alignment);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        return field;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    dbeNominal = addField("dbeNominal", QRect(8, 224, 64, 24), right);
    dbeNominalStr = addField("dbeNominalStr", QRect(76, 224, 250, 24), Qt::AlignLeft | Qt::AlignVCenter);
    dbeNominalNumber = addField("dbeNominalNumber", QRect(330, 224, 56, 24), right);
    dbeNominalSumma = addField("dbeNominalSumma", QRect(390, 224, 88, 24), right);
    dbeNominalSummAll = addField("dbeNominalSummAll", QRect(358, 264, 120, 28), right);
    QFont totalFont = dbeNominalSummAll->font();
    totalFont.setBold(true);
    dbeNominalSummAll->setFont(totalFont);

    Button1 = new QPushButton(QStringLiteral("записать"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 264, 100, 28);
    // Enter confirms a count in the grid; it must never store and close the window.
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TfBanknotCalc::Button1Click);
}

void TfBanknotCalc::buildGrid()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const QList<GridColumn> columns{
        {nominalColumn, QStringLiteral("Номинал"), 9, right},
        {countColumnName, QStringLiteral("Построчно введите к-во номиналов через Enter"), 30},
        {numberColumn, QStringLiteral("К-во"), 5, right},
        {sumColumn, QStringLiteral("СУММА"), 10, right}};
    m_model = new CountModel(&tabxxxBnkCalc, columns,
                             [this](qint32 idNominal, const QString &text) { queueCount(idNominal, text); },
                             this);
    m_delegate = new CountDelegate(this, this);

    dbgBankCalc = new QTableView(this);
    dbgBankCalc->setObjectName(QStringLiteral("dbgBankCalc"));
    dbgBankCalc->setGeometry(8, 8, 470, 208);
    dbgBankCalc->setModel(m_model);
    dbgBankCalc->setItemDelegate(m_delegate);
    dbgBankCalc->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgBankCalc->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgBankCalc->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                 | QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    dbgBankCalc->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    dbgBankCalc->verticalHeader()->setFixedWidth(12);
    QHeaderView *header = dbgBankCalc->horizontalHeader();
    header->setHighlightSections(false);
    // Two lines of heading, so that the count column's instruction is read whole.
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    header->setFixedHeight(2 * fontMetrics().height() + 8);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int i = 0; i < columns.size(); ++i)
        dbgBankCalc->setColumnWidth(i, columns.at(i).widthChars * charWidth + 12);
    // The count column takes the rest of the width.
    header->setSectionResizeMode(CountCol, QHeaderView::Stretch);
    dbgBankCalc->installEventFilter(this);

    connect(dbgBankCalc->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfBanknotCalc::showCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TfBanknotCalc::showCurrentRow);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TfBanknotCalc::showCurrentRow);
    // A count confirmed while another was typed waits until no cell is being edited.
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this, [this] {
        m_model->clearRunningCount();
        if (!m_pendingCounts.isEmpty())
            QCoreApplication::postEvent(this, new QEvent(myEventType));
    });
}

void TfBanknotCalc::load(qint32 idInkassKvit)
{
    // Counts typed for the previous bag must not land on this one.
    m_pendingCounts.clear();
    m_idInkassKvit = 0;
    if (idInkassKvit == 0)
        return;
    readRows();

    // Every count is read and checked before the first row changes: a bag is loaded whole or
    // not at all.
    struct Count
    {
        qint32 idNominal;
        QString text;
        qint64 notes;
    };
    QList<Count> counts;
    Query &adoq = m_dm->adoq;
    for (tabxxxBnkCalc.first(); !tabxxxBnkCalc.eof(); tabxxxBnkCalc.next()) {
        const QString column = countColumn(tabxxxBnkCalc.field(nominalColumn).asInteger());
        adoq.setSql(QStringLiteral("select ") + column
                    + QStringLiteral(" as str from inkasskvit where idinkassKvit = :idinkassKvit"));
        adoq.clearParams();
        adoq.setParam(QStringLiteral("idinkassKvit"), idInkassKvit);
        adoq.open();
        const bool found = !adoq.isEmpty();
        const QString text = adoq.field(QStringLiteral("str")).asString();
        adoq.close();
        if (!found)
            throw DbError(QStringLiteral("Нет сумки с ключом %1").arg(idInkassKvit));
        counts.append({tabxxxBnkCalc.field(keyColumn).asInteger(), text, plusSum(text)});
    }

    try {
        Transaction transaction(m_dm->ADOConAZSKAS);
        for (const Count &count : std::as_const(counts))
            writeRow(count.idNominal, count.text, count.notes);
        transaction.commit();
    } catch (...) {
        tabxxxBnkCalc.refresh();
        throw;
    }
    m_idInkassKvit = idInkassKvit;
    tabxxxBnkCalc.first();
    tabxxxBnkCalcAfterPost();
}

void TfBanknotCalc::readRows()
{
    if (tabxxxBnkCalc.isOpen())
        tabxxxBnkCalc.refresh();
    else
        tabxxxBnkCalc.open();
}

QString TfBanknotCalc::countColumn(qint32 nominal) const
{
    return m_dm->ADOConAZSKAS.checkedColumn(QStringLiteral("InkassKvit"),
                                            QStringLiteral("KRub") + QString::number(nominal));
}

void TfBanknotCalc::placeUnderBagBox(const QWidget *bagBox)
{
    const QPoint bottomLeft = bagBox->mapToGlobal(QPoint(0, bagBox->height()));
    move(bottomLeft.x() + bagBoxIndent, bottomLeft.y());
}

void TfBanknotCalc::placeUnderButton(const QWidget *button)
{
    move(x(), button->mapToGlobal(QPoint(0, button->height())).y());
}

// Plain enough for the bag's sum field to take as typed: no thousands separators.
QString TfBanknotCalc::totalText() const
{
    return m_total.toString(2).replace(u'.', QLocale::system().decimalPoint());
}

void TfBanknotCalc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TfBanknotCalc::FormActivate()
{
    readRows();
    tabxxxBnkCalcAfterPost();
    const QModelIndex current = dbgBankCalc->currentIndex();
    dbgBankCalc->setCurrentIndex(m_model->index(current.isValid() ? current.row() : 0, CountCol));
    dbgBankCalc->setFocus();
}

bool TfBanknotCalc::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == dbgBankCalc || watched == m_delegate->editor()))
        return dbgBankCalcKeyPress(watched, static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

// True when the key is consumed. Keys reach the grid first and, once a count is being typed,
// its editor: only digits, Backspace, and blank or "+" (both joining two counts) go in.
bool TfBanknotCalc::dbgBankCalcKeyPress(QObject *watched, const QKeyEvent *event)
{
    QLineEdit *editor = m_delegate->editor();
    const bool inEditor = editor && watched == editor;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // While a count is open Enter confirms it (the grid commits it, also when the key comes
        // on from the editor to the grid); otherwise it opens the count cell for typing.
        if (editor || dbgBankCalc->currentIndex().column() != CountCol)
            return false;
        dbgBankCalc->edit(dbgBankCalc->currentIndex());
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return false;
    const QChar typed = text.at(0);
    if (isCountDigit(typed))
        return false;
    if (typed != u' ' && typed != u'+')
        return true;
    if (!inEditor)
        return false; // the grid opens the editor and hands the key on to it
    showRunningCount(editor);
    editor->insert(QStringLiteral("+"));
    return true;
}

void TfBanknotCalc::showRunningCount(const QLineEdit *editor)
{
    m_model->setRunningCount(dbgBankCalc->currentIndex().row(), plusSum(withoutSelection(editor)));
}

void TfBanknotCalc::queueCount(qint32 idNominal, const QString &text)
{
    m_pendingCounts.insert(idNominal, text);
    QCoreApplication::postEvent(this, new QEvent(myEventType));
}

bool TfBanknotCalc::event(QEvent *event)
{
    if (event->type() != myEventType)
        return QDialog::event(event);
    MyEvent();
    return true;
}

// Writes the counts confirmed in the grid to their rows. Writing re-reads the rows, which would
// close an editor, so nothing is written while a count is being typed.
void TfBanknotCalc::MyEvent()
{
    if (m_delegate->editor())
        return;
    while (!m_pendingCounts.isEmpty()) {
        const auto first = m_pendingCounts.constBegin();
        const qint32 idNominal = first.key();
        const QString text = first.value();
        m_pendingCounts.erase(first);
        writeCounts(idNominal, text);
    }
}

// The number and sum always follow the text, whichever way the text was confirmed.
void TfBanknotCalc::writeCounts(qint32 idNominal, const QString &text)
{
    const QModelIndex current = dbgBankCalc->currentIndex();
    writeRow(idNominal, text, plusSum(text));
    tabxxxBnkCalcAfterPost();
    if (current.isValid())
        dbgBankCalc->setCurrentIndex(m_model->index(current.row(), current.column()));
}

void TfBanknotCalc::writeRow(qint32 idNominal, const QString &text, qint64 notes)
{
    if (!tabxxxBnkCalc.locate(idNominal))
        throw DbError(QStringLiteral("Нет строки номинала %1").arg(idNominal));
    const qint64 nominal = tabxxxBnkCalc.field(nominalColumn).asInteger();
    tabxxxBnkCalc.edit();
    try {
        tabxxxBnkCalc.setValue(countColumnName, text);
        tabxxxBnkCalc.setValue(numberColumn, notes);
        tabxxxBnkCalc.setValue(sumColumn, notes * nominal);
        tabxxxBnkCalc.post();
    } catch (...) {
        tabxxxBnkCalc.cancel();
        throw;
    }
}

void TfBanknotCalc::tabxxxBnkCalcAfterPost()
{
    Query &sum = m_dm->adoqXXXSumBnkCalc;
    sum.close();
    sum.open();
    m_total = Money::fromDouble(sum.field(QStringLiteral("NominalSummaAll")).asFloat());
    dbeNominalSummAll->setText(totalText());
}

void TfBanknotCalc::showCurrentRow()
{
    const int row = dbgBankCalc->currentIndex().row();
    QLineEdit *const fields[] = {dbeNominal, dbeNominalStr, dbeNominalNumber, dbeNominalSumma};
    for (int column = 0; column < 4; ++column)
        fields[column]->setText(row < 0 ? QString() : m_model->index(row, column).data().toString());
}

void TfBanknotCalc::Button1Click()
{
    m_delegate->finishEditing();
    MyEvent();
    if (m_idInkassKvit != 0)
        storeCountsInBag();
    accept();
}

// All count texts go to the bag together, or none does.
void TfBanknotCalc::storeCountsInBag()
{
    Transaction transaction(m_dm->ADOConAZSKAS);
    Query &adoq = m_dm->adoq;
    for (tabxxxBnkCalc.first(); !tabxxxBnkCalc.eof(); tabxxxBnkCalc.next()) {
        const QString column = countColumn(tabxxxBnkCalc.field(nominalColumn).asInteger());
        adoq.setSql(QStringLiteral("update inkasskvit set ") + column
                    + QStringLiteral(" = :str where idinkassKvit = :idinkassKvit"));
        adoq.clearParams();
        adoq.setParam(QStringLiteral("str"), tabxxxBnkCalc.field(countColumnName).value());
        adoq.setParam(QStringLiteral("idinkassKvit"), m_idInkassKvit);
        if (adoq.execSql() != 1)
            throw DbError(QStringLiteral("Нет сумки с ключом %1").arg(m_idInkassKvit));
    }
    transaction.commit();
}
