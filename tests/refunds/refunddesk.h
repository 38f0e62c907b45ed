#pragma once

#include "support/shiftfixture.h"

#include "platform/data/money.h"
#include "platform/data/query.h"
#include "platform/ui/messages.h"

#include <QStringList>

// A shift of 15.03.2024 on the demo station with the first register's Z-report carrying the
// given refund totals, and helpers to put receipts in and read them back as "number|sum" texts
// (sums with a point and two decimals, null as empty).
class RefundDesk
{
public:
    static inline const QDate shiftDate = QDate(2024, 3, 15);

    RefundDesk(double nalVozvrat, double kredStorno, int kassa = 1)
    {
        idDovra = fixture.addShift(shiftDate, QStringLiteral("17"));
        idZ = fixture.addZReport(idDovra, kassa,
                                 {{QStringLiteral("ZDate"), QDateTime(shiftDate, QTime(8, 0))},
                                  {QStringLiteral("NZ"), 125},
                                  {QStringLiteral("NalVozvrat"), nalVozvrat},
                                  {QStringLiteral("KredStorno"), kredStorno}});
    }

    DocumentContext context(int kassa = 1) { return fixture.context(idDovra, kassa); }
    TfDM &dm() { return *fixture.station.dm; }

    void addStored(qint32 z, bool cash, const QString &number, double sum)
    {
        run(QStringLiteral("INSERT INTO VOZVRAT (idz, nalbnal, NVCheka, SVCheka) "
                           "VALUES (:z, :cash, :n, :s)"),
            {{QStringLiteral("z"), z},
             {QStringLiteral("cash"), cash},
             {QStringLiteral("n"), number},
             {QStringLiteral("s"), QVariant::fromValue(Money::fromDouble(sum))}});
    }

    // A scratch row as something else left it (idVozvrat 0: never stored).
    void addScratch(const QString &number, double sum, qint32 idVozvrat = 0)
    {
        run(QStringLiteral("INSERT INTO xVozvrat (idVozvrat, NVCheka, SVCheka, NStroki) "
                           "VALUES (:id, :n, :s, 9)"),
            {{QStringLiteral("id"), idVozvrat},
             {QStringLiteral("n"), number},
             {QStringLiteral("s"), QVariant::fromValue(Money::fromDouble(sum))}});
    }

    void run(const QString &sql, const QHash<QString, QVariant> &params = {})
    {
        fixture.station.run(sql, params);
    }

    // The stored receipts of a Z-report and kind in key order.
    QStringList stored(qint32 z, bool cash)
    {
        return texts(QStringLiteral("SELECT NVCheka, SVCheka FROM VOZVRAT WHERE idz = :z "
                                    "AND nalbnal = :cash ORDER BY idVozvrat"),
                     {{QStringLiteral("z"), z}, {QStringLiteral("cash"), cash}});
    }
    QStringList stored(bool cash) { return stored(idZ, cash); }

    // Every stored receipt with its key, Z-report and kind: what must not change.
    QStringList allStored()
    {
        return texts(QStringLiteral("SELECT idVozvrat || '/' || idz || '/' || nalbnal || '/' || "
                                    "IFNULL(NVCheka, '') AS NVCheka, SVCheka FROM VOZVRAT "
                                    "ORDER BY idVozvrat"));
    }

    // The scratch rows as "line|number|sum" in line order.
    QStringList scratch()
    {
        return texts(QStringLiteral("SELECT NStroki || '|' || IFNULL(NVCheka, '') AS NVCheka, "
                                    "SVCheka FROM xVozvrat ORDER BY NStroki, rowid"));
    }

    QStringList texts(const QString &sql, const QHash<QString, QVariant> &params = {})
    {
        Query query(&dm().ADOConAZSKAS);
        query.setSql(sql);
        query.setColumnKind(QStringLiteral("SVCheka"), ColumnKind::Money);
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            query.setParam(it.key(), it.value());
        query.open();
        QStringList result;
        for (; !query.eof(); query.next()) {
            const Field sum = query.field(QStringLiteral("SVCheka"));
            result << query.field(QStringLiteral("NVCheka")).asString() + u'|'
                          + (sum.isNull() ? QString() : sum.asMoney().toString(2));
        }
        return result;
    }

    MessageRecorder messages;
    ShiftFixture fixture;
    qint32 idDovra = 0;
    qint32 idZ = 0;
};
