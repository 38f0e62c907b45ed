#include "connectionstring.h"

#include "errors.h"

#include <QStringList>

namespace {

QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    bool hasProvider = false;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed();
        const QString value = unquoted(part.mid(eq + 1).trimmed());
        if (key.compare(u"Provider", Qt::CaseInsensitive) == 0) {
            result.provider = value;
            hasProvider = true;
        } else if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) {
            result.dataSource = value;
        }
    }
    if (!hasProvider)
        throw DbError(QStringLiteral(
            "Строка подключения к базе данных не задана или не распознана: «%1». "
            "Укажите в dovra.ini, раздел [DB], ключ connstr, например "
            "Provider=SQLite;Data Source=$(FILENAME);").arg(text));
    if (!isSupportedProvider(result.provider))
        throw DbError(QStringLiteral(
            "Неизвестный поставщик данных «%1» в строке подключения. "
            "Поддерживается только Provider=SQLite.").arg(result.provider));
    if (result.dataSource.isEmpty())
        throw DbError(QStringLiteral(
            "В строке подключения к базе данных не указан файл (Data Source)."));
    return result;
}

bool ConnectionString::isSupportedProvider(const QString &provider)
{
    return provider.compare(u"SQLite", Qt::CaseInsensitive) == 0
           || provider.compare(u"SQLite3", Qt::CaseInsensitive) == 0;
}

QString substitutePlaceholder(const QString &text, const QString &placeholder, const QString &value)
{
    // An empty placeholder stands nowhere (and would be found again and again at the same place).
    if (placeholder.isEmpty())
        return text;
    QString result = text;
    qsizetype from = 0;
    while ((from = result.indexOf(placeholder, from, Qt::CaseInsensitive)) >= 0) {
        result.replace(from, placeholder.size(), value);
        from += value.size();
    }
    return result;
}
