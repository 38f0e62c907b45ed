#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>

class DataGrid;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;
class Table;

// The controls of a reference editor that show the current row of a table and change it in
// place, as data-bound controls do: the first change puts the row into edit; the change is
// written by post() or when the row is left through a guarded grid, and dropped by cancel().
class RowEditor : public QObject
{
    Q_OBJECT

public:
    // Prepares the row about to be written; returns the message that refuses it, or an empty
    // text when it may be written.
    using BeforePost = std::function<QString()>;

    explicit RowEditor(Table &table, QObject *parent = nullptr);

    Table &table() const { return m_table; }

    // A text column typed into a field of at most maxLength characters.
    void bindText(QLineEdit *field, const QString &column, int maxLength);
    // A whole-number column between 0 and max; an empty field stores null.
    void bindNumber(QLineEdit *field, const QString &column, int max);
    void bindCheck(QCheckBox *box, const QString &column);
    // A list of the rows of another table: shows their textColumn, stores their keyColumn.
    void bindLookup(QComboBox *list, Table &lookup, const QString &keyColumn,
                    const QString &textColumn, const QString &column);
    // Shows a column without changing it.
    void bindShown(QLineEdit *field, const QString &column);
    // Choosing another row in the grid (by mouse or keyboard) writes the row being left first;
    // when that is refused, the grid stays where it is.
    void guardGrid(DataGrid *grid);
    void setBeforePost(BeforePost check) { m_beforePost = std::move(check); }

    // Whether there is a row to change: the table has a current row or one is being appended.
    bool rowEditable() const;
    bool hasChanges() const;
    // Sets a column of the current row, putting the row into edit first.
    void setValue(const QString &column, const QVariant &value);
    // Starts a new row after writing the change of the current one; false when that was refused.
    bool append();
    // Writes the change, if there is one; false, with the reason shown, when it is refused.
    bool post();
    // Drops the change and shows the row as stored.
    void cancel();
    // Shows the current row in the bound controls.
    void showRow();

signals:
    // The bound controls show the current row (after moving, appending, posting, cancelling).
    void rowShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding
    {
        QPointer<QWidget> control;
        std::function<void()> show;
        bool editing = true;
    };

    void bind(QWidget *control, std::function<void()> show, bool editing = true);
    QVariant currentValue(const QString &column) const;
    bool leavesRow(const QObject *watched, const QEvent *event) const;

    Table &m_table;
    QList<Binding> m_bindings;
    QList<QPointer<DataGrid>> m_grids;
    BeforePost m_beforePost;
};
