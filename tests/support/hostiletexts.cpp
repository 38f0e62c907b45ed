#include "hostiletexts.h"

#include "shiftfixture.h"

#include "documents/documentcommands.h"

#include "platform/data/connection.h"
#include "platform/data/errors.h"
#include "platform/data/query.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

const QList<HostileText> &hostileTexts()
{
    static const QList<HostileText> texts = {
        {QStringLiteral("single quotes"), QStringLiteral("O'Neil ''x'")},
        {QStringLiteral("double quotes"), QStringLiteral("ООО \"Заря\" \"\"")},
        {QStringLiteral("semicolons"), QStringLiteral("a;b; ;")},
        {QStringLiteral("injection"), QStringLiteral("'); drop table ZOTCHET; --")},
        {QStringLiteral("injection in double quotes"), QStringLiteral("\"); delete from AZSOPER; --")},
        {QStringLiteral("comment and parameter marks"), QStringLiteral("/* :idz ? ?1 @p $x %1 */")},
        {QStringLiteral("backslashes"), QStringLiteral("C:\\temp\\' \\\" \\\\")},
        {QStringLiteral("NUL inside"), QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")},
        {QStringLiteral("control characters"), QStringLiteral("\t\r\n\x01\x1b\x7f|") + QChar(0x2028)},
        {QStringLiteral("beyond 16 bits"), QString::fromUtf8("😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋😀𝄞 𠀋")},
        {QStringLiteral("100 000 characters"), QStringLiteral("x'\";").repeated(25000)},
        {QStringLiteral("100 000 characters beyond 16 bits"), QString::fromUtf8("😀").repeated(50000)},
    };
    return texts;
}

void addHostileTextRows()
{
    QTest::addColumn<QString>("text");
    for (const HostileText &hostile : hostileTexts())
        QTest::newRow(qPrintable(hostile.name)) << hostile.text;
}

void pasteInto(QLineEdit *field, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    field->selectAll();
    field->paste();
}

QString keptText(const QString &text, int maxLength)
{
    QString kept = text.left(maxLength);
    if (!kept.isEmpty() && kept.back().isHighSurrogate())
        kept.chop(1);
    return kept;
}

QString schemaAndCounts(Connection &connection, const QStringList &growing)
{
    Query schema(&connection);
    // SQLite's own bookkeeping (the AUTOINCREMENT counters) is left out.
    schema.setSql(QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                                 "WHERE name NOT LIKE 'sqlite^_%' ESCAPE '^' ORDER BY type, name"));
    schema.open();
    QStringList lines;
    for (; !schema.eof(); schema.next()) {
        const QString type = schema.field(QStringLiteral("type")).asString();
        const QString name = schema.field(QStringLiteral("name")).asString();
        QString line = type + u' ' + name + u' ' + schema.field(QStringLiteral("sql")).asString();
        if (type == QStringLiteral("table") && !growing.contains(name, Qt::CaseInsensitive)) {
            Query count(&connection);
            count.setSql(QStringLiteral("SELECT COUNT(*) AS n FROM %1").arg(quotedIdentifier(name)));
            count.open();
            line += QStringLiteral(" rows: ") + count.field(QStringLiteral("n")).asString();
        }
        lines << line;
    }
    return lines.join(u'\n');
}

QString documentFailures(ShiftFixture &fixture, qint32 idDovra, int kassa)
{
    QStringList failures;
    for (const QString &name : documentNames()) {
        try {
            DocumentContext context = fixture.context(idDovra, kassa);
            if (fixture.prepare(name, context).pages.isEmpty())
                failures << name + QStringLiteral(": no page");
        } catch (const AppError &error) {
            failures << name + QStringLiteral(": ") + error.message();
        }
    }
    return failures.join(u'\n');
}

qint32 addShiftToPrint(ShiftFixture &fixture, int operator1, int operator2)
{
    const QDate day(2024, 3, 15);
    const qint32 idDovra = fixture.addShift(day, QStringLiteral("17"), operator1, operator2);
    fixture.addZReport(idDovra, 1, {{QStringLiteral("ZDate"), QDateTime(day, QTime(8, 0))},
                                    {QStringLiteral("NalProd"), 100.0}});
    return idDovra;
}
