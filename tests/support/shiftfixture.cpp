#include "shiftfixture.h"

#include "documents/shifttexts.h"

#include "platform/data/money.h"
#include "platform/report/preparedreport.h"

#include <QStringList>

ShiftFixture::ShiftFixture()
{
    station.main->FormActivate();
}

qint32 ShiftFixture::addShift(const QDate &date, const QString &number, int operator1,
                              int operator2, bool locked)
{
    Columns columns{{QStringLiteral("DovraDate"), QDateTime(date, QTime(0, 0))},
                    {QStringLiteral("DovraNBUKTS"), number},
                    {QStringLiteral("smLocked"), locked}};
    if (operator1 > 0)
        columns.insert(QStringLiteral("idOperator"), operator1);
    if (operator2 > 0)
        columns.insert(QStringLiteral("idOperator2"), operator2);
    insert(QStringLiteral("DOVRA"), columns);
    return station.scalar(QStringLiteral("SELECT MAX(idDOVRA) FROM DOVRA")).asInteger();
}

qint32 ShiftFixture::addZReport(qint32 idDovra, int kassa, const Columns &columns)
{
    Columns all = columns;
    all.insert(QStringLiteral("idDOVRA"), idDovra);
    all.insert(QStringLiteral("idKKM"),
               station.scalar(QStringLiteral("SELECT idKKM FROM KKM WHERE nKass = :n"),
                              {{QStringLiteral("n"), kassa}})
                   .asInteger());
    insert(QStringLiteral("ZOTCHET"), all);
    return station.scalar(QStringLiteral("SELECT MAX(idZ) FROM ZOTCHET")).asInteger();
}

void ShiftFixture::addAct(qint32 idZ, const Columns &columns)
{
    Columns all = columns;
    all.insert(QStringLiteral("idZ"), idZ);
    insert(QStringLiteral("zkorr"), all);
}

void ShiftFixture::addEncashment(qint32 idDovra, const QDate &date,
                                 const QList<std::pair<QString, double>> &bags)
{
    insert(QStringLiteral("Inkass"), {{QStringLiteral("idDOVRA"), idDovra},
                                      {QStringLiteral("InkassDate"), QDateTime(date, QTime(0, 0))}});
    const qint32 idInkass = station.scalar(QStringLiteral("SELECT MAX(idInkass) FROM Inkass")).asInteger();
    for (const auto &[number, sum] : bags) {
        insert(QStringLiteral("InkassKvit"), {{QStringLiteral("idInkass"), idInkass},
                                              {QStringLiteral("SumkaN"), number},
                                              {QStringLiteral("SUMMA"), sum}});
    }
}

DocumentContext ShiftFixture::context(qint32 idDovra, int kassa)
{
    const qint32 idZ = station
                           .scalar(QStringLiteral("SELECT z.idZ FROM ZOTCHET z INNER JOIN KKM k "
                                                  "ON k.idKKM = z.idKKM WHERE z.idDOVRA = :d "
                                                  "AND k.nKass = :n"),
                                   {{QStringLiteral("d"), idDovra}, {QStringLiteral("n"), kassa}})
                           .asInteger();
    return {*station.dm, idDovra, kassa, idZ, lastZ, readShiftTexts(*station.dm, idDovra)};
}

PreparedReport ShiftFixture::prepare(const QString &name, DocumentContext &context)
{
    const DocumentCommand *command = findDocument(name);
    if (!command)
        qFatal("no document %s", qPrintable(name));
    return prepareReport(command->prepare(context));
}

// Column names are the test's own, never typed by a person. Doubles are amounts, stored exact.
void ShiftFixture::insert(const QString &table, const Columns &columns)
{
    QStringList names;
    QStringList params;
    Columns values;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        names << it.key();
        params << u':' + it.key();
        values.insert(it.key(), it.value().typeId() == QMetaType::Double
                                    ? QVariant::fromValue(Money::fromDouble(it.value().toDouble()))
                                    : it.value());
    }
    station.run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, names.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))),
                values);
}

QString pageTexts(const PreparedReport &report)
{
    QStringList texts;
    for (const PreparedPage &page : report.pages) {
        for (const PreparedItem &item : page.items) {
            if (!item.text.isEmpty())
                texts << item.text;
        }
    }
    return texts.join(u'\n');
}
