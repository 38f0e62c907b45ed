#include "roweditor.h"

#include "platform/data/table.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/messages.h"
#include "platform/ui/wholecharacters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// Keys are compared as one integer type, whatever type the database handed them in.
QVariant keyOf(const QVariant &value)
{
    return value.isNull() ? QVariant() : QVariant(value.toLongLong());
}

QVariant numberIn(const QLineEdit *field)
{
    return field->text().isEmpty() ? QVariant() : QVariant(field->text().toInt());
}

} // namespace

RowEditor::RowEditor(Table &table, QObject *parent)
    : QObject(parent)
    , m_table(table)
{
    connect(&table, &Dataset::afterScroll, this, &RowEditor::showRow);
    // While the rows are read again the cursor is not yet placed: only a closed table is shown
    // at once (empty); the others are shown when the cursor is placed.
    connect(&table, &Dataset::rowsReset, this, [this] {
        if (!m_table.isOpen())
            showRow();
    });
}

void RowEditor::bind(QWidget *control, std::function<void()> show, bool editing)
{
    m_bindings.append({control, std::move(show), editing});
    m_bindings.constLast().show();
    if (editing)
        control->setEnabled(rowEditable());
}

void RowEditor::bindText(QLineEdit *field, const QString &column, int maxLength)
{
    field->setMaxLength(maxLength);
    keepWholeCharacters(field);
    connect(field, &QLineEdit::textEdited, this,
            [this, column](const QString &text) { setValue(column, text); });
    bind(field, [this, field, column] {
        const QString text = currentValue(column).toString();
        if (field->text() != text)
            field->setText(text);
    });
}

void RowEditor::bindNumber(QLineEdit *field, const QString &column, int max)
{
    field->setValidator(new QIntValidator(0, max, field));
    connect(field, &QLineEdit::textEdited, this,
            [this, field, column] { setValue(column, numberIn(field)); });
    bind(field, [this, field, column] {
        const QVariant value = keyOf(currentValue(column));
        // "07" being typed stays as it is: only another number is shown anew.
        if (keyOf(numberIn(field)) != value)
            field->setText(value.isNull() ? QString() : value.toString());
    });
}

void RowEditor::bindCheck(QCheckBox *box, const QString &column)
{
    connect(box, &QCheckBox::clicked, this, [this, column](bool checked) { setValue(column, checked); });
    bind(box, [this, box, column] { box->setChecked(currentValue(column).toBool()); });
}

void RowEditor::bindLookup(QComboBox *list, Table &lookup, const QString &keyColumn,
                           const QString &textColumn, const QString &column)
{
    const auto select = [this, list, column] {
        list->setCurrentIndex(list->findData(keyOf(currentValue(column))));
    };
    const auto fill = [list, &lookup, keyColumn, textColumn, select] {
        list->clear();
        if (lookup.isOpen()) {
            const int key = lookup.columnIndex(keyColumn);
            const int text = lookup.columnIndex(textColumn);
            for (int row = 0; row < lookup.recordCount(); ++row)
                list->addItem(lookup.value(row, text).toString(), keyOf(lookup.value(row, key)));
        }
        select();
    };
    connect(&lookup, &Dataset::rowsReset, list, fill);
    connect(list, &QComboBox::activated, this,
            [this, list, column](int index) { setValue(column, list->itemData(index)); });
    fill();
    bind(list, select);
}

void RowEditor::bindShown(QLineEdit *field, const QString &column)
{
    field->setReadOnly(true);
    bind(field, [this, field, column] {
        field->setText(currentValue(column).toString());
    }, false);
}

void RowEditor::guardGrid(DataGrid *grid)
{
    m_grids.append(grid);
    for (QObject *target : {static_cast<QObject *>(grid), static_cast<QObject *>(grid->viewport()),
                            static_cast<QObject *>(grid->verticalHeader()->viewport())})
        target->installEventFilter(this);
}

bool RowEditor::eventFilter(QObject *watched, QEvent *event)
{
    return leavesRow(watched, event) && !post();
}

// A click into a guarded grid's rows or a key that moves its cursor.
bool RowEditor::leavesRow(const QObject *watched, const QEvent *event) const
{
    for (const QPointer<DataGrid> &grid : m_grids) {
        if (!grid)
            continue;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (watched == grid->viewport() || watched == grid->verticalHeader()->viewport())
                return true;
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<const QKeyEvent *>(event)->key();
            if (watched == grid && key != Qt::Key_Tab && key != Qt::Key_Backtab)
                return true;
            break;
        }
        default:
            break;
        }
    }
    return false;
}

bool RowEditor::rowEditable() const
{
    return m_table.state() != Table::State::Browse || m_table.recNo() >= 0;
}

bool RowEditor::hasChanges() const
{
    return m_table.state() != Table::State::Browse;
}

QVariant RowEditor::currentValue(const QString &column) const
{
    if (!m_table.isOpen() || !rowEditable())
        return {};
    return m_table.field(column).value();
}

void RowEditor::setValue(const QString &column, const QVariant &value)
{
    if (!rowEditable())
        return;
    if (!hasChanges())
        m_table.edit();
    m_table.setValue(column, value);
    showRow();
}

bool RowEditor::append()
{
    if (!post())
        return false;
    m_table.append();
    return true;
}

bool RowEditor::post()
{
    if (!hasChanges())
        return true;
    if (m_beforePost) {
        const QString refusal = m_beforePost();
        if (!refusal.isEmpty()) {
            showMessage(refusal);
            return false;
        }
    }
    m_table.post();
    // Posting reads the rows again; moving onto the written row shows it everywhere.
    m_table.moveTo(m_table.recNo());
    return true;
}

void RowEditor::cancel()
{
    m_table.cancel();
    showRow();
}

void RowEditor::showRow()
{
    const bool editable = rowEditable();
    for (const Binding &binding : std::as_const(m_bindings)) {
        if (!binding.control)
            continue;
        binding.show();
        if (binding.editing)
            binding.control->setEnabled(editable);
    }
    emit rowShown();
}
