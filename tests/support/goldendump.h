#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Golden text dumps of laid-out documents (dumpReport) kept in the source tree. Empty when dump
// equals the golden file name in folder; otherwise why not, with the actual dump kept beside the
// build for comparing by eye (and for copying over the golden file once it is right).
inline QString goldenMismatch(const QString &folder, const QString &name, const QString &dump)
{
    QFile golden(QDir(folder).filePath(name));
    if (golden.open(QIODevice::ReadOnly | QIODevice::Text)
        && QString::fromUtf8(golden.readAll()) == dump)
        return {};
    const QString actualPath = QDir::current().filePath(name + QStringLiteral(".actual"));
    QFile actual(actualPath);
    if (actual.open(QIODevice::WriteOnly | QIODevice::Text))
        actual.write(dump.toUtf8());
    return QStringLiteral("differs from golden/%1, actual in %2").arg(name, actualPath);
}
