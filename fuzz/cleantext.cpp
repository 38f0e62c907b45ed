// The Z-report panel's cleanText on real line edits of every kind and length, fed by setText and
// by insert at the caret as a paste does: the field ends up holding only what it can hold, made
// of characters of the input in their order, and cleaning it again changes nothing.
#include "fieldtext.h"
#include "fuzzsupport.h"
#include "fuzzwidgets.h"

#include <QLineEdit>

namespace {

struct CleanedEdit
{
    CleanedEdit(zfield::Input input, int maxLength)
        : input(input)
    {
        edit.setMaxLength(maxLength);
        QObject::connect(&edit, &QLineEdit::textChanged, &edit, [this] { zfield::cleanText(&edit, this->input); });
    }

    QLineEdit edit;
    zfield::Input input;
};

bool isSubsequence(const QString &part, const QString &whole)
{
    qsizetype at = 0;
    for (const QChar c : part) {
        at = whole.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

void check(CleanedEdit &field, const QString &input)
{
    const QString shown = field.edit.text();
    FUZZ_CHECK(isFieldText(shown, field.input, field.edit.maxLength()), input);
    FUZZ_CHECK(isSubsequence(shown, input), input);
    zfield::cleanText(&field.edit, field.input);
    FUZZ_CHECK(field.edit.text() == shown, input);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static CleanedEdit fields[] = {
        {zfield::Input::Amount, 12}, {zfield::Input::Amount, 14}, {zfield::Input::Amount, 40},
        {zfield::Input::Time, 5},    {zfield::Input::Time, 3},    {zfield::Input::Digits, 9},
        {zfield::Input::Digits, 1},
    };
    const QString text = fuzzText(data, size);
    for (CleanedEdit &field : fields) {
        field.edit.setText(text);
        check(field, text);

        // Pasted into what is there, at the caret, over a selection of the first character.
        const QString before = field.edit.text();
        const int replaced = qMin(1, int(before.size()));
        field.edit.setSelection(0, replaced);
        field.edit.insert(text);
        check(field, text + before.mid(replaced));
    }
    return 0;
}
