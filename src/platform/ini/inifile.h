#pragma once

#include <QString>

// An INI file read and written like the classic profile API, not like QSettings:
// - every read parses the file afresh; a missing file or key gives the default;
// - sections and keys compare without regard to case; a key before the first section belongs
//   to none; in a repeated section or key the first occurrence in the file wins;
// - only lines starting with ';' are comments, a ';' later in a line is part of the value;
// - no escapes: backslashes are kept as written; blanks around key and value are dropped and a
//   value wrapped in a matching pair of double or single quotes loses them;
// - a write changes only the line of its key and keeps every other byte of the file.
// The file is UTF-8; a byte order mark at its start is kept.
class IniFile
{
public:
    explicit IniFile(const QString &fileName);

    QString fileName() const;

    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Replaces the key's line, or appends the key at the end of its section, or appends the
    // section at the end of the file, creating the file when missing. The file is replaced
    // atomically; throws AppError when it cannot be read or written.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    QString m_fileName;
};
