// fioInitials in both modes: the surname kept whole at its end, initials that are whole
// characters of the name, and nothing of the text that is not in the name.
#include "fuzzsupport.h"

#include "documents/rubproc.h"

#include <QStringList>

namespace {

bool isWellFormed(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && (i + 1 == text.size() || !text.at(++i).isLowSurrogate()))
            return false;
        if (c.isLowSurrogate())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = fuzzText(data, size);
    const QStringList words = name.simplified().split(u' ', Qt::SkipEmptyParts);
    const QString surnameFirst = fioInitials(name, true);
    const QString initialsFirst = fioInitials(name, false);

    if (words.size() < 2) {
        FUZZ_CHECK(surnameFirst == words.value(0) && initialsFirst == surnameFirst, name);
        return 0;
    }
    const QString surname = words.first();
    FUZZ_CHECK(surnameFirst.startsWith(surname + u' '), name);
    FUZZ_CHECK(initialsFirst.endsWith(u' ' + surname), name);
    const QString initials = surnameFirst.mid(surname.size() + 1);
    FUZZ_CHECK(initialsFirst == initials + u' ' + surname, name);
    FUZZ_CHECK(initials.endsWith(u'.') && initials.count(u'.') >= 2, name);
    if (isWellFormed(name))
        FUZZ_CHECK(isWellFormed(surnameFirst), name);
    return 0;
}
