#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Connection;
class ShiftFixture;
class QLineEdit;

// Texts a person may type or paste into a field, each one chosen to break a program that splices
// text into SQL, cuts a character in two, or stops at a NUL: quotes, semicolons, an injection, a
// comment, parameter marks, backslashes, NUL and control characters, characters beyond the
// 16-bit range, and 100 000 characters.
struct HostileText
{
    QString name;
    QString text;
};
const QList<HostileText> &hostileTexts();

// One row for each hostile text, with its text in the column "text".
void addHostileTextRows();

// Pastes the text over what the field holds, through the clipboard, as Ctrl+V does; the field
// cuts it to its length and applies its own filter or validator.
void pasteInto(QLineEdit *field, const QString &text);

// What a free-text field of this length keeps of a pasted text: the text cut to the length, and
// no half of a character at the cut.
QString keptText(const QString &text, int maxLength);

// Every table, index and trigger of the file with its definition, and every table's number of
// rows but those of the tables named as growing: what storing a text must leave as it was.
QString schemaAndCounts(Connection &connection, const QStringList &growing = {});

// A shift of 15.03.2024 with the operators given and one Z-report on register 1: enough for every
// document of the register to prepare. Its key.
qint32 addShiftToPrint(ShiftFixture &fixture, int operator1 = 1, int operator2 = 0);

// Prepares every document of the register for the shift; the failures, one a line, empty when
// every document prepared and has a page.
QString documentFailures(ShiftFixture &fixture, qint32 idDovra, int kassa);
