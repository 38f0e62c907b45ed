// The three key filters of the Z-report panel (amount, time, number) on real line edits, driven by
// key sequences made from the input: typed characters with and without modifiers, Backspace,
// Delete, caret and selection moves, Enter, undo, cut, paste and input-method text. As in the
// panel, every text change is cleaned. Checked after every step: what the keyboard typed was
// already clean (the cleaner only ever has pasted text to mend), every field holds only what it
// can hold, and a busy panel takes no typing.
#include "fieldtext.h"
#include "fuzzsupport.h"
#include "fuzzwidgets.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class Bytes
{
public:
    Bytes(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}

    bool atEnd() const { return m_size == 0; }
    uint8_t next()
    {
        if (m_size == 0)
            return 0;
        --m_size;
        return *m_data++;
    }
    QString text()
    {
        const size_t length = qMin<size_t>(next() % 16, m_size);
        const QString result = fuzzText(m_data, length);
        m_data += length;
        m_size -= length;
        return result;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
};

// The panel's part in the test: whether it is busy, which field has the keyboard, and whether
// the text now arriving comes from the keyboard.
struct Panel
{
    bool busy = false;
    bool typing = false;
    int current = 0;
    QString lastText;
};

class Field : public QObject
{
public:
    Field(zfield::Input input, int maxLength, Panel &panel, int count)
        : input(input)
        , m_panel(panel)
        , m_count(count)
    {
        edit.setMaxLength(maxLength);
        edit.installEventFilter(this);
        connect(&edit, &QLineEdit::textChanged, this, [this](const QString &text) {
            if (m_panel.typing)
                FUZZ_CHECK(isFieldText(text, this->input, edit.maxLength()), m_panel.lastText + u'|' + text);
            zfield::cleanText(&edit, this->input);
        });
    }

    QLineEdit edit;
    zfield::Input input;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &edit || event->type() != QEvent::KeyPress)
            return false;
        const zfield::Verdict verdict = zfield::filterKey(&edit, static_cast<QKeyEvent *>(event),
                                                          input, m_panel.busy);
        if (verdict == zfield::Verdict::DropAndMoveOn)
            m_panel.current = (m_panel.current + 1) % m_count;
        return verdict != zfield::Verdict::Pass;
    }

private:
    Panel &m_panel;
    int m_count;
};

Qt::KeyboardModifiers modifiersOf(uint8_t byte)
{
    static const Qt::KeyboardModifiers choices[] = {
        Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier,
        Qt::KeypadModifier, Qt::ControlModifier, Qt::AltModifier,
    };
    return choices[byte % std::size(choices)];
}

// A character from a byte: ASCII as it is, the rest spread over Cyrillic and beyond.
QChar characterOf(uint8_t byte)
{
    return byte < 0x80 ? QChar(byte) : QChar(char16_t(0x3C0 + byte * 3));
}

int keyOf(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return Qt::Key_0 + (c.unicode() - u'0');
    const QChar upper = c.toUpper();
    return upper.unicode() >= 0x20 ? upper.unicode() : Qt::Key_unknown;
}

void send(QLineEdit *edit, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(edit, &release);
}

// One step of the sequence. Shortcuts, pasting and input-method text leave typing.
void step(Bytes &bytes, Panel &panel, QLineEdit *edit)
{
    const Qt::KeyboardModifiers shift = (bytes.next() & 1) ? Qt::ShiftModifier : Qt::NoModifier;
    switch (bytes.next() % 18) {
    case 0:
    case 1:
    case 2: {
        const QChar c = characterOf(bytes.next());
        const Qt::KeyboardModifiers modifiers = modifiersOf(bytes.next());
        const QString before = edit->text();
        panel.typing = modifiers != Qt::ControlModifier;
        send(edit, keyOf(c), modifiers, QString(c));
        if (panel.busy && panel.typing)
            FUZZ_CHECK(edit->text() == before, before + u'|' + c);
        return;
    }
    case 3:
        send(edit, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        return;
    case 4:
        send(edit, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        return;
    case 5:
        send(edit, Qt::Key_Left, shift);
        return;
    case 6:
        send(edit, Qt::Key_Right, shift);
        return;
    case 7:
        send(edit, (bytes.next() & 1) ? Qt::Key_Home : Qt::Key_End, shift);
        return;
    case 8:
        edit->setSelection(bytes.next() % (edit->text().size() + 1), bytes.next() % 16 - 8);
        return;
    case 9:
        edit->setCursorPosition(bytes.next() % 16);
        return;
    case 10:
        send(edit, (bytes.next() & 1) ? Qt::Key_Return : Qt::Key_Enter, Qt::NoModifier, QStringLiteral("\r"));
        return;
    case 11:
        send(edit, Qt::Key_A, Qt::ControlModifier);
        return;
    case 12:
        send(edit, Qt::Key_X, Qt::ControlModifier);
        return;
    case 13:
        panel.typing = false;
        QApplication::clipboard()->setText(bytes.text());
        send(edit, Qt::Key_V, Qt::ControlModifier);
        return;
    case 14:
        panel.typing = false;
        send(edit, Qt::Key_Z, Qt::ControlModifier | shift);
        return;
    case 15: {
        // A key whose text is more than one character, as a compose sequence gives: the filters
        // drop it, or it is no typing at all.
        const QString text = bytes.text();
        const QString before = edit->text();
        send(edit, Qt::Key_unknown, Qt::NoModifier, text);
        FUZZ_CHECK(edit->text() == before || text.size() <= 1, before + u'|' + text);
        return;
    }
    case 16: {
        panel.typing = false;
        QInputMethodEvent commit;
        commit.setCommitString(bytes.text());
        QApplication::sendEvent(edit, &commit);
        return;
    }
    default:
        if (bytes.next() & 1)
            panel.busy = !panel.busy;
        else
            panel.current = bytes.next();
        return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Panel panel;
    static Field fields[] = {
        {zfield::Input::Amount, 12, panel, 4},
        {zfield::Input::Amount, 14, panel, 4},
        {zfield::Input::Time, 5, panel, 4},
        {zfield::Input::Digits, 9, panel, 4},
    };
    // Nothing may carry over from the previous input: no text, no undo history, no clipboard.
    panel = Panel();
    for (Field &field : fields)
        field.edit.setText(QString());
    QApplication::clipboard()->clear();

    Bytes bytes(data, size);
    while (!bytes.atEnd()) {
        panel.current %= std::size(fields);
        Field &field = fields[panel.current];
        panel.lastText = field.edit.text();
        panel.typing = true;
        step(bytes, panel, &field.edit);
        FUZZ_CHECK(isFieldText(field.edit.text(), field.input, field.edit.maxLength()),
                   panel.lastText + u'|' + field.edit.text());
        panel.typing = false;
    }
    return 0;
}
