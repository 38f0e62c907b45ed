#include "focuschain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

// Qt 6.4's setTabOrder moves a compound widget (an editable combo box, a spin box) together with
// the inner child that proxies its focus to it, assuming that the child follows it directly in the
// focus chain. It does not when the child was made after later siblings (setEditable called once
// the whole form exists), and the chain then breaks in two. So the child is put right after it.
void keepInnerFocusChildAdjacent(QWidget *w)
{
    for (QObject *object : w->children()) {
        auto child = qobject_cast<QWidget *>(object);
        if (!child || child->focusProxy() != w || w->nextInFocusChain() == child)
            continue;
        child->setFocusProxy(nullptr);
        QWidget::setTabOrder(w, child);
        child->setFocusProxy(w);
    }
}

} // namespace

FocusChain::FocusChain(QObject *parent)
    : QObject(parent)
{}

void FocusChain::append(QWidget *w, FocusKeys keys)
{
    keepInnerFocusChildAdjacent(w);
    if (!m_entries.isEmpty() && m_entries.constLast().widget) {
        QWidget *previous = m_entries.constLast().widget;
        keepInnerFocusChildAdjacent(previous);
        QWidget::setTabOrder(previous, w);
    }
    m_entries.append({w, keys});

    w->installEventFilter(this);
    // The line edit of an editable combo box can receive keys of its own (sent to it directly).
    if (auto combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
}

QWidget *FocusChain::next(QWidget *from) const
{
    return step(from, +1);
}

QWidget *FocusChain::previous(QWidget *from) const
{
    return step(from, -1);
}

void FocusChain::focusNext(QWidget *from)
{
    // The Tab reason makes a line edit select its text, as when tabbing into it.
    if (QWidget *w = next(from))
        w->setFocus(Qt::TabFocusReason);
}

void FocusChain::focusPrevious(QWidget *from)
{
    if (QWidget *w = previous(from))
        w->setFocus(Qt::BacktabFocusReason);
}

bool FocusChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const qsizetype index = indexOf(watched);
    if (index < 0)
        return false;

    // Shift+arrow selects text and Ctrl+Enter may mean something else: only plain keys move.
    const auto keyEvent = static_cast<QKeyEvent *>(event);
    if ((keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;

    const FocusKeys keys = m_entries.at(index).keys;
    QWidget *from = m_entries.at(index).widget;
    switch (keyEvent->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!keys.testFlag(Enter))
            return false;
        focusNext(from);
        return true;
    case Qt::Key_Up:
        if (!keys.testFlag(UpDown))
            return false;
        focusPrevious(from);
        return true;
    case Qt::Key_Down:
        if (!keys.testFlag(UpDown))
            return false;
        focusNext(from);
        return true;
    default:
        return false;
    }
}

// The entry of a chain widget, or of the combo box whose line edit `member` is.
qsizetype FocusChain::indexOf(const QObject *member) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const QWidget *w = m_entries.at(i).widget;
        if (!w)
            continue;
        if (w == member)
            return i;
        if (auto combo = qobject_cast<const QComboBox *>(w); combo && combo->lineEdit() == member)
            return i;
    }
    return -1;
}

QWidget *FocusChain::step(QWidget *from, int direction) const
{
    const qsizetype start = indexOf(from);
    if (start < 0)
        return nullptr;
    for (qsizetype i = start + direction; i >= 0 && i < m_entries.size(); i += direction) {
        QWidget *w = m_entries.at(i).widget;
        if (canTakeFocus(w))
            return w;
    }
    return nullptr;
}

// Visibility is judged within the window, so that the order is known before the window is shown.
bool FocusChain::canTakeFocus(const QWidget *w)
{
    return w && w->isEnabled() && w->isVisibleTo(w->window()) && (w->focusPolicy() & Qt::TabFocus);
}
