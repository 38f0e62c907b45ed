#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// An explicit focus order for the fields of a data-entry window. Enter and the arrow keys move
// along it, and Tab follows the same order. Disabled, hidden and non-focusable widgets are
// skipped. The ends do not wrap: at the last widget Enter keeps the focus where it is (the key is
// still swallowed), so that typing never jumps back to the top of a form unnoticed.
class FocusChain : public QObject
{
    Q_OBJECT

public:
    enum FocusKey {
        NoKeys = 0x0,
        Enter = 0x1,  // Return and Enter: next widget
        UpDown = 0x2, // Up: previous widget, Down: next widget
    };
    Q_DECLARE_FLAGS(FocusKeys, FocusKey)
    Q_FLAG(FocusKeys)

    explicit FocusChain(QObject *parent = nullptr);

    // Appends w to the order; keys are the keys that w hands over to the chain (swallowed).
    void append(QWidget *w, FocusKeys keys = NoKeys);

    // The widget that would take the focus from `from`; nullptr at an end or for a widget that is
    // not in the chain. The line edit of an editable combo box counts as its combo box.
    QWidget *next(QWidget *from) const;
    QWidget *previous(QWidget *from) const;

    void focusNext(QWidget *from);
    void focusPrevious(QWidget *from);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        QPointer<QWidget> widget;
        FocusKeys keys;
    };

    qsizetype indexOf(const QObject *member) const;
    QWidget *step(QWidget *from, int direction) const;
    static bool canTakeFocus(const QWidget *w);

    QList<Entry> m_entries;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FocusChain::FocusKeys)
