#include "testdatabase.h"

#include "db/delivereddatabase.h"

#include <QFile>

QString freshDatabase(const QString &folder, bool withDemo)
{
    const QString path = folder + QStringLiteral("/AZSVELMORAN.mdb");
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
    createDeliveredDatabase(path, withDemo);
    return path;
}
