#include "backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
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

// Backs source up into the (empty) file at path and checks the result.
bool writeCheckedCopy(const QString &source, const QString &path)
{
    const Database from = openDatabase(QFileInfo(source).absoluteFilePath(), SQLITE_OPEN_READONLY);
    if (!from)
        return false;
    const Database to = openDatabase(path, SQLITE_OPEN_READWRITE);
    return to && copyDatabase(from.get(), to.get()) && integrityOk(to.get());
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

bool copyFileToDir(const QString &source, const QString &folder)
{
    const QString target = copyTargetPath(source, folder);
    if (target.isEmpty() || target == source || !QFileInfo(source).isFile())
        return false;
    QTemporaryFile temporary(target + QStringLiteral(".XXXXXX.part"));
    if (!temporary.open())
        return false;
    temporary.close();
    if (!writeCheckedCopy(source, temporary.fileName()))
        return false;
    // The temporary file is private to its maker; the copy is readable as the source is.
    QFile::setPermissions(temporary.fileName(), QFileInfo(source).permissions());
    // rename() replaces the target in one step; the copy is either the old one or the new one.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}
