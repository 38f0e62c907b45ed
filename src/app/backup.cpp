#include "backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct CloseDatabase
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database openDatabase(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    Database handle(db);
    return rc == SQLITE_OK ? std::move(handle) : Database();
}

bool copyDatabase(sqlite3 *source, sqlite3 *target)
{
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return false;
    const int stepped = sqlite3_backup_step(backup, -1);
    return sqlite3_backup_finish(backup) == SQLITE_OK && stepped == SQLITE_DONE;
}

bool integrityOk(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK)
        return false;
    const bool ok = sqlite3_step(statement) == SQLITE_ROW
                    && QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)))
                           == "ok";
    sqlite3_finalize(statement);
    return ok;
}

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Backs source up into the (empty) file at path and checks the result; the reason of a failure,
// empty on success.
QString writeCheckedCopy(const QString &source, const QString &path)
{
    const Database from = openDatabase(QFileInfo(source).absoluteFilePath(), SQLITE_OPEN_READONLY);
    if (!from)
        return QStringLiteral("файл базы данных %1 не открывается").arg(source);
    const Database to = openDatabase(path, SQLITE_OPEN_READWRITE);
    if (!to)
        return QStringLiteral("файл копии не открывается");
    if (!copyDatabase(from.get(), to.get()))
        return QStringLiteral("копия не записана (%1)").arg(lastError(to.get()));
    if (!integrityOk(to.get()))
        return QStringLiteral("записанная копия повреждена");
    return {};
}

bool failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString copyTargetPath(const QString &source, const QString &folder)
{
    const qsizetype nameStart = std::max({source.lastIndexOf(u'\\'), source.lastIndexOf(u'/'),
                                          source.lastIndexOf(u':')}) + 1;
    const QString name = source.mid(nameStart);
    if (folder.isEmpty() || name.isEmpty())
        return {};
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}

bool copyFileToDir(const QString &source, const QString &folder, QString *error)
{
    const QString target = copyTargetPath(source, folder);
    if (target.isEmpty())
        return failed(error, QStringLiteral("папка не указана"));
    if (target == source)
        return failed(error, QStringLiteral("копия легла бы на сам файл базы данных"));
    if (!QFileInfo(source).isFile())
        return failed(error, QStringLiteral("нет файла базы данных %1").arg(source));
    QTemporaryFile temporary(target + QStringLiteral(".XXXXXX.part"));
    if (!temporary.open())
        return failed(error, QStringLiteral("в папку нельзя записать (%1)").arg(temporary.errorString()));
    temporary.close();
    if (const QString reason = writeCheckedCopy(source, temporary.fileName()); !reason.isEmpty())
        return failed(error, reason);
    // The temporary file is private to its maker; the copy is readable as the source is.
    QFile::setPermissions(temporary.fileName(), QFileInfo(source).permissions());
    // rename() replaces the target in one step; the copy is either the old one or the new one.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return failed(error, QStringLiteral("копия не заняла место прежней (%1)")
                                 .arg(QString::fromLocal8Bit(std::strerror(errno))));
    temporary.setAutoRemove(false);
    return true;
}
