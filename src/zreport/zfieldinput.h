#pragma once

#include <QChar>

class QKeyEvent;
class QLineEdit;

// The keyboard and paste rules of the Z-report panel's fields, apart from the panel, so that
// they hold for any line edit they are given.
namespace zfield {

// What a field takes from the keyboard.
enum class Input { None, Digits, Amount, Time };

// What becomes of a key once its field's filter has seen it.
enum class Verdict { Pass, Drop, DropAndMoveOn };

// The system's decimal separator, the mark of an amount.
QChar decimalMark();

// The filter of the field's kind: an amount takes digits and one decimal mark with at most two
// characters after it, a time the same with a colon, a number digits only. A mark it accepts is
// inserted here. Enter moves on; shortcuts and keys that type nothing pass; while busy every
// other key is dropped.
Verdict filterKey(QLineEdit *field, const QKeyEvent *event, Input input, bool busy);

// Pasted or set text cut to what the keyboard could have typed: digits, one mark (none for a
// number) and at most two characters after it, within the field's length.
void cleanText(QLineEdit *field, Input input);

} // namespace zfield
