#include "databasefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>

#include <sqlite3.h>

namespace DatabaseFile {

namespace {

constexpr int headerSize = 100;
const QByteArray sqliteMagic("SQLite format 3\0", 16);

quint32 bigEndian(const QByteArray &bytes, int offset, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

// The size the file's header declares: page size times page count; 0 when the header does not
// vouch for its page count (written by an old library, or the count not kept up to date).
qint64 declaredSize(const QByteArray &header)
{
    const quint32 pageSizeField = bigEndian(header, 16, 2);
    const qint64 pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    const quint32 changeCounter = bigEndian(header, 24, 4);
    const quint32 pageCount = bigEndian(header, 28, 4);
    const quint32 validFor = bigEndian(header, 92, 4);
    return validFor == changeCounter ? pageSize * pageCount : 0;
}

bool validPageSize(const QByteArray &header)
{
    const quint32 field = bigEndian(header, 16, 2);
    return field == 1 || (field >= 512 && field <= 32768 && (field & (field - 1)) == 0);
}

// A journal beside the file holds pages that belong to it, so the file alone may legitimately be
// shorter than its header says until SQLite has replayed the journal.
bool hasJournal(const QString &fileName)
{
    for (const char *suffix : {"-wal", "-journal"}) {
        if (QFileInfo(fileName + QLatin1String(suffix)).size() > 0)
            return true;
    }
    return false;
}

// A file or folder nobody may write to was made read-only on purpose: it is refused even for the
// superuser, whom the system would let write it anyway.
bool writable(const QFileInfo &info)
{
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

DbFileError damaged(const QString &fileName, const QString &what)
{
    return DbFileError(QStringLiteral("Файл базы данных «%1» повреждён: %2.").arg(fileName, what));
}

DbFileError notADatabase(const QString &fileName)
{
    return DbFileError(QStringLiteral("Файл «%1» не является базой данных.").arg(fileName));
}

DbFileError cutShort(const QString &fileName, qint64 size, qint64 expected)
{
    return damaged(fileName, QStringLiteral("он обрезан (%1 байт из %2)")
                                 .arg(QString::number(size), QString::number(expected)));
}

void checkContents(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw DbFileError(QStringLiteral("Файл базы данных «%1» не читается: %2.")
                              .arg(fileName, file.errorString()));
    }
    const qint64 size = file.size();
    if (size == 0)
        throw DbFileError(QStringLiteral("Файл базы данных «%1» пуст (0 байт): в нём нет базы данных.")
                              .arg(fileName));
    const QByteArray header = file.read(headerSize);
    if (!header.startsWith(sqliteMagic)) {
        if (sqliteMagic.startsWith(header))
            throw cutShort(fileName, size, headerSize);
        throw notADatabase(fileName);
    }
    if (header.size() < headerSize)
        throw cutShort(fileName, size, headerSize);
    if (!validPageSize(header))
        throw damaged(fileName, QStringLiteral("неверный заголовок"));
    const qint64 expected = declaredSize(header);
    if (size < expected && !hasJournal(fileName))
        throw cutShort(fileName, size, expected);
}

void checkWritable(const QFileInfo &info)
{
    if (!writable(info)) {
        throw DbFileError(QStringLiteral("Файл базы данных «%1» доступен только для чтения: "
                                         "программа не сможет ничего в нём сохранить.")
                              .arg(info.filePath()));
    }
    const QFileInfo folder(info.absolutePath());
    if (!writable(folder)) {
        throw DbFileError(QStringLiteral("Папка «%1» закрыта для записи: программа не может вести "
                                         "рядом с базой данных «%2» её журнал записи (-wal, -shm).")
                              .arg(folder.filePath(), info.filePath()));
    }
}

} // namespace

void checkBeforeOpening(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        throw DbFileError(QStringLiteral("Файл базы данных «%1» не найден.").arg(fileName));
    if (!info.isFile())
        throw DbFileError(QStringLiteral("«%1» — не файл: путь к базе данных указывает на папку "
                                         "или устройство.").arg(fileName));
    checkContents(fileName);
    checkWritable(info);
}

DbFileError openingError(const QString &fileName, const QSqlError &error)
{
    const QString reason = error.databaseText().trimmed().isEmpty() ? error.text().trimmed()
                                                                      : error.databaseText().trimmed();
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbFileError(QStringLiteral("Файл базы данных «%1» занят другой программой (или другой "
                                          "копией этой программы), которая держит его "
                                          "заблокированным. Закройте её и запустите программу "
                                          "снова.").arg(fileName));
    case SQLITE_NOTADB:
        return notADatabase(fileName);
    case SQLITE_CORRUPT:
        return damaged(fileName, reason);
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return DbFileError(QStringLiteral("Файл базы данных «%1» недоступен для записи (%2).")
                               .arg(fileName, reason));
    case SQLITE_FULL:
        return DbFileError(QStringLiteral("На диске с базой данных «%1» нет места.").arg(fileName));
    default:
        return DbFileError(QStringLiteral("Не удалось открыть базу данных «%1»: %2.")
                               .arg(fileName, reason));
    }
}

} // namespace DatabaseFile
