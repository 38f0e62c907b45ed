#include "shifttexts.h"

#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "platform/data/money.h"

#include <QLocale>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

QString operatorName(const Field &name)
{
    return name.isNull() ? chooseOperatorText : name.asString();
}

} // namespace

ShiftTexts readShiftTexts(TfDM &dm, qint32 idDovra)
{
    ShiftTexts texts;
    Query &q = dm.adoq;
    q.close();
    q.setSql(QStringList{
        "SELECT d.DovraNBUKTS, d.DovraDate, o1.OperatorFIO AS oper1, o2.OperatorFIO AS oper2,",
        // The shift's encashment is its first row, as the main window finds it.
        " (SELECT InkassDate FROM Inkass WHERE idDOVRA = d.idDOVRA ORDER BY idInkass LIMIT 1) AS inkassDate,",
        " (SELECT SUM(z.INKASS) FROM ZOTCHET AS z WHERE z.idDOVRA = d.idDOVRA) AS registersInkass,",
        " (SELECT SUM(k.korrInkass) FROM zkorr AS k INNER JOIN ZOTCHET AS z ON z.idZ = k.idZ",
        "  WHERE z.idDOVRA = d.idDOVRA) AS correctiveInkass",
        "FROM DOVRA AS d",
        "LEFT JOIN AZSOPER AS o1 ON o1.idOperator = d.idOperator",
        "LEFT JOIN AZSOPER AS o2 ON o2.idOperator = d.idOperator2",
        "WHERE d.idDOVRA = :iddovra"});
    q.setParam(QStringLiteral("iddovra"), idDovra);
    q.setColumnKind(QStringLiteral("inkassDate"), ColumnKind::DateTime);
    q.setColumnKind(QStringLiteral("registersInkass"), ColumnKind::Money);
    q.setColumnKind(QStringLiteral("correctiveInkass"), ColumnKind::Money);
    q.open();
    if (q.isEmpty())
        return texts;
    texts.number = q.field(QStringLiteral("DovraNBUKTS")).asString();
    texts.date = q.field(QStringLiteral("DovraDate")).asDateTime().toString(dateFormat);
    texts.operator1 = operatorName(q.field(QStringLiteral("oper1")));
    texts.operator2 = operatorName(q.field(QStringLiteral("oper2")));
    texts.inkassDate = q.field(QStringLiteral("inkassDate")).asDateTime().toString(dateFormat);
    texts.registersInkass = groupedAmountText(q.field(QStringLiteral("registersInkass")).asFloat());
    texts.correctiveInkass = groupedAmountText(q.field(QStringLiteral("correctiveInkass")).asFloat());
    q.close();

    q.setSql(QStringList{
        "SELECT SumkaN, SUMMA FROM InkassKvit WHERE idInkass =",
        " (SELECT idInkass FROM Inkass WHERE idDOVRA = :iddovra ORDER BY idInkass LIMIT 1)",
        "ORDER BY idInkassKvit"});
    q.setParam(QStringLiteral("iddovra"), idDovra);
    q.open();
    Money total;
    QStringList bags;
    for (q.first(); !q.eof(); q.next()) {
        const Money sum = q.field(QStringLiteral("SUMMA")).asMoney();
        total += sum;
        if (sum != Money())
            bags.append(q.field(QStringLiteral("SumkaN")).asString());
    }
    q.close();
    texts.inkassTotal = total.toString(2).replace(u'.', QLocale::system().decimalPoint());
    texts.inkassTotalShown = groupedAmountText(total.toDouble());
    texts.bagList = bags.join(QStringLiteral(", "));
    return texts;
}
