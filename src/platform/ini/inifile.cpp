#include "inifile.h"

#include "platform/data/errors.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

bool hasMatchingQuotes(const QString &text)
{
    return text.size() >= 2 && isQuote(text.front()) && text.back() == text.front();
}

QString unquoted(const QString &value)
{
    return hasMatchingQuotes(value) ? value.mid(1, value.size() - 2) : value;
}

// Quotes a value whose outer blanks or quotes a later read would strip, so that it reads back
// unchanged.
QString encoded(const QString &value)
{
    if (value != value.trimmed() || hasMatchingQuotes(value))
        return u'"' + value + u'"';
    return value;
}

QByteArray withoutTerminator(const QByteArray &line)
{
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    return text;
}

QByteArray terminatorOf(const QByteArray &line)
{
    return line.mid(withoutTerminator(line).size());
}

struct IniLine
{
    enum Kind { Other, Section, Entry };

    Kind kind = Other;
    QString name;
    QString value;
};

IniLine parseLine(const QByteArray &line)
{
    const QString text = QString::fromUtf8(withoutTerminator(line)).trimmed();
    if (text.startsWith(u'[')) {
        const qsizetype close = text.lastIndexOf(u']');
        if (close < 0)
            return {};
        return {IniLine::Section, text.mid(1, close - 1).trimmed(), {}};
    }
    if (text.startsWith(u';'))
        return {};
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {};
    return {IniLine::Entry, text.left(equals).trimmed(), unquoted(text.mid(equals + 1).trimmed())};
}

// The file as a list of physical lines, each with its own terminator, so that the lines a write
// does not touch go back byte for byte.
class IniDocument
{
public:
    explicit IniDocument(QByteArray content)
    {
        m_hasBom = content.startsWith(utf8Bom);
        if (m_hasBom)
            content.remove(0, utf8Bom.size());
        qsizetype start = 0;
        while (start < content.size()) {
            const qsizetype newline = content.indexOf('\n', start);
            const qsizetype end = newline < 0 ? content.size() : newline + 1;
            m_lines.append(content.mid(start, end - start));
            start = end;
        }
    }

    QByteArray content() const
    {
        QByteArray result = m_hasBom ? utf8Bom : QByteArray();
        for (const QByteArray &line : m_lines)
            result += line;
        return result;
    }

    std::optional<QString> value(const QString &section, const QString &key) const
    {
        bool inSection = false;
        for (const QByteArray &raw : m_lines) {
            const IniLine line = parseLine(raw);
            if (line.kind == IniLine::Section)
                inSection = sameName(line.name, section);
            else if (inSection && line.kind == IniLine::Entry && sameName(line.name, key))
                return line.value;
        }
        return std::nullopt;
    }

    void setValue(const QString &section, const QString &key, const QString &value)
    {
        bool inSection = false;
        bool inFirstSection = false;
        std::optional<qsizetype> sectionEnd;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const IniLine line = parseLine(m_lines.at(i));
            if (line.kind == IniLine::Section) {
                inSection = sameName(line.name, section);
                inFirstSection = inSection && !sectionEnd;
                if (inFirstSection)
                    sectionEnd = i;
                continue;
            }
            if (!inSection)
                continue;
            if (line.kind == IniLine::Entry && sameName(line.name, key)) {
                replaceEntry(i, value);
                return;
            }
            if (inFirstSection && !withoutTerminator(m_lines.at(i)).trimmed().isEmpty())
                sectionEnd = i;
        }
        const QByteArray entry = (key + u'=' + encoded(value)).toUtf8() + lineEnding();
        if (sectionEnd) {
            terminateLine(*sectionEnd);
            m_lines.insert(*sectionEnd + 1, entry);
            return;
        }
        if (!m_lines.isEmpty()) {
            terminateLine(m_lines.size() - 1);
            if (!withoutTerminator(m_lines.last()).trimmed().isEmpty())
                m_lines.append(lineEnding());
        }
        m_lines.append((u'[' + section + u']').toUtf8() + lineEnding());
        m_lines.append(entry);
    }

private:
    // The style of the file's first line; LF for a file that has none yet.
    QByteArray lineEnding() const
    {
        if (!m_lines.isEmpty() && m_lines.first().endsWith("\r\n"))
            return "\r\n";
        return "\n";
    }

    // Only a line feed ends a line: a carriage return alone at the end is part of it, and what
    // followed it unterminated would run on in the same line.
    void terminateLine(qsizetype index)
    {
        if (!m_lines.at(index).endsWith('\n'))
            m_lines[index] += lineEnding();
    }

    // Keeps the line's indentation, the key as spelt in the file and the line's terminator.
    void replaceEntry(qsizetype index, const QString &value)
    {
        const QByteArray &raw = m_lines.at(index);
        const QString text = QString::fromUtf8(withoutTerminator(raw));
        qsizetype indent = 0;
        while (indent < text.size() && text.at(indent).isSpace())
            ++indent;
        const QString keyAsWritten = text.left(text.indexOf(u'=')).trimmed();
        m_lines[index] = (text.left(indent) + keyAsWritten + u'=' + encoded(value)).toUtf8()
                         + terminatorOf(raw);
    }

    QList<QByteArray> m_lines;
    bool m_hasBom = false;
};

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

} // namespace

IniFile::IniFile(const QString &fileName)
    : m_fileName(fileName)
{}

QString IniFile::fileName() const
{
    return m_fileName;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    return IniDocument(file.readAll()).value(section, key).value_or(defaultValue);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const auto failure = [this](const QString &reason) {
        return AppError(QStringLiteral("Не удалось записать файл настроек «%1»: %2")
                            .arg(m_fileName, reason));
    };
    // A line break would split the line and change the meaning of the lines after it.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        throw failure(QStringLiteral("перевод строки в имени секции, ключа или в значении"));

    QByteArray content;
    QFile current(m_fileName);
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            throw failure(current.errorString());
        content = current.readAll();
        current.close();
    }

    IniDocument document(content);
    document.setValue(section, key, value);

    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw failure(file.errorString());
    file.write(document.content());
    if (!file.commit())
        throw failure(file.errorString());
}
