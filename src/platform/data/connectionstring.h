#pragma once

#include <QString>

// An ADO-style connection string, "Provider=...;Data Source=...;": the only part the
// program keeps in its configuration about where its data lives.
struct ConnectionString
{
    QString provider;
    QString dataSource;

    // Throws DbError for a string that names no provider, an unknown provider or no data source.
    static ConnectionString parse(const QString &text);
    static bool isSupportedProvider(const QString &provider);
};

// Every occurrence of placeholder, in any letter case, replaced by value; an empty placeholder
// changes nothing.
QString substitutePlaceholder(const QString &text, const QString &placeholder, const QString &value);
