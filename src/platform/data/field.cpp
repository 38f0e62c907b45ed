#include "field.h"

#include "errors.h"
#include "money.h"

#include <cmath>
#include <limits>

namespace {

const QString isoDateTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The digits of text from `from` on, count of them; -1 when one is not a digit.
int digitsAt(const QString &text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// Every date of a long history passes here: the stored form is read by hand, which is many
// times faster than the general parser.
QDateTime parseIsoDateTime(const QString &text)
{
    if (text.size() != 19 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' '
        || text.at(13) != u':' || text.at(16) != u':')
        return {};
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    return date.isValid() && time.isValid() ? QDateTime(date, time) : QDateTime();
}

QDateTime parseStoredDateTime(const QString &text)
{
    QDateTime value = parseIsoDateTime(text);
    if (!value.isValid())
        value = QDateTime(QDate::fromString(text.left(10), Qt::ISODate), QTime(0, 0));
    return value;
}

} // namespace

ColumnKind columnKindOf(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    if (type.contains(u"CURRENCY") || type.contains(u"MONEY"))
        return ColumnKind::Money;
    if (type.contains(u"DATE") || type.contains(u"TIME"))
        return ColumnKind::DateTime;
    if (type.contains(u"YESNO") || type.contains(u"BOOL") || type == u"BIT")
        return ColumnKind::Boolean;
    if (type.contains(u"INT"))
        return ColumnKind::Integer;
    if (type.contains(u"DOUBLE") || type.contains(u"REAL") || type.contains(u"FLOA"))
        return ColumnKind::Double;
    if (type.contains(u"CHAR") || type.contains(u"TEXT") || type.contains(u"CLOB"))
        return ColumnKind::Text;
    return ColumnKind::Other;
}

QVariant fromStorage(const QVariant &stored, ColumnKind kind)
{
    if (stored.isNull())
        return QVariant();
    switch (kind) {
    case ColumnKind::Money: {
        bool ok = false;
        const qint64 units = stored.toLongLong(&ok);
        // A stored fraction (written by hand or by an old tool) is read as rubles' units anyway.
        if (ok && stored.typeId() != QMetaType::Double)
            return QVariant::fromValue(Money::fromUnits(units));
        return QVariant::fromValue(Money::fromUnits(std::llround(stored.toDouble())));
    }
    case ColumnKind::DateTime:
        return parseStoredDateTime(stored.toString());
    case ColumnKind::Boolean:
        return stored.toLongLong() != 0;
    default:
        return stored;
    }
}

QVariant toStorage(const QVariant &value)
{
    if (value.isNull())
        return QVariant();
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>().units();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(isoDateTime);
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0)).toString(isoDateTime);
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QVariant coerceToKind(const QVariant &value, ColumnKind kind)
{
    if (value.isNull())
        return QVariant();
    const bool isMoney = value.metaType() == QMetaType::fromType<Money>();
    switch (kind) {
    case ColumnKind::Money:
        if (isMoney)
            return value;
        return QVariant::fromValue(Money::fromDouble(Field(QString(), value, ColumnKind::Double).asFloat()));
    case ColumnKind::DateTime:
        return Field(QString(), value, ColumnKind::DateTime).asDateTime();
    case ColumnKind::Boolean:
        return Field(QString(), value, ColumnKind::Boolean).asBoolean();
    case ColumnKind::Integer:
        return Field(QString(), value, ColumnKind::Integer).asInteger();
    default:
        return isMoney ? QVariant(value.value<Money>().toDouble()) : value;
    }
}

Field::Field(const QString &name, const QVariant &value, ColumnKind kind)
    : m_name(name)
    , m_value(value)
    , m_kind(kind)
{
}

void Field::conversionFailed(const char *target) const
{
    throw ConvertError(QStringLiteral("Значение «%1» поля %2 не является %3")
                           .arg(m_value.toString(), m_name, QString::fromUtf8(target)));
}

qint32 Field::asInteger() const
{
    if (isNull())
        return 0;
    if (m_value.metaType() == QMetaType::fromType<Money>()) {
        const double rubles = m_value.value<Money>().toDouble();
        if (std::abs(rubles) > std::numeric_limits<qint32>::max())
            conversionFailed("целым числом");
        return qint32(std::lround(rubles));
    }
    bool ok = false;
    const qint64 value = m_value.toLongLong(&ok);
    if (ok && value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return qint32(value);
    if (m_value.typeId() == QMetaType::Double) {
        const double d = m_value.toDouble();
        if (std::isfinite(d) && std::abs(d) <= std::numeric_limits<qint32>::max())
            return qint32(std::lround(d));
    }
    conversionFailed("целым числом");
}

double Field::asFloat() const
{
    if (isNull())
        return 0.0;
    if (m_value.metaType() == QMetaType::fromType<Money>())
        return m_value.value<Money>().toDouble();
    if (m_value.typeId() == QMetaType::Bool)
        return m_value.toBool() ? 1.0 : 0.0;
    bool ok = false;
    const double value = m_value.toDouble(&ok);
    if (!ok)
        conversionFailed("числом");
    return value;
}

Money Field::asMoney() const
{
    if (isNull())
        return Money();
    if (m_value.metaType() == QMetaType::fromType<Money>())
        return m_value.value<Money>();
    return Money::fromDouble(asFloat());
}

QString Field::asString() const
{
    if (isNull())
        return QString();
    if (m_value.metaType() == QMetaType::fromType<Money>())
        return m_value.value<Money>().toString(4);
    if (m_value.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = m_value.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                         : dt.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    }
    if (m_value.typeId() == QMetaType::Bool)
        return m_value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return m_value.toString();
}

bool Field::asBoolean() const
{
    if (isNull())
        return false;
    if (m_value.typeId() == QMetaType::Bool)
        return m_value.toBool();
    bool ok = false;
    const qint64 number = m_value.toLongLong(&ok);
    if (ok)
        return number != 0;
    const QString text = m_value.toString().trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    conversionFailed("логическим значением");
}

QDateTime Field::asDateTime() const
{
    if (isNull())
        return QDateTime();
    if (m_value.typeId() == QMetaType::QDateTime)
        return m_value.toDateTime();
    if (m_value.typeId() == QMetaType::QDate)
        return QDateTime(m_value.toDate(), QTime(0, 0));
    const QString text = m_value.toString().trimmed();
    QDateTime value = parseStoredDateTime(text);
    if (!value.isValid())
        value = QDateTime::fromString(text, QStringLiteral("dd.MM.yyyy hh:mm:ss"));
    if (!value.isValid())
        value = QDateTime::fromString(text, QStringLiteral("dd.MM.yyyy hh:mm"));
    if (!value.isValid())
        value = QDateTime(QDate::fromString(text, QStringLiteral("dd.MM.yyyy")), QTime(0, 0));
    if (!value.isValid())
        conversionFailed("датой");
    return value;
}
