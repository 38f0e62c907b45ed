#pragma once

// The program run as a process of its own on a station folder (the test program shiftdesk), and
// a look into the station's database file from outside it.
#include "support/testdatabase.h"

#include "platform/ini/inifile.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>

// A station folder as an installation leaves it: the demo database and dovra.ini.
inline QString makeStationFolder(const QString &folder)
{
    const QString path = freshDatabase(folder);
    IniFile ini(QDir(folder).filePath(QStringLiteral("dovra.ini")));
    ini.writeString(QStringLiteral("DB"), QStringLiteral("connstr"),
                    QStringLiteral("Provider=SQLite;Data Source=$(FILENAME);"));
    QDir(folder).mkdir(QStringLiteral("backup"));
    ini.writeString(QStringLiteral("common"), QStringLiteral("backup_dir"),
                    QDir(folder).filePath(QStringLiteral("backup")));
    return path;
}

class DeskProcess
{
public:
    // mode: "start", "type" or "serve" (see shiftdesk.cpp).
    void start(const QString &mode, const QString &folder)
    {
        process.setProgram(QStringLiteral(SHIFTDESK_EXECUTABLE));
        process.setArguments({mode, folder});
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start();
        process.waitForStarted(60000);
    }

    // The next whole line, waiting at most timeoutMs; empty when none came.
    QString readLine(int timeoutMs = 60000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!process.canReadLine()) {
            if (process.state() == QProcess::NotRunning || deadline.hasExpired())
                return {};
            process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return QString::fromUtf8(process.readLine()).chopped(1);
    }

    // A command of the serve mode and its reply.
    QString command(const QString &line)
    {
        process.write((line + u'\n').toUtf8());
        return readLine();
    }

    // SIGKILL: the process ends wherever it is.
    void kill()
    {
        process.kill();
        process.waitForFinished(60000);
    }

    QProcess process;
};

// The database file opened read-only with the SQLite library, as another program would: a
// connection that checkpoints nothing, so that the program's next start finds the write-ahead log
// as the kill left it.
class FileLook
{
public:
    explicit FileLook(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    ~FileLook() { sqlite3_close(m_db); }
    FileLook(const FileLook &) = delete;
    FileLook &operator=(const FileLook &) = delete;

    QString integrity() { return m_error.isEmpty() ? value("PRAGMA integrity_check", {}).toString() : m_error; }

    // The first column of the first row; an invalid value for no row.
    QVariant value(const char *sql, const QVariantList &params)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db));
        for (int i = 0; i < params.size(); ++i) {
            if (params.at(i).typeId() == QMetaType::QString)
                sqlite3_bind_text(statement, i + 1, params.at(i).toString().toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_int64(statement, i + 1, params.at(i).toLongLong());
        }
        QVariant result;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            switch (sqlite3_column_type(statement, 0)) {
            case SQLITE_INTEGER:
                result = qint64(sqlite3_column_int64(statement, 0));
                break;
            case SQLITE_NULL:
                result = QVariant(QMetaType::fromType<QString>());
                break;
            default:
                result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
            }
        }
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3 *m_db = nullptr;
    QString m_error;
};
