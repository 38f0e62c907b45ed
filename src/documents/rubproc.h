#pragma once

#include <QFont>
#include <QString>

#include <optional>

// Texts that the cash documents print: amounts "прописью", dates split for the date lines and
// signatories reduced to initials.

// The amount in Russian words with its kopecks in figures: «Одна тысяча двести тридцать четыре
// рубля 56 коп.». Fractions of a kopeck are cut off after adding a tenth of a kopeck, which
// absorbs the representation error of two-decimal amounts. Below one ruble the text starts in
// lower case («ноль рублей 50 коп.»). A negative amount is "Минус " and the words of its absolute
// value (no sign when those words are zero); from 999 999 999.999 up (and for NaN) the text is
// "много".
QString rubToWords(double amount);

// Fragments of a rubToWords text that documents print in separate fields. A text without kopecks
// ("много") has no fragments: each of them is empty.
// The number words with their trailing blank («Одна тысяча двести тридцать четыре »).
QString wordsBeforeRub(const QString &words);
// The number words and the ruble noun with a trailing blank («… четыре рубля »).
QString wordsWithoutKop(const QString &words);
// The two kopeck digits («56»).
QString kopeckDigits(const QString &words);

// The font of the printed amount-in-words lines.
QFont defaultWordsFont();

// Width in millimetres that text takes when printed in font (sized in points).
qreal printedTextWidth(const QString &text, const QFont &font);

// Fills a form's "прописью" line for amount: kopeckCaption gets the kopeck digits, wordsCaption
// the number words padded with dashes to wordsWidth (millimetres, measured in font). When the
// words and one dash are wider than that, wordsCaption keeps what it held. The form's
// continuation line is not touched.
void rubWordsToLabels(QString &wordsCaption, qreal wordsWidth, QString &kopeckCaption,
                      double amount, const QFont &font = defaultWordsFont());

// text followed by as many dashes as fill width millimetres printed in font, so that nothing can
// be written after it by hand; nullopt when not even one dash fits.
std::optional<QString> padWithDashes(const QString &text, qreal width, const QFont &font);

// The month's name in the genitive («марта»); empty outside 1 to 12.
QString monthGenitive(int month);

struct DocDateParts
{
    QString day;   // «05»
    QString month; // «марта»
    QString year;  // «2016»
};

// A dd.mm.yyyy text split for a date line. A text whose month is not a number from 1 to 12 (an
// empty shift date among them) is a ConvertError.
DocDateParts dateToDocParts(const QString &date);

// A full name written surname, first name, patronymic, shortened for a signature line:
// «Иванов И.П.» with the surname first, «И.П. Иванов» otherwise. Words are separated by any run of
// blanks; an initial is the word's first character whole, with its accents. A name without
// patronymic gives its first initial twice («Иванов И.И.»), a single word stays as it is, and
// words after the third are left out.
QString fioInitials(const QString &fullName, bool surnameFirst);
