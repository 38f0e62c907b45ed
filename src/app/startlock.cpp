#include "startlock.h"

#include "platform/data/errors.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

qint32 lastWriteTime(const QString &path)
{
    return packedDosDateTime(QFileInfo(path).lastModified());
}

// Opening with truncation does not touch an empty file on every file system, so the time
// is set explicitly: the next start compares against it.
void rewriteLockFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || !file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime)) {
        throw AppError(QStringLiteral("Ошибка ввода-вывода: не удалось создать или перезаписать файл «%1»: %2")
                           .arg(QFileInfo(path).absoluteFilePath(), file.errorString()));
    }
}

} // namespace

qint32 packedDosDateTime(const QDateTime &localTime)
{
    static const QDateTime firstDosMoment(QDate(1980, 1, 1), QTime(0, 0));
    static const QDateTime lastDosMoment(QDate(2107, 12, 31), QTime(23, 59, 58));
    const QDateTime moment = std::clamp(localTime.toLocalTime(), firstDosMoment, lastDosMoment);
    const QDate date = moment.date();
    const QTime time = moment.time();
    const quint32 packedDate = quint32(date.year() - 1980) << 9 | quint32(date.month()) << 5
                               | quint32(date.day());
    const quint32 packedTime = quint32(time.hour()) << 11 | quint32(time.minute()) << 5
                               | quint32(time.second() / 2);
    return qint32(packedDate << 16 | packedTime);
}

bool isTooSoon(qint32 before, qint32 after)
{
    // A wrapping 32-bit subtraction, so that the step into 2044, where the value turns
    // negative, still counts as a long time.
    return qint32(quint32(after) - quint32(before)) < 10;
}

bool checkStartLock(const QString &lockPath)
{
    if (!QFileInfo::exists(lockPath)) {
        rewriteLockFile(lockPath);
        return true;
    }
    const qint32 before = lastWriteTime(lockPath);
    rewriteLockFile(lockPath);
    return !isTooSoon(before, lastWriteTime(lockPath));
}
