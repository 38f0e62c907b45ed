// The INI reader on arbitrary file bytes: every section and key that the file names is read, and
// so are a few it does not. Then a value is written to one of them: it reads back as written and
// no other key changes its value (a name with a line break in it is refused).
#include "fuzzsupport.h"

#include "platform/data/errors.h"
#include "platform/ini/inifile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <utility>

namespace {

using Name = std::pair<QString, QString>; // section, key

// The section and key names the file's lines spell, found with a plain reading of them.
QList<Name> namesIn(const QByteArray &content)
{
    QList<Name> names = {{QStringLiteral("DB"), QStringLiteral("connstr")}, {QString(), QString()}};
    QString section;
    for (const QByteArray &raw : content.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[') && line.contains(u']'))
            section = line.mid(1, line.lastIndexOf(u']') - 1).trimmed();
        else if (line.contains(u'=') && !line.startsWith(u';') && !line.startsWith(u'['))
            names.append({section, line.left(line.indexOf(u'=')).trimmed()});
        if (names.size() >= 24)
            break;
    }
    return names;
}

bool sameName(const Name &a, const Name &b)
{
    return a.first.compare(b.first, Qt::CaseInsensitive) == 0
           && a.second.compare(b.second, Qt::CaseInsensitive) == 0;
}

// A value without line breaks, in characters that UTF-8 can hold.
QString valueFrom(const QByteArray &content)
{
    QString value = QString::fromUtf8(content.left(40));
    value.remove(u'\n');
    value.remove(u'\r');
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString fileName = dir.filePath(QStringLiteral("dovra.ini"));
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            std::abort();
    }

    IniFile ini(fileName);
    const QString missing = QStringLiteral("\x01missing");
    const QList<Name> names = namesIn(content);
    QList<QString> before;
    for (const Name &name : names) {
        before.append(ini.readString(name.first, name.second, missing));
        // A section the file does not spell anywhere, in any case, reads as missing.
        const QString absent = name.first + u'\x02';
        if (!content.toLower().contains(absent.toUtf8().toLower()))
            FUZZ_CHECK(ini.readString(absent, name.second, missing) == missing, name.first);
    }

    const qsizetype chosen = size == 0 ? 0 : data[0] % names.size();
    const Name &target = names.at(chosen);
    const QString value = valueFrom(content.mid(size / 2));
    const bool breaksLine = (target.first + target.second).contains(u'\r');
    try {
        ini.writeString(target.first, target.second, value);
    } catch (const AppError &) {
        FUZZ_CHECK(breaksLine, target.first + u'|' + target.second);
        return 0;
    }
    FUZZ_CHECK(!breaksLine, target.first + u'|' + target.second);
    FUZZ_CHECK(ini.readString(target.first, target.second, missing) == value,
               target.first + u'|' + target.second + u'|' + value);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!sameName(names.at(i), target))
            FUZZ_CHECK(ini.readString(names.at(i).first, names.at(i).second, missing) == before.at(i),
                       names.at(i).first + u'|' + names.at(i).second);
    }
    return 0;
}
