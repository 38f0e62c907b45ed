#include "support/station.h"

#include "platform/data/money.h"

#include <QTest>

namespace {

// Expected values of columns of the current row: a double is an amount in rubles that must read
// as money, an invalid value expects null, anything else compares as text.
using Expected = QList<std::pair<QString, QVariant>>;

QString mismatches(const Dataset &rows, const Expected &expected)
{
    QStringList wrong;
    for (const auto &[name, want] : expected) {
        const Field field = rows.field(name);
        bool ok = false;
        if (!want.isValid())
            ok = field.isNull();
        else if (want.typeId() == QMetaType::Double)
            ok = field.kind() == ColumnKind::Money && !field.isNull()
                 && field.asMoney() == Money::fromDouble(want.toDouble());
        else
            ok = !field.isNull() && field.asString() == want.toString();
        if (!ok)
            wrong << QStringLiteral("%1 is %2, expected %3")
                         .arg(name, field.isNull() ? QStringLiteral("null") : field.asString(),
                              want.isValid() ? want.toString() : QStringLiteral("null"));
    }
    return wrong.join(QStringLiteral("; "));
}

Query &reopen(Query &query, const QString &parameter, const QVariant &value)
{
    query.close();
    query.setParam(parameter, value);
    query.open();
    return query;
}

QList<qint32> column(Dataset &rows, const QString &name)
{
    QList<qint32> values;
    for (rows.first(); !rows.eof(); rows.next())
        values << rows.field(name).asInteger();
    return values;
}

// The demo station after its first start: registers 1 (nKass 1, ШТРИХ-ФР-К), 2 and 3
// (nKass 3, ПРИМ-08ТК) with their base rows, operators 1 «Белова Светлана Андреевна» and
// 2 «Григорьев Павел Николаевич»; shifts, Z-reports and acts are added by statement.
class Documents
{
public:
    Documents() { station.main->FormActivate(); }

    TfDM &dm() { return *station.dm; }

    // Doubles go in as money.
    qint32 insert(const QString &table, const QVariantHash &values)
    {
        QVariantHash params;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            params.insert(it.key(), it->typeId() == QMetaType::Double
                                        ? QVariant::fromValue(Money::fromDouble(it->toDouble()))
                                        : *it);
        const QStringList columns = values.keys();
        station.run(QStringLiteral("insert into %1 (%2) values (:%3)")
                        .arg(table, columns.join(", "), columns.join(", :")),
                    params);
        return station.scalar("select max(rowid) from " + table).asInteger();
    }

    qint32 addShift(const QString &date, int idOperator = 1)
    {
        return insert("DOVRA", {{"DovraDate", date}, {"DovraNBUKTS", "7001"}, {"idOperator", idOperator}});
    }

    // zdate empty: not dated.
    qint32 addZ(int idKKM, qint32 idDovra, const QString &zdate, QVariantHash figures = {})
    {
        figures.insert("idKKM", idKKM);
        figures.insert("idDOVRA", idDovra);
        if (!zdate.isEmpty())
            figures.insert("ZDate", zdate);
        return insert("ZOTCHET", figures);
    }

    void addAct(qint32 idz, QVariantHash figures)
    {
        figures.insert("idZ", idz);
        insert("zkorr", figures);
    }

    Station station;
};

// The correction-act example: cash sales rung up as card ones and card refunds paid as cash.
const QVariantHash exampleZ = {{"NZ", 125}, {"ZDOC", "0457"}, {"NalProd", 5000.0},
                               {"NalVozvrat", 200.0}, {"KredProd", 3000.0}, {"KredStorno", 100.0},
                               {"VNOS", 500.0}, {"VINOS", 50.0}, {"INKASS", 102000.0},
                               {"SumKass", 1250.0}, {"NarPROD", 108000.0}, {"SumKassReal", 1250.0}};
const QVariantHash exampleAct = {{"NAkt", "3"}, {"nalKakBnal", 100.0}, {"vBnalKakNal", 10.0},
                                 {"korrInkass", 2000.0}, {"korrVinos", 30.0}, {"korrVnos", 40.0}};

} // namespace

class TestDocumentQueries : public QObject
{
    Q_OBJECT

private slots:
    void theStartOpensTheQueriesOfNoZReport()
    {
        Documents d;
        QCOMPARE(d.dm().adoqFILIAL.recordCount(), 1);
        QVERIFY(d.dm().adoqZActive.isOpen() && d.dm().adoqZActive.isEmpty());
        QVERIFY(d.dm().adoqKM7.isOpen() && d.dm().adoqKM7.isEmpty());
        QCOMPARE(d.dm().adoqKM7Sum.recordCount(), 1);
        QCOMPARE(mismatches(d.dm().adoqKM7Sum, {{"sviruchka", {}}, {"sVOZVRAT", {}}}), QString());
    }

    void aZReportWithoutAct()
    {
        Documents d;
        const qint32 idz = d.addZ(1, d.addShift("2018-06-15"), "2018-06-15 20:10:00", exampleZ);
        Query &z = reopen(d.dm().adoqZActive, "idz", idz);
        QCOMPARE(z.recordCount(), 1);
        QCOMPARE(mismatches(z, {{"idZ", idz}, {"NZ", 125}, {"ZDOC", "0457"},
                                {"ZDay", "15.06.2018"}, {"ZTimeEnd", "20:10"},
                                {"NalProd", 5000.0}, {"NalVozvrat", 200.0}, {"KredProd", 3000.0},
                                {"KredStorno", 100.0}, {"VNOS", 500.0}, {"VINOS", 50.0},
                                {"INKASS", 102000.0}, {"SumKass", 1250.0}, {"NarPROD", 108000.0},
                                {"ProdSum", 8000.0}, {"SumProd", 8000.0}, {"SumVozvrat", 300.0},
                                {"NalViruchka", 4800.0}, {"KredViruchka", 2900.0},
                                {"NarPRODpred", 100000.0}, {"NalPrihod", 5300.0},
                                {"NalRashod", 102050.0}, {"nproizv", "00112233"},
                                {"nreg", "1473920"}, {"nKass", 1}, {"KKMNazv", "ШТРИХ-ФР-К"},
                                {"korrInkass", {}}, {"NAkt", {}}, {"nal", 0.0},
                                {"snalkakbnal", 0.0}, {"sbnalkaknal", 0.0}, {"svnalkakbnal", 0.0},
                                {"svbnalkaknal", 0.0}, {"skorrinkass", 0.0}, {"skorrvinos", 0.0},
                                {"skorrvnos", 0.0}, {"srealinkass", 102000.0}, {"srealvinos", 50.0},
                                {"srealvnos", 500.0}, {"dNalViruchka", 0.0}, {"dBNalViruchka", 0.0},
                                {"realNalViruchka", 4800.0}, {"realBNalViruchka", 2900.0},
                                {"realNalPrihod", 5300.0}, {"realNalRashod", 102050.0},
                                {"realsumkass", 1250.0}, {"NalViruchkaRub", 4800.0},
                                {"NalViruchkaCop", 0.0}, {"NalViruchkaNDSKop", 20}}),
                 QString());
        QCOMPARE(z.field("NalViruchkaNDSRub").value(), QVariant(732.0)); // 4800 × 18 / 118 = 732.20

        QVERIFY(reopen(d.dm().adoqKAkt, "idz", idz).isEmpty());
    }

    void theActCorrectsRevenueAndCashMovement()
    {
        Documents d;
        const qint32 idDovra = d.addShift("2018-06-15");
        const qint32 idz = d.addZ(1, idDovra, "2018-06-15 20:10:00", exampleZ);
        d.addAct(idz, exampleAct);

        QCOMPARE(mismatches(reopen(d.dm().adoqZActive, "idz", idz),
                            {{"NAkt", "3"}, {"korrInkass", 2000.0}, {"nal", 0.0},
                             {"snalkakbnal", 100.0}, {"sbnalkaknal", 0.0}, {"svnalkakbnal", 0.0},
                             {"svbnalkaknal", 10.0}, {"skorrinkass", 2000.0}, {"skorrvinos", 30.0},
                             {"skorrvnos", 40.0}, {"NalViruchka", 4800.0},
                             {"dNalViruchka", 110.0}, {"dBNalViruchka", -110.0},
                             {"realNalViruchka", 4910.0}, {"realBNalViruchka", 2790.0},
                             {"srealinkass", 100000.0}, {"srealvinos", 20.0}, {"srealvnos", 460.0},
                             {"realNalPrihod", 5370.0}, {"realNalRashod", 100020.0},
                             {"NalViruchkaRub", 4910.0}, {"NalViruchkaCop", 0.0},
                             {"NalViruchkaNDSKop", 98}}),
                 QString());
        // The VAT is that of the real cash revenue: 4910 × 18 / 118 = 748.98.
        QCOMPARE(d.dm().adoqZActive.field("NalViruchkaNDSRub").asFloat(), 748.0);

        Query &km7 = reopen(d.dm().adoqKM7, "idDovra", idDovra);
        QCOMPARE(km7.recordCount(), 1);
        QCOMPARE(mismatches(km7, {{"rNalKakBnal", 100.0}, {"rBnalKakNal", 0.0}, {"rVNalKakBnal", 0.0},
                                  {"rVBnalKakNal", 10.0}, {"dProd", 100.0}, {"dVozvrat", -10.0},
                                  {"fNalVozvrat", 190.0}, {"fBNalVozvrat", 110.0},
                                  {"fNalViruchka", 4910.0}, {"fBNalViruchka", 2790.0}}),
                 QString());

        Query &act = reopen(d.dm().adoqKAkt, "idz", idz);
        QCOMPARE(act.recordCount(), 1);
        QCOMPARE(mismatches(act, {{"nakt", "3"}, {"nalkakbnal", 100.0}, {"nal", {}}}), QString());
        QCOMPARE(act.field("zdate").asDateTime(), QDateTime(QDate(2018, 6, 15), QTime(20, 10)));
    }

    // The opening balance follows the register's rows by key, the previous shift's end by shift.
    void openingBalanceAndPreviousShiftEnd()
    {
        Documents d;
        const qint32 shiftA = d.addShift("2018-06-14");
        const qint32 shiftB = d.addShift("2018-06-15");
        const qint32 first = d.addZ(1, shiftA, "2018-06-14 20:05:00", {{"SumKassReal", 1000.0}});
        const qint32 typed = d.addZ(2, shiftA, "2018-06-14 21:00:00",
                                    {{"NSsit", 1}, {"SumKassNS", 300.0}, {"SumKassReal", 900.0}});
        const qint32 next = d.addZ(1, shiftB, "2018-06-15 20:10:00", {{"SumKassReal", 1500.0}});
        const qint32 again = d.addZ(1, shiftB, "2018-06-15 22:30:00", {{"SumKassReal", 1700.0}});

        const QList<std::tuple<qint32, QVariant, QVariant>> cases = {
            {first, QVariant(), QVariant()}, // the base row has no closing balance and no time
            {typed, 300.0, QVariant()},
            {next, 1000.0, "20:05"},
            {again, 1500.0, "20:05"},
        };
        for (const auto &[idz, opening, previousEnd] : cases) {
            QCOMPARE(mismatches(reopen(d.dm().adoqZActive, "idz", idz),
                                {{"SumKassPred", opening}, {"ZTIMEPRED", previousEnd}}),
                     QString());
        }
    }

    void shiftTotals()
    {
        Documents d;
        const qint32 shiftA = d.addShift("2018-06-14");
        const qint32 shiftB = d.addShift("2018-06-15");
        d.addZ(1, shiftA, "2018-06-14 20:05:00", {{"NalProd", 9999.0}, {"SumKassReal", 1000.0}});
        const qint32 withAct = d.addZ(1, shiftB, "2018-06-15 20:10:00", exampleZ);
        d.addAct(withAct, {{"nal", 1300.0}, {"nalKakBnal", 100.0}, {"vBnalKakNal", 10.0},
                           {"korrInkass", 2000.0}});
        // A register's first Z-report: no previous balance, and a typed opening is not used here.
        d.addZ(2, shiftB, "2018-06-15 19:45:00",
               {{"NSsit", 1}, {"SumKassNS", 999.0}, {"NalProd", 1000.0}, {"NalVozvrat", 0.0},
                {"KredProd", 500.0}, {"KredStorno", 0.0}, {"VNOS", 0.0}, {"VINOS", 0.0},
                {"INKASS", 800.0}, {"SumKass", 200.0}, {"NarPROD", 50000.0}, {"SumKassReal", 200.0}});

        Query &sum = reopen(d.dm().adoqZsum, "iddovra", shiftB);
        QCOMPARE(sum.recordCount(), 1);
        QCOMPARE(mismatches(sum, {{"ZDay", "15.06.2018"}, {"ZTimeEnd", "19:45"}, {"middovra", shiftB},
                                  {"sNalProd", 6000.0}, {"sNalVozvrat", 200.0}, {"sKredProd", 3500.0},
                                  {"sKredStorno", 100.0}, {"svnos", 500.0}, {"svinos", 50.0},
                                  {"sinkass", 102800.0}, {"ssumkass", 1450.0}, {"sNarPROD", 158000.0},
                                  {"ProdSum", 9500.0}, {"SumProd", 9500.0}, {"SumVozvrat", 300.0},
                                  {"NalViruchka", 5800.0}, {"KredViruchka", 3400.0},
                                  {"NarPRODpred", 148500.0}, {"NalPrihod", 6300.0},
                                  {"NalRashod", 102850.0}, {"SumKassPred", 1000.0}, {"nal", 1300.0},
                                  {"snalkakbnal", 100.0}, {"sbnalkaknal", 0.0}, {"svnalkakbnal", 0.0},
                                  {"svbnalkaknal", 10.0}, {"skorrinkass", 2000.0},
                                  {"skorrvinos", 0.0}, {"skorrvnos", 0.0},
                                  {"srealinkass", 100800.0}, {"srealvinos", 50.0},
                                  {"srealvnos", 500.0}, {"dNalViruchka", 110.0},
                                  {"dBNalViruchka", -110.0}, {"realNalViruchka", 5910.0},
                                  {"realNalPrihod", 6410.0}, {"realNalRashod", 100850.0},
                                  {"realsumkass", 1450.0}}),
                 QString());
        QCOMPARE(sum.field("mZdate").asDateTime(), QDateTime(QDate(2018, 6, 15), QTime(19, 45)));

        const qint32 empty = d.addShift("2018-06-16");
        QCOMPARE(reopen(d.dm().adoqZsum, "iddovra", empty).recordCount(), 1);
        QCOMPARE(mismatches(d.dm().adoqZsum, {{"mZdate", {}}, {"sNalProd", {}}, {"SumKassPred", {}},
                                              {"NarPRODpred", {}}, {"realNalViruchka", {}},
                                              {"realsumkass", {}}}),
                 QString());
    }

    void meterReadingsAndTransfers()
    {
        Documents d;
        const qint32 shift = d.addShift("2018-06-15");
        d.addZ(3, shift, "2018-06-15 20:00:00",
               {{"NZ", 40}, {"ZDOC", "0040"}, {"NalProd", 2000.0}, {"NalVozvrat", 0.0},
                {"KredProd", 1000.0}, {"KredStorno", 50.0}, {"NarPROD", 30000.0}, {"VNOS", 100.0},
                {"VINOS", 0.0}});
        QVariantHash first = exampleZ;
        first.insert("VNOS", 0.0);
        first.insert("VINOS", 150.0);
        d.addAct(d.addZ(1, shift, "2018-06-15 20:10:00", first), exampleAct);
        // A register the station no longer knows counts only in the corrected revenue.
        d.addZ(99, shift, "2018-06-15 20:20:00",
               {{"NalProd", 700.0}, {"KredProd", 300.0}, {"VNOS", 5.0}});

        Query &km7 = reopen(d.dm().adoqKM7, "idDovra", shift);
        QCOMPARE(column(km7, "nz"), (QList<qint32>{125, 40}));
        km7.first();
        QCOMPARE(mismatches(km7, {{"kkmnazv", "ШТРИХ-ФР-К"}, {"nkasskkmnazv", " 1. ШТРИХ-ФР-К"},
                                  {"nproizv", "00112233"}, {"nreg", "1473920"}, {"zdoc", "0457"},
                                  {"narprod", 108000.0}, {"narprodpred", 100000.0},
                                  {"viruchka", 8000.0}, {"VIRUCHKAnal", 5000.0},
                                  {"VIRUCHKAbnal", 3000.0}, {"VOZVRATnal", 200.0},
                                  {"VOZVRATbnal", 100.0}, {"VOZVRAT", 300.0}}),
                 QString());
        km7.next();
        QCOMPARE(mismatches(km7, {{"nkasskkmnazv", " 3. ПРИМ-08ТК"}, {"nproizv", "0807634"},
                                  {"narprodpred", 27000.0}, {"viruchka", 3000.0},
                                  {"VOZVRAT", 50.0}, {"dProd", 0.0}, {"dVozvrat", 0.0},
                                  {"fNalVozvrat", 0.0}, {"fBNalVozvrat", 50.0},
                                  {"fNalViruchka", 2000.0}, {"fBNalViruchka", 950.0}}),
                 QString());

        QCOMPARE(mismatches(reopen(d.dm().adoqKM7Sum, "idDovra", shift),
                            {{"sviruchka", 11000.0}, {"sVIRUCHKAnal", 7000.0},
                             {"sVIRUCHKAbnal", 4000.0}, {"sVOZVRATnal", 200.0},
                             {"sVOZVRATbnal", 150.0}, {"sVOZVRAT", 350.0}}),
                 QString());
        QCOMPARE(mismatches(reopen(d.dm().adoqKM7korr, "idDovra", shift),
                            {{"sfnal", 7610.0}, {"sfbnal", 4040.0}}),
                 QString());

        Query &perenos = reopen(d.dm().adoqPERENOS, "idDovra", shift);
        QCOMPARE(column(perenos, "nz"), (QList<qint32>{125, 40}));
        perenos.first();
        QCOMPARE(mismatches(perenos, {{"nkasskkmnazv", " 1. ШТРИХ-ФР-К"}, {"nreg", "1473920"},
                                      {"zdoc", "0457"}, {"VNOS", 0.0}, {"VINOS", 150.0}}),
                 QString());
        QCOMPARE(mismatches(reopen(d.dm().adoqPERENOSsum, "idDovra", shift),
                            {{"sVNOS", 100.0}, {"sVINOS", 150.0}, {"sRAZNOST", -50.0}}),
                 QString());

        const qint32 empty = d.addShift("2018-06-16");
        QVERIFY(reopen(d.dm().adoqKM7, "idDovra", empty).isEmpty());
        QVERIFY(reopen(d.dm().adoqPERENOS, "idDovra", empty).isEmpty());
        QCOMPARE(mismatches(reopen(d.dm().adoqKM7Sum, "idDovra", empty), {{"sviruchka", {}}}), QString());
        QCOMPARE(mismatches(reopen(d.dm().adoqKM7korr, "idDovra", empty), {{"sfnal", {}}}), QString());
        QCOMPARE(mismatches(reopen(d.dm().adoqPERENOSsum, "idDovra", empty), {{"sRAZNOST", {}}}),
                 QString());
    }

    void vatByTheZReportsDate_data()
    {
        QTest::addColumn<QString>("zdate");
        QTest::addColumn<double>("nalProd");
        QTest::addColumn<double>("nalVozvrat");
        QTest::addColumn<double>("vatRubles");
        QTest::addColumn<int>("vatKopecks");
        QTest::addColumn<double>("rubles");
        QTest::addColumn<double>("kopecks");
        QTest::newRow("18 %, last day") << "2018-12-31 23:59:00" << 1180.0 << 0.0 << 180.0 << 0 << 1180.0 << 0.0;
        QTest::newRow("18 %, 1000.00") << "2018-06-15 20:10:00" << 1000.0 << 0.0 << 152.0 << 54 << 1000.0 << 0.0;
        QTest::newRow("20 %, first day") << "2019-01-01 00:00:00" << 1200.0 << 0.0 << 200.0 << 0 << 1200.0 << 0.0;
        QTest::newRow("20 %, last day") << "2025-12-31 23:59:00" << 1000.0 << 0.0 << 166.0 << 67 << 1000.0 << 0.0;
        QTest::newRow("22 %, first day") << "2026-01-01 00:00:00" << 1220.0 << 0.0 << 220.0 << 0 << 1220.0 << 0.0;
        QTest::newRow("22 %, 1000.00") << "2026-03-01 08:00:00" << 1000.0 << 0.0 << 180.0 << 33 << 1000.0 << 0.0;
        QTest::newRow("undated: today's rate") << "" << 1220.0 << 0.0 << 220.0 << 0 << 1220.0 << 0.0;
        QTest::newRow("kopecks") << "2019-05-05 20:00:00" << 1234.56 << 0.0 << 205.0 << 76 << 1234.0 << 56.0;
        QTest::newRow("half a kopeck") << "2019-05-05 20:00:00" << 0.03 << 0.0 << 0.0 << 1 << 0.0 << 3.0;
        QTest::newRow("refunds above sales") << "2019-05-05 20:00:00" << 0.0 << 1.50 << -1.0 << 75 << -1.0 << -50.0;
    }
    void vatByTheZReportsDate()
    {
        QFETCH(QString, zdate);
        QFETCH(double, nalProd);
        QFETCH(double, nalVozvrat);
        QFETCH(double, vatRubles);
        QFETCH(int, vatKopecks);
        QFETCH(double, rubles);
        QFETCH(double, kopecks);
        Documents d;
        const qint32 idz = d.addZ(1, d.addShift("2019-05-05"), zdate,
                                  {{"NalProd", nalProd}, {"NalVozvrat", nalVozvrat}});
        Query &z = reopen(d.dm().adoqZActive, "idz", idz);
        QCOMPARE(z.field("NalViruchkaNDSRub").value(), QVariant(vatRubles));
        QCOMPARE(z.field("NalViruchkaNDSKop").value(), QVariant(qlonglong(vatKopecks)));
        QCOMPARE(mismatches(z, {{"NalViruchkaRub", rubles}, {"NalViruchkaCop", kopecks}}), QString());
    }

    void stationTexts_data()
    {
        QTest::addColumn<int>("nAZS");
        QTest::addColumn<bool>("onLinux");
        QTest::addColumn<QVariant>("bank");
        QTest::addColumn<QString>("azsn");
        QTest::addColumn<QString>("filialAzs");
        QTest::addColumn<QString>("softName");
        QTest::addColumn<QVariant>("poluchatel");
        QTest::newRow("station 5, DOS")
            << 5 << false << QVariant("Банк") << "АЗС №  5" << "Череповецкий филиал  филиал, АЗС № 5"
            << "Система автоматизации АЗС \"DAR-AR-I\" (DOS)"
            << QVariant("Банк   ч/з   Павлова Татьяна Ивановна");
        QTest::newRow("station 17, Linux, no bank")
            << 17 << true << QVariant() << "АЗС №  17" << "Череповецкий филиал  филиал, АЗС № 17"
            << "Система автоматизации АЗС \"DAR-AR-I\" (LINUX)" << QVariant();
    }
    void stationTexts()
    {
        QFETCH(int, nAZS);
        QFETCH(bool, onLinux);
        QFETCH(QVariant, bank);
        QFETCH(QString, azsn);
        QFETCH(QString, filialAzs);
        QFETCH(QString, softName);
        QFETCH(QVariant, poluchatel);
        Documents d;
        d.station.run("update AZSFILIAL set nAZS = :n, LINUX = :linux, BANK = :bank",
                      {{"n", nAZS}, {"linux", onLinux}, {"bank", bank}});
        Query &filial = d.dm().adoqFILIAL;
        filial.close();
        filial.open();
        QCOMPARE(mismatches(filial, {{"AZSN", azsn}, {"FilialAZS", filialAzs}, {"SoftName", softName},
                                     {"POLUCHATEL", poluchatel},
                                     {"AdrTel", "162608, Вологодская обл., г. Череповец, Северное шоссе, "
                                                "д. 42, тел. (8202) 55-17-40, 55-17-41"}}),
                 QString());
    }

    void operatorNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("parts"); // fam, im, i, ot, o, fio, iof
        QTest::addColumn<int>("probel1");
        QTest::addColumn<int>("probel2");
        QTest::newRow("three words")
            << "Белова Светлана Андреевна"
            << QStringList{"Белова", "Светлана ", "С.", "Андреевна", "А.", "Белова С.А.", "С.А.Белова"}
            << 7 << 16;
        QTest::newRow("four words")
            << "Мамедов Эльдар Рашид оглы"
            << QStringList{"Мамедов", "Эльдар ", "Э.", "Рашид оглы", "Р.", "Мамедов Э.Р.", "Э.Р.Мамедов"}
            << 8 << 15;
        QTest::newRow("two words")
            << "Белова Светлана"
            << QStringList{"Белова", "Светлана", "С.", "", "", "Белова С.", "С.Белова"} << 7 << 0;
        QTest::newRow("one word")
            << "Белова" << QStringList{"Белова", "", "", "", "", "Белова", "Белова"} << 0 << 0;
    }
    void operatorNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, parts);
        QFETCH(int, probel1);
        QFETCH(int, probel2);
        Documents d;
        const qint32 id = d.insert("AZSOPER", {{"OperatorFIO", name}, {"idOperSit", 1}});
        Query &fio = d.dm().adoqFIO;
        fio.close();
        fio.open();
        for (fio.first(); !fio.eof() && fio.field("idoperator").asInteger() != id; fio.next()) {}
        QVERIFY(!fio.eof());
        const QStringList columns{"fam", "im", "i", "ot", "o", "fio", "iof"};
        QStringList actual;
        for (const QString &c : columns)
            actual << fio.field(c).asString();
        QCOMPARE(actual, parts);
        QCOMPARE(fio.field("probel1").asInteger(), probel1);
        QCOMPARE(fio.field("probel2").asInteger(), probel2);
    }

    void journalOfTheLatestFiveZReports()
    {
        Documents d;
        // Entered out of date order; the shift of the 14th had the second operator.
        const QList<std::pair<int, QString>> reports = {
            {10, "2018-06-10"}, {12, "2018-06-12"}, {11, "2018-06-11"},
            {14, "2018-06-14"}, {13, "2018-06-13"}, {15, "2018-06-15"}};
        for (const auto &[nz, day] : reports) {
            const qint32 shift = d.addShift(day, nz == 14 ? 2 : 1);
            d.addZ(1, shift, day + " 20:00:00",
                   {{"NZ", nz}, {"NalProd", 100.0 * nz}, {"NalVozvrat", 1.0}, {"KredProd", 10.0},
                    {"KredStorno", 2.0}, {"NarPROD", 1000.0 * nz}});
        }
        d.addZ(2, d.addShift("2018-06-20"), "2018-06-20 20:00:00", {{"NZ", 1}});
        d.addZ(2, d.addShift("2018-06-21"), "2018-06-21 20:00:00", {{"NZ", 2}});

        Query &journal = reopen(d.dm().adoqZKM4, "idkkm", 1);
        QCOMPARE(column(journal, "NZ"), (QList<qint32>{11, 12, 13, 14, 15}));
        QCOMPARE(column(journal, "idoperator"), (QList<qint32>{1, 1, 1, 2, 1}));
        QCOMPARE(column(journal, "idOper"), (QList<qint32>{1, 1, 1, 2, 1}));
        journal.moveTo(3);
        QCOMPARE(mismatches(journal, {{"ZDay", "14.06.2018"}, {"OperFIO", "Григорьев П.Н."},
                                      {"NalProd", 1400.0}, {"NalVozvrat", 1.0}, {"KredProd", 10.0},
                                      {"KredStorno", 2.0}, {"NarPROD", 14000.0}, {"SumProd", 1410.0},
                                      {"SumVozvrat", 3.0}, {"NarPRODpred", 12590.0}}),
                 QString());
        QCOMPARE(journal.field("zdate").asDateTime(), QDateTime(QDate(2018, 6, 14), QTime(20, 0)));
        journal.first();
        QCOMPARE(journal.field("OperFIO").asString(), QString("Белова С.А."));

        // A register with two Z-reports besides its base row lists the two.
        QCOMPARE(column(reopen(d.dm().adoqZKM4, "idkkm", 2), "NZ"), (QList<qint32>{1, 2}));
        QVERIFY(reopen(d.dm().adoqZKM4, "idkkm", 3).isEmpty());
    }
};

QTEST_MAIN(TestDocumentQueries)
#include "tst_documentqueries.moc"
