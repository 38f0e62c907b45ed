// The read-only queries behind the printed documents: the shift report's arithmetic of revenue,
// refunds, meter readings, opening balances, corrections and VAT, in SQL.
//
// A null amount counts as 0 in every computed figure; stored columns pass through as stored.
// Formulas that reuse other figures are expanded, since SQLite cannot refer to a column alias
// within the same select list.
#include "documentqueries.h"

#include "db/datamodule.h"

#include "platform/data/money.h"

#include <QDate>

#include <iterator>

namespace {

// A column of a document query: its name, its SQL expression and how it reads. Other leaves the
// kind to the database, which knows it only for a stored column taken as it is.
struct Column
{
    QString name;
    QString expression;
    ColumnKind kind = ColumnKind::Other;
};

Column plain(const QString &name, const QString &expression)
{
    return {name, expression, ColumnKind::Other};
}

Column money(const QString &name, const QString &expression)
{
    return {name, expression, ColumnKind::Money};
}

Column dateTime(const QString &name, const QString &expression)
{
    return {name, expression, ColumnKind::DateTime};
}

QString selectText(const QList<Column> &columns, const QStringList &source)
{
    QStringList items;
    for (const Column &column : columns)
        items << QStringLiteral("%1 AS %2").arg(column.expression, column.name);
    return (QStringList{QStringLiteral("SELECT ") + items.join(QStringLiteral(",\n"))} + source)
        .join(u'\n');
}

void setUp(Query &query, const QList<Column> &columns, const QStringList &source)
{
    query.setSql(selectText(columns, source));
    for (const Column &column : columns) {
        if (column.kind != ColumnKind::Other)
            query.setColumnKind(column.name, column.kind);
    }
}

QString plus(const QString &a, const QString &b)
{
    return QStringLiteral("(%1 + %2)").arg(a, b);
}

QString minus(const QString &a, const QString &b)
{
    return QStringLiteral("(%1 - %2)").arg(a, b);
}

QString sum(const QString &a)
{
    return QStringLiteral("SUM(%1)").arg(a);
}

// An amount of the Z-report z.
QString zAmount(const QString &column)
{
    return QStringLiteral("IFNULL(z.%1, 0)").arg(column);
}

// An amount of the Z-report's correction act k: 0 without an act or where the act has none.
QString actAmount(const QString &column)
{
    return QStringLiteral("IFNULL(k.%1, 0)").arg(column);
}

QString dayText(const QString &date)
{
    return QStringLiteral("strftime('%d.%m.%Y', %1)").arg(date);
}

QString timeText(const QString &date)
{
    return QStringLiteral("strftime('%H:%M', %1)").arg(date);
}

// An integer as the documents write it: a blank in the sign place of a number not below zero.
QString signedText(const QString &number)
{
    return QStringLiteral("IIF(%1 >= 0, ' ' || %1, CAST(%1 AS TEXT))").arg(number);
}

// The closing balance of z's previous Z-report: the register's row with the greatest idZ below z's.
const QString previousRealBalance = QStringLiteral(
    "(SELECT p.SumKassReal FROM ZOTCHET AS p WHERE p.idZ = "
    "(SELECT MAX(q.idZ) FROM ZOTCHET AS q WHERE q.idKKM = z.idKKM AND q.idZ < z.idZ))");

// When the register's previous shift ended: its latest Z-report of an earlier shift or of none.
const QString previousShiftEnd = QStringLiteral(
    "(SELECT p.ZDate FROM ZOTCHET AS p WHERE p.idZ = "
    "(SELECT MAX(q.idZ) FROM ZOTCHET AS q WHERE q.idKKM = z.idKKM "
    "AND (q.idDOVRA IS NULL OR q.idDOVRA < z.idDOVRA)))");

// VAT rates by the day from which each applies, oldest first; the first covers every earlier day.
struct VatRate
{
    QDate since;
    int percent;
};

const VatRate vatRates[] = {
    {QDate(), 18},
    {QDate(2019, 1, 1), 20},
    {QDate(2026, 1, 1), 22},
};

// The VAT percent in force on a date; a Z-report not yet dated takes the rate in force now.
QString vatPercent(const QString &date)
{
    QString sql = QStringLiteral("CASE");
    for (auto rate = std::begin(vatRates) + 1; rate != std::end(vatRates); ++rate)
        sql += QStringLiteral(" WHEN %1 < '%2' THEN %3")
                   .arg(date, rate->since.toString(Qt::ISODate), QString::number(rate[-1].percent));
    return sql + QStringLiteral(" ELSE %1 END").arg(std::end(vatRates)[-1].percent);
}

const QString unitsPerRuble = QString::number(Money::unitsPerRuble);

// fix(amount): the whole rubles of an amount, the fraction dropped towards zero.
QString wholeRubles(const QString &amount)
{
    return QStringLiteral("(%1 - %1 % %2)").arg(amount, unitsPerRuble);
}

// 100 × (amount − fix(amount)): the kopecks of an amount, as an amount.
QString kopecksOf(const QString &amount)
{
    return QStringLiteral("(%1 % %2 * 100)").arg(amount, unitsPerRuble);
}

// The VAT contained in an amount at a percent on top, in whole kopecks, halves away from zero.
QString vatKopecks(const QString &amount, const QString &percent)
{
    return QStringLiteral("CAST(ROUND(%1 * %2 / (%3.0 * (100 + %2))) AS INTEGER)")
        .arg(amount, percent, QString::number(Money::unitsPerRuble / 100));
}

// int(kopecks / 100) as a float: whole rubles, rounded down also below zero.
QString floorRubles(const QString &kopecks)
{
    return QStringLiteral("CAST(%1 / 100 - (%1 % 100 < 0) AS REAL)").arg(kopecks);
}

// The kopecks beyond floorRubles, 0 to 99.
QString remainingKopecks(const QString &kopecks)
{
    return QStringLiteral("((%1 % 100 + 100) % 100)").arg(kopecks);
}

// The figures that a correction act changes: of one Z-report, or summed over a shift.
struct Figures
{
    QString nalViruchka;
    QString kredViruchka;
    QString nalKakBnal;
    QString bnalKakNal;
    QString vNalKakBnal;
    QString vBnalKakNal;
    QString realInkass;
    QString realVinos;
    QString realVnos;
};

Figures zReportFigures()
{
    return {minus(zAmount("NalProd"), zAmount("NalVozvrat")),
            minus(zAmount("KredProd"), zAmount("KredStorno")),
            actAmount("nalKakBnal"),
            actAmount("BnalKakNal"),
            actAmount("vNalKakBnal"),
            actAmount("vBnalKakNal"),
            minus(zAmount("INKASS"), actAmount("korrInkass")),
            minus(zAmount("VINOS"), actAmount("korrVinos")),
            minus(zAmount("VNOS"), actAmount("korrVnos"))};
}

Figures summed(const Figures &f)
{
    return {sum(f.nalViruchka), sum(f.kredViruchka), sum(f.nalKakBnal), sum(f.bnalKakNal),
            sum(f.vNalKakBnal), sum(f.vBnalKakNal), sum(f.realInkass), sum(f.realVinos),
            sum(f.realVnos)};
}

// Cash sales rung up as card ones are cash revenue; card refunds paid out as cash are not.
QString dNalViruchka(const Figures &f)
{
    return minus(minus(f.nalKakBnal, f.bnalKakNal), minus(f.vNalKakBnal, f.vBnalKakNal));
}

QString dBNalViruchka(const Figures &f)
{
    return plus(minus(f.bnalKakNal, f.nalKakBnal), minus(f.vNalKakBnal, f.vBnalKakNal));
}

QString realNalViruchka(const Figures &f)
{
    return plus(f.nalViruchka, dNalViruchka(f));
}

QList<Column> realFigureColumns(const Figures &f)
{
    return {money("srealinkass", f.realInkass),
            money("srealvinos", f.realVinos),
            money("srealvnos", f.realVnos),
            money("dNalViruchka", dNalViruchka(f)),
            money("dBNalViruchka", dBNalViruchka(f)),
            money("realNalViruchka", realNalViruchka(f)),
            money("realNalPrihod", plus(realNalViruchka(f), f.realVnos)),
            money("realNalRashod", plus(f.realInkass, f.realVinos))};
}

// The act's amounts as the documents name them, with their columns in zkorr.
const QList<std::pair<QString, QString>> actColumns = {
    {"nal", "nal"},
    {"snalkakbnal", "nalKakBnal"},
    {"sbnalkaknal", "BnalKakNal"},
    {"svnalkakbnal", "vNalKakBnal"},
    {"svbnalkaknal", "vBnalKakNal"},
    {"skorrinkass", "korrInkass"},
    {"skorrvinos", "korrVinos"},
    {"skorrvnos", "korrVnos"},
};

const QStringList zReportAmounts = {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS",
                                    "VINOS",   "INKASS",     "SumKass",  "NarPROD"};

const QString prodSum = plus(zAmount("NalProd"), zAmount("KredProd"));
const QString sumVozvrat = plus(zAmount("NalVozvrat"), zAmount("KredStorno"));

void setUpZActive(Query &query)
{
    QList<Column> columns;
    for (const char *name : {"idZ", "idKKM", "NZ", "idZSit", "ZDOC", "ZDate", "idDOVRA"})
        columns << plain(name, QStringLiteral("z.") + name);
    for (const QString &name : zReportAmounts)
        columns << money(name, QStringLiteral("z.") + name);

    const Figures f = zReportFigures();
    columns << plain("ZDay", dayText("z.ZDate"))
            << plain("ZTimeEnd", timeText("z.ZDate"))
            << money("ProdSum", prodSum)
            << money("SumProd", prodSum)
            << money("SumVozvrat", sumVozvrat)
            << money("NalViruchka", f.nalViruchka)
            << money("KredViruchka", f.kredViruchka)
            << money("NarPRODpred", minus(zAmount("NarPROD"), prodSum))
            << money("NalPrihod", plus(f.nalViruchka, zAmount("VNOS")))
            << money("NalRashod", plus(zAmount("INKASS"), zAmount("VINOS")))
            << money("SumKassPred", QStringLiteral("IIF(z.NSsit, z.SumKassNS, %1)").arg(previousRealBalance))
            << plain("ZTIMEPRED", timeText(previousShiftEnd))
            << plain("nproizv", "kkm.NPROIZV")
            << plain("nreg", "kkm.NREG")
            << plain("nKass", "kkm.nKass")
            << plain("KKMNazv", "m.KKMnazv")
            << money("korrInkass", "k.korrInkass")
            << plain("NAkt", "k.NAkt");
    for (const auto &[name, column] : actColumns)
        columns << money(name, actAmount(column));
    columns << realFigureColumns(f)
            << money("realBNalViruchka", plus(f.kredViruchka, dBNalViruchka(f)))
            << money("realsumkass", "z.SumKassReal");

    const QString real = realNalViruchka(f);
    const QString vat = vatKopecks(real, vatPercent("z.ZDate"));
    columns << money("NalViruchkaRub", wholeRubles(real))
            << money("NalViruchkaCop", kopecksOf(real))
            << Column{"NalViruchkaNDSRub", floorRubles(vat), ColumnKind::Double}
            << Column{"NalViruchkaNDSKop", remainingKopecks(vat), ColumnKind::Integer};

    setUp(query, columns,
          {"FROM ZOTCHET AS z",
           "LEFT JOIN zkorr AS k ON k.idZ = z.idZ",
           "LEFT JOIN KKM AS kkm ON kkm.idKKM = z.idKKM",
           "LEFT JOIN KKMnazv AS m ON m.idKKMNazv = kkm.idKKMNazv",
           "WHERE z.idZ = :idz"});
}

void setUpZsum(Query &query)
{
    const Figures f = summed(zReportFigures());
    QList<Column> columns{dateTime("mZdate", "MIN(z.ZDate)"),
                          plain("ZDay", dayText("MIN(z.ZDate)")),
                          plain("ZTimeEnd", timeText("MIN(z.ZDate)")),
                          plain("middovra", "MIN(z.idDOVRA)")};
    for (const QString &name : zReportAmounts)
        columns << money(QStringLiteral("s") + name, sum(zAmount(name)));
    columns << money("ProdSum", sum(prodSum))
            << money("SumProd", sum(prodSum))
            << money("SumVozvrat", sum(sumVozvrat))
            << money("NalViruchka", f.nalViruchka)
            << money("KredViruchka", f.kredViruchka)
            << money("NarPRODpred", minus(sum(zAmount("NarPROD")), sum(prodSum)))
            << money("NalPrihod", plus(f.nalViruchka, sum(zAmount("VNOS"))))
            << money("NalRashod", sum(plus(zAmount("INKASS"), zAmount("VINOS"))))
            // The shift's opening is what the registers closed with; typed openings do not count.
            << money("SumKassPred", sum(previousRealBalance));
    for (const auto &[name, column] : actColumns)
        columns << money(name, sum(actAmount(column)));
    columns << realFigureColumns(f) << money("realsumkass", "SUM(z.SumKassReal)");

    setUp(query, columns,
          {"FROM ZOTCHET AS z",
           "LEFT JOIN zkorr AS k ON k.idZ = z.idZ",
           "WHERE z.idDOVRA = :iddovra"});
}

// The meter-reading summary's corrections of one Z-report.
const QString dProd = minus(actAmount("nalKakBnal"), actAmount("BnalKakNal"));
const QString dVozvrat = minus(actAmount("vNalKakBnal"), actAmount("vBnalKakNal"));
const QString fNalVozvrat = plus(zAmount("NalVozvrat"), dVozvrat);
const QString fBNalVozvrat = minus(zAmount("KredStorno"), dVozvrat);
const QString fNalViruchka = minus(plus(zAmount("NalProd"), dProd), fNalVozvrat);
const QString fBNalViruchka = minus(minus(zAmount("KredProd"), dProd), fBNalVozvrat);

// The Z-reports of a shift on registers the station knows, with each register's model.
const QStringList shiftRegisterRows = {
    "FROM ZOTCHET AS z",
    "INNER JOIN KKM AS kkm ON kkm.idKKM = z.idKKM",
    "LEFT JOIN KKMnazv AS m ON m.idKKMNazv = kkm.idKKMNazv",
};
const QString ofShift = QStringLiteral("WHERE z.idDOVRA = :idDovra");
const QString byRegister = QStringLiteral("ORDER BY kkm.nKass, z.idZ");

const QList<Column> registerColumns = {
    plain("kkmnazv", "m.KKMnazv"),
    plain("nkasskkmnazv", signedText("kkm.nKass") + " || '. ' || m.KKMnazv"),
    plain("nproizv", "kkm.NPROIZV"),
    plain("nreg", "kkm.NREG"),
    plain("nz", "z.NZ"),
    plain("zdoc", "z.ZDOC"),
};

void setUpKM7(Query &query)
{
    const QList<Column> columns = registerColumns + QList<Column>{
        money("narprod", "z.NarPROD"),
        money("narprodpred", minus(minus(zAmount("NarPROD"), zAmount("NalProd")), zAmount("KredProd"))),
        money("viruchka", prodSum),
        money("VIRUCHKAnal", "z.NalProd"),
        money("VIRUCHKAbnal", "z.KredProd"),
        money("VOZVRATnal", "z.NalVozvrat"),
        money("VOZVRATbnal", "z.KredStorno"),
        money("VOZVRAT", sumVozvrat),
        money("rNalKakBnal", actAmount("nalKakBnal")),
        money("rBnalKakNal", actAmount("BnalKakNal")),
        money("rVNalKakBnal", actAmount("vNalKakBnal")),
        money("rVBnalKakNal", actAmount("vBnalKakNal")),
        money("dProd", dProd),
        money("dVozvrat", dVozvrat),
        money("fNalVozvrat", fNalVozvrat),
        money("fBNalVozvrat", fBNalVozvrat),
        money("fNalViruchka", fNalViruchka),
        money("fBNalViruchka", fBNalViruchka),
    };
    setUp(query, columns,
          shiftRegisterRows + QStringList{"LEFT JOIN zkorr AS k ON k.idZ = z.idZ", ofShift, byRegister});
}

void setUpKM7Sum(Query &query)
{
    setUp(query,
          {money("sviruchka", sum(prodSum)),
           money("sVIRUCHKAnal", sum(zAmount("NalProd"))),
           money("sVIRUCHKAbnal", sum(zAmount("KredProd"))),
           money("sVOZVRATnal", sum(zAmount("NalVozvrat"))),
           money("sVOZVRATbnal", sum(zAmount("KredStorno"))),
           money("sVOZVRAT", sum(sumVozvrat))},
          shiftRegisterRows + QStringList{ofShift});
}

void setUpKM7korr(Query &query)
{
    setUp(query,
          {money("sfnal", sum(fNalViruchka)), money("sfbnal", sum(fBNalViruchka))},
          {"FROM ZOTCHET AS z", "LEFT JOIN zkorr AS k ON k.idZ = z.idZ", ofShift});
}

void setUpPerenos(Query &query)
{
    setUp(query, registerColumns + QList<Column>{money("VNOS", "z.VNOS"), money("VINOS", "z.VINOS")},
          shiftRegisterRows + QStringList{ofShift, byRegister});
}

void setUpPerenosSum(Query &query)
{
    const QString deposits = sum(zAmount("VNOS"));
    const QString withdrawals = sum(zAmount("VINOS"));
    setUp(query,
          {money("sVNOS", deposits), money("sVINOS", withdrawals),
           money("sRAZNOST", minus(deposits, withdrawals))},
          shiftRegisterRows + QStringList{ofShift});
}

void setUpKAkt(Query &query)
{
    setUp(query,
          {plain("nakt", "k.NAkt"), dateTime("zdate", "z.ZDate"),
           money("nalkakbnal", "k.nalKakBnal"), money("nal", "k.nal")},
          {"FROM ZOTCHET AS z", "INNER JOIN zkorr AS k ON k.idZ = z.idZ", "WHERE z.idZ = :idz"});
}

void setUpFilial(Query &query)
{
    setUp(query,
          {plain("POLUCHATEL", "BANK || '   ч/з   ' || BUHGALTER"),
           plain("AdrTel", "adresRBE || ', тел. ' || telRBE"),
           plain("FilialAZS", "FILIAL || '  филиал, АЗС №' || " + signedText("nAZS")),
           plain("AZSN", "'АЗС № ' || " + signedText("nAZS")),
           plain("SoftName",
                 "'Система автоматизации АЗС \"DAR-AR-I\" ' || IIF(LINUX, '(LINUX)', '(DOS)')")},
          {"FROM AZSFILIAL"});
}

// Operator names split at their first blank (p1) and the next one (p2). A name of one word is
// its surname alone; a name of two words has no patronymic and no second initial.
QList<Column> fioColumns()
{
    const QString fam = QStringLiteral(
        "IIF(n.p1 = 0, n.operatorfio, substr(n.operatorfio, 1, n.p1 - 1))");
    const QString i = QStringLiteral("IIF(n.p1 = 0, '', substr(n.operatorfio, n.p1 + 1, 1) || '.')");
    const QString o = QStringLiteral("IIF(n.p2 = 0, '', substr(n.operatorfio, n.p2 + 1, 1) || '.')");
    return {plain("idoperator", "n.idoperator"),
            plain("operatorfio", "n.operatorfio"),
            Column{"probel1", "n.p1", ColumnKind::Integer},
            Column{"probel2", "n.p2", ColumnKind::Integer},
            plain("fam", fam),
            plain("im", "IIF(n.p1 = 0, '', IIF(n.p2 = 0, substr(n.operatorfio, n.p1 + 1), "
                        "substr(n.operatorfio, n.p1 + 1, n.p2 - n.p1)))"),
            plain("i", i),
            plain("ot", "IIF(n.p2 = 0, '', substr(n.operatorfio, n.p2 + 1, 100))"),
            plain("o", o),
            plain("fio", QStringLiteral("%1 || IIF(n.p1 = 0, '', ' ' || %2 || %3)").arg(fam, i, o)),
            plain("iof", QStringLiteral("%1 || %2 || %3").arg(i, o, fam))};
}

const QStringList fioSource = {
    "FROM (SELECT a.*, IIF(instr(substr(a.operatorfio, a.p1 + 1), ' ') = 0, 0,",
    "             a.p1 + instr(substr(a.operatorfio, a.p1 + 1), ' ')) AS p2",
    "      FROM (SELECT idOperator AS idoperator, OperatorFIO AS operatorfio,",
    "                   instr(OperatorFIO, ' ') AS p1 FROM AZSOPER) AS a) AS n",
};

void setUpFio(Query &query)
{
    setUp(query, fioColumns(), fioSource);
}

void setUpZKM4(Query &query)
{
    setUp(query,
          {plain("ZDay", dayText("z.ZDate")),
           plain("NZ", "z.NZ"),
           plain("idDOVRA", "z.idDOVRA"),
           money("NalProd", "z.NalProd"),
           money("NalVozvrat", "z.NalVozvrat"),
           money("KredProd", "z.KredProd"),
           money("KredStorno", "z.KredStorno"),
           money("NarPROD", "z.NarPROD"),
           dateTime("zdate", "z.ZDate"),
           money("SumProd", prodSum),
           money("SumVozvrat", sumVozvrat),
           money("NarPRODpred", minus(zAmount("NarPROD"), prodSum)),
           plain("idoperator", "d.idOperator"),
           plain("idOper", "(SELECT s.idOperator FROM DOVRA AS s WHERE s.idDOVRA = z.idDOVRA)"),
           plain("OperFIO", "f.fio")},
          // The base row (no shift) is not a Z-report of the journal. Of Z-reports dated alike,
          // the one entered later counts as the later.
          {"FROM (SELECT * FROM ZOTCHET WHERE idKKM = :idkkm AND idDOVRA IS NOT NULL",
           "      ORDER BY ZDate DESC, idZ DESC LIMIT 5) AS z",
           "LEFT JOIN DOVRA AS d ON d.idDOVRA = z.idDOVRA",
           "LEFT JOIN (" + selectText(fioColumns(), fioSource) + ") AS f ON f.idoperator = d.idOperator",
           "ORDER BY z.ZDate, z.idZ"});
}

} // namespace

void setUpDocumentQueries(TfDM &dm)
{
    setUpFilial(dm.adoqFILIAL);
    setUpZActive(dm.adoqZActive);
    setUpZsum(dm.adoqZsum);
    setUpKM7(dm.adoqKM7);
    setUpKM7Sum(dm.adoqKM7Sum);
    setUpKM7korr(dm.adoqKM7korr);
    setUpPerenos(dm.adoqPERENOS);
    setUpPerenosSum(dm.adoqPERENOSsum);
    setUpKAkt(dm.adoqKAkt);
    setUpFio(dm.adoqFIO);
    setUpZKM4(dm.adoqZKM4);
}
