#include "golden.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace {

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                             : QString();
}

// Amounts end in two decimals with nothing but a blank or the line's end after them; fixed texts
// such as the account "50.02" keep their point and do not match.
QString withDecimalPoint(QString text)
{
    const QChar separator = QLocale::system().decimalPoint().front();
    if (separator == u'.')
        return text;
    const QRegularExpression amount(QStringLiteral("(\\d)%1(\\d\\d)(?=[ \\n]|$)")
                                        .arg(QRegularExpression::escape(separator)));
    return text.replace(amount, QStringLiteral("\\1.\\2"));
}

} // namespace

QString goldenMismatch(const QString &goldenDir, const QString &name, const QString &dump)
{
    const QString expected = readFile(QDir(goldenDir).filePath(name));
    if (!expected.isEmpty() && withDecimalPoint(dump) == expected)
        return {};
    const QString actualPath = QDir::current().filePath(name + QStringLiteral(".actual"));
    QFile actual(actualPath);
    if (actual.open(QIODevice::WriteOnly | QIODevice::Text))
        actual.write(dump.toUtf8());
    return QStringLiteral("differs from golden/%1, actual in %2").arg(name, actualPath);
}
