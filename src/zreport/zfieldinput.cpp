#include "zfieldinput.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

namespace zfield {

namespace {

// A key as the filters see it. A key types when the line edit would insert its text: a printable,
// format or private-use character or a surrogate pair, with any modifiers but Ctrl alone or with
// Shift, which make a shortcut (Alt and AltGr letters do type). Shortcuts and keys that type
// nothing (arrows, Delete, Tab) are none of the filters' business.
enum class Key { Untouched, Backspace, Enter, Typing };

Key classify(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace)
        return Key::Backspace;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return Key::Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return Key::Untouched;
    const QString text = event->text();
    if (text.isEmpty())
        return Key::Untouched;
    const QChar c = text.at(0);
    const bool types = c.isPrint() || c.category() == QChar::Other_Format
                       || c.category() == QChar::Other_PrivateUse || c.isHighSurrogate();
    return types ? Key::Typing : Key::Untouched;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QChar markOf(Input input)
{
    return input == Input::Time ? QChar(u':') : decimalMark();
}

// A number with at most one mark (the decimal separator, or the colon of a time) and at most two
// characters after it. R is the text without the selection, cut five characters after it.
// Returns whether the key is dropped.
bool dropsFromNumber(QLineEdit *field, QChar typed, Input input)
{
    const QChar mark = markOf(input);
    const bool isTime = input == Input::Time;
    const QString markKeys = QStringLiteral(",.") + mark;
    const QString text = field->text();
    const int caret = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    const int selected = field->hasSelectedText() ? field->selectionLength() : 0;
    const QString rest = text.left(caret) + text.mid(caret + selected, 5);

    if (markKeys.contains(typed)) {
        const bool hasMark = (isTime ? rest : text).contains(mark);
        if (!hasMark && caret > text.size() - 3 && !field->isReadOnly())
            field->insert(mark);
        return true;
    }
    if (!isAsciiDigit(typed))
        return true;
    const qsizetype markAt = rest.indexOf(mark);
    if (markAt >= 0)
        return caret > markAt && rest.size() - markAt - 1 >= 2;
    return rest.size() > field->maxLength() - 4;
}

} // namespace

QChar decimalMark()
{
    return QLocale::system().decimalPoint().at(0);
}

Verdict filterKey(QLineEdit *field, const QKeyEvent *event, Input input, bool busy)
{
    const Key key = classify(event);
    if (input == Input::None || key == Key::Untouched)
        return Verdict::Pass;
    if (busy)
        return Verdict::Drop;
    if (key == Key::Enter)
        return Verdict::DropAndMoveOn;
    if (key == Key::Backspace)
        return Verdict::Pass;
    if (event->text().size() != 1)
        return Verdict::Drop;
    const QChar typed = event->text().at(0);
    const bool drop = input == Input::Digits ? !isAsciiDigit(typed) : dropsFromNumber(field, typed, input);
    return drop ? Verdict::Drop : Verdict::Pass;
}

void cleanText(QLineEdit *field, Input input)
{
    const bool withMark = input == Input::Amount || input == Input::Time;
    const QChar mark = markOf(input);

    const QString text = field->text();
    qsizetype budget = qMin<qsizetype>(text.size(), field->maxLength());
    bool markSeen = false;
    QString clean;
    for (const QChar c : text) {
        if (budget <= 0)
            break;
        if (isAsciiDigit(c)) {
            clean += c;
        } else if (withMark && c == mark && !markSeen) {
            clean += c;
            markSeen = true;
            budget = qMin<qsizetype>(3, budget);
        }
        --budget;
    }
    if (clean != text)
        field->setText(clean);
}

} // namespace zfield
