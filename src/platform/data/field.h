#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class Money;

// How the database declares a column, which decides how its stored value is read.
enum class ColumnKind { Integer, Double, Money, Text, DateTime, Boolean, Other };

ColumnKind columnKindOf(const QString &declaredType);

// Stored value of a column → the value the program works with (Money for currency, QDateTime
// for dates, bool for yes/no); null stays null.
QVariant fromStorage(const QVariant &stored, ColumnKind kind);
// A value the program holds → what is bound into a statement (Money as its count of units,
// dates as ISO text, booleans as 0/1).
QVariant toStorage(const QVariant &value);
// A value set into a column of the given kind, converted as that column keeps it
// (a double into a currency column becomes Money); throws ConvertError when impossible.
QVariant coerceToKind(const QVariant &value, ColumnKind kind);

// One column of the current row. A null value reads as 0, 0.0, an empty text or false, as the
// program treats a missing amount everywhere.
class Field
{
public:
    Field(const QString &name, const QVariant &value, ColumnKind kind);

    QString name() const { return m_name; }
    ColumnKind kind() const { return m_kind; }
    bool isNull() const { return m_value.isNull(); }
    QVariant value() const { return m_value; }

    qint32 asInteger() const;
    double asFloat() const;
    Money asMoney() const;
    QString asString() const;
    bool asBoolean() const;
    QDateTime asDateTime() const;

private:
    [[noreturn]] void conversionFailed(const char *target) const;

    QString m_name;
    QVariant m_value;
    ColumnKind m_kind;
};
