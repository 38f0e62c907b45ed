#include "refundqueries.h"

#include "db/datamodule.h"

#include "platform/data/query.h"

#include <QHash>
#include <QStringList>

namespace {

using Params = QHash<QString, QVariant>;

// A scratch row x with neither number nor sum.
QString blank(const QString &x)
{
    return QStringLiteral("(IFNULL(%1.NVCheka, '') = '' AND %1.SVCheka IS NULL)").arg(x);
}

int run(TfDM &dm, const QStringList &lines, const Params &params = {})
{
    Query query(&dm.ADOConAZSKAS);
    query.setSql(lines);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.setParam(it.key(), it.value());
    return query.execSql();
}

Params receiptsOf(qint32 idZ, bool cash)
{
    return {{QStringLiteral("idza"), idZ}, {QStringLiteral("nal"), cash}};
}

Money sumOf(TfDM &dm, const QStringList &lines, const Params &params = {})
{
    Query query(&dm.ADOConAZSKAS);
    query.setSql(lines);
    query.setColumnKind(QStringLiteral("sv"), ColumnKind::Money);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.setParam(it.key(), it.value());
    query.open();
    return query.field(QStringLiteral("sv")).asMoney();
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

RefundReceipt receiptOf(const Query &query, int line)
{
    const Field sum = query.field(QStringLiteral("SVCheka"));
    return {line, query.field(QStringLiteral("NVCheka")).asString(),
            sum.isNull() ? QVariant() : QVariant::fromValue(sum.asMoney())};
}

} // namespace

void loadXVozvrat(TfDM &dm, qint32 idZ, bool cash)
{
    Transaction transaction(dm.ADOConAZSKAS);
    run(dm, {"delete from XVozvrat"});
    if (idZ != 0) {
        run(dm,
            {"INSERT INTO xvozvrat (idVozvrat, NVCheka, SVCheka)",
             "SELECT idVozvrat, NVCheka, SVCheka FROM Vozvrat",
             "WHERE vozvrat.idz = :idza and nalbnal = :nal",
             "ORDER BY idVozvrat"},
            receiptsOf(idZ, cash));
        renumXVozvrat(dm);
    }
    transaction.commit();
}

void storeXVozvrat(TfDM &dm, qint32 idZ, bool cash)
{
    Transaction transaction(dm.ADOConAZSKAS);
    run(dm,
        {"DELETE FROM Vozvrat WHERE idz = :idza AND nalbnal = :nal AND NOT EXISTS",
         "(SELECT 1 FROM xVozvrat x WHERE x.idVozvrat = Vozvrat.idVozvrat AND NOT "
             + blank("x") + ")"},
        receiptsOf(idZ, cash));
    // Only receipts of this Z-report and kind take scratch values, whatever the scratch rows hold.
    run(dm,
        {"UPDATE Vozvrat SET NVCheka = x.NVCheka, SVCheka = x.SVCheka",
         "FROM xVozvrat x WHERE x.idVozvrat = Vozvrat.idVozvrat AND x.idVozvrat <> 0",
         "AND Vozvrat.idz = :idza AND Vozvrat.nalbnal = :nal AND NOT " + blank("x")},
        receiptsOf(idZ, cash));
    run(dm,
        {"INSERT INTO Vozvrat (idz, nalbnal, NVCheka, SVCheka)",
         "SELECT :idza, :nal, NVCheka, SVCheka FROM xVozvrat",
         "WHERE IFNULL(idVozvrat, 0) = 0 AND NOT " + blank("xVozvrat"),
         "ORDER BY rowid"},
        receiptsOf(idZ, cash));
    transaction.commit();
}

void renumXVozvrat(TfDM &dm)
{
    run(dm, {"UPDATE xVozvrat SET NStroki =",
             "(SELECT COUNT(*) FROM xVozvrat x WHERE x.rowid <= xVozvrat.rowid)"});
}

void appendXVozvrat(TfDM &dm, const QString &number, const QVariant &sum)
{
    if (number.isEmpty() && sum.isNull())
        return;
    run(dm,
        {"INSERT INTO xVozvrat (idVozvrat, NVCheka, SVCheka, NStroki)",
         "VALUES (0, :n, :s, (SELECT COUNT(*) + 1 FROM xVozvrat))"},
        {{QStringLiteral("n"), textOrNull(number)}, {QStringLiteral("s"), sum}});
}

void setXVozvratNumber(TfDM &dm, qint64 rowKey, const QString &number)
{
    run(dm, {"UPDATE xVozvrat SET NVCheka = :n WHERE rowid = :key"},
        {{QStringLiteral("n"), textOrNull(number)}, {QStringLiteral("key"), rowKey}});
}

void setXVozvratSum(TfDM &dm, qint64 rowKey, const QVariant &sum)
{
    run(dm, {"UPDATE xVozvrat SET SVCheka = :s WHERE rowid = :key"},
        {{QStringLiteral("s"), sum}, {QStringLiteral("key"), rowKey}});
}

void deleteXVozvrat(TfDM &dm, qint64 rowKey)
{
    Transaction transaction(dm.ADOConAZSKAS);
    run(dm, {"DELETE FROM xVozvrat WHERE rowid = :key"}, {{QStringLiteral("key"), rowKey}});
    renumXVozvrat(dm);
    transaction.commit();
}

Money xVozvratSum(TfDM &dm)
{
    return sumOf(dm, {"select sum(SVCheka) as sv from xvozvrat"});
}

Money storedVozvratSum(TfDM &dm, qint32 idZ, bool cash)
{
    return sumOf(dm, {"select sum(SVCheka) as sv from Vozvrat where idz = :idza and nalbnal = :nal"},
                 receiptsOf(idZ, cash));
}

QList<RefundReceipt> xVozvratReceipts(TfDM &dm)
{
    Query query(&dm.ADOConAZSKAS);
    query.setSql(QStringLiteral("SELECT NStroki, NVCheka, SVCheka FROM xVozvrat ORDER BY NStroki, rowid"));
    query.open();
    QList<RefundReceipt> receipts;
    for (; !query.eof(); query.next())
        receipts.append(receiptOf(query, query.field(QStringLiteral("NStroki")).asInteger()));
    return receipts;
}

QList<RefundReceipt> storedReceipts(TfDM &dm, qint32 idZ, bool cash)
{
    Query query(&dm.ADOConAZSKAS);
    query.setSql(QStringList{"SELECT NVCheka, SVCheka FROM Vozvrat",
                             "WHERE idz = :idza AND nalbnal = :nal ORDER BY idVozvrat"});
    query.setParam(QStringLiteral("idza"), idZ);
    query.setParam(QStringLiteral("nal"), cash);
    query.open();
    QList<RefundReceipt> receipts;
    for (; !query.eof(); query.next())
        receipts.append(receiptOf(query, int(receipts.size()) + 1));
    return receipts;
}
