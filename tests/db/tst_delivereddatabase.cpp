#include "db/delivereddatabase.h"
#include "platform/data/errors.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ColumnSpec
{
    const char *table;
    const char *column;
    const char *declaredType;
    bool key;
};

// Every table and column of the file as delivered, in table order.
const ColumnSpec deliveredColumns[] = {
    {"AZSFILIAL", "nAZS", "SMALLINT", false},
    {"AZSFILIAL", "nazvRBE", "VARCHAR(31)", false},
    {"AZSFILIAL", "adresRBE", "VARCHAR(127)", false},
    {"AZSFILIAL", "telRBE", "VARCHAR(63)", false},
    {"AZSFILIAL", "OKPO", "VARCHAR(8)", false},
    {"AZSFILIAL", "INN", "VARCHAR(10)", false},
    {"AZSFILIAL", "OKDP", "VARCHAR(7)", false},
    {"AZSFILIAL", "DIREKTOR", "VARCHAR(63)", false},
    {"AZSFILIAL", "FILIAL", "VARCHAR(31)", false},
    {"AZSFILIAL", "RUKDOLJN", "VARCHAR(63)", false},
    {"AZSFILIAL", "RUKFIO", "VARCHAR(63)", false},
    {"AZSFILIAL", "GLBUHDOLJN", "VARCHAR(63)", false},
    {"AZSFILIAL", "GLBUHFIO", "VARCHAR(63)", false},
    {"AZSFILIAL", "UPRAVDOLJN", "VARCHAR(63)", false},
    {"AZSFILIAL", "UPRAVFIO", "VARCHAR(63)", false},
    {"AZSFILIAL", "BUHGALTER", "VARCHAR(63)", false},
    {"AZSFILIAL", "LINUX", "YESNO", false},
    {"AZSFILIAL", "BANK", "VARCHAR(100)", false},
    {"AZSFILIAL", "RSchet", "VARCHAR(25)", false},
    {"AZSFILIAL", "KSchet", "VARCHAR(25)", false},
    {"AZSFILIAL", "BIK", "VARCHAR(10)", false},
    {"KKM", "idKKM", "INTEGER", true},
    {"KKM", "NPROIZV", "VARCHAR(15)", false},
    {"KKM", "NREG", "VARCHAR(15)", false},
    {"KKM", "nKass", "TINYINT", false},
    {"KKM", "idKKMNazv", "TINYINT", false},
    {"KKM", "idKKMSost", "TINYINT", false},
    {"KKM", "idKKMizmSost", "INTEGER", false},
    {"KKMnazv", "idKKMNazv", "INTEGER", true},
    {"KKMnazv", "KKMnazv", "VARCHAR(63)", false},
    {"KKMSost", "idKKMSost", "TINYINT", true},
    {"KKMSost", "KKMSost", "VARCHAR(127)", false},
    {"AZSOPER", "idOperator", "INTEGER", true},
    {"AZSOPER", "OperatorFIO", "VARCHAR(63)", false},
    {"AZSOPER", "idOperSit", "TINYINT", false},
    {"AZSOPERSIT", "idOperSit", "TINYINT", true},
    {"AZSOPERSIT", "OperSit", "VARCHAR(255)", false},
    {"DOVRA", "DovraDate", "DATETIME", false},
    {"DOVRA", "idDOVRA", "INTEGER", true},
    {"DOVRA", "DovraNBUKTS", "VARCHAR(10)", false},
    {"DOVRA", "idOperator", "INTEGER", false},
    {"DOVRA", "smSIT", "VARCHAR(255)", false},
    {"DOVRA", "smLocked", "YESNO", false},
    {"DOVRA", "idOperator2", "INTEGER", false},
    {"DOVRA", "kkass", "INTEGER", false},
    {"DOVRASIT", "DOVRASIT", "VARCHAR(6)", false},
    {"DOVRASIT", "DOVRASITDISCR", "VARCHAR(255)", false},
    {"ZOTCHET", "idZ", "INTEGER", true},
    {"ZOTCHET", "idKKM", "INTEGER", false},
    {"ZOTCHET", "idDOVRA", "INTEGER", false},
    {"ZOTCHET", "NZ", "INTEGER", false},
    {"ZOTCHET", "idZSit", "TINYINT", false},
    {"ZOTCHET", "ZDOC", "VARCHAR(15)", false},
    {"ZOTCHET", "ZDate", "DATETIME", false},
    {"ZOTCHET", "NalProd", "CURRENCY", false},
    {"ZOTCHET", "NalVozvrat", "CURRENCY", false},
    {"ZOTCHET", "KredProd", "CURRENCY", false},
    {"ZOTCHET", "KredStorno", "CURRENCY", false},
    {"ZOTCHET", "VNOS", "CURRENCY", false},
    {"ZOTCHET", "VINOS", "CURRENCY", false},
    {"ZOTCHET", "INKASS", "CURRENCY", false},
    {"ZOTCHET", "SumKass", "CURRENCY", false},
    {"ZOTCHET", "NarPROD", "CURRENCY", false},
    {"ZOTCHET", "NSsit", "YESNO", false},
    {"ZOTCHET", "SumKassNS", "CURRENCY", false},
    {"ZOTCHET", "NARPRODNS", "CURRENCY", false},
    {"ZSIT", "idZSit", "TINYINT", true},
    {"ZSIT", "DescrSit", "VARCHAR(127)", false},
    {"Inkass", "idInkass", "INTEGER", true},
    {"Inkass", "idDOVRA", "INTEGER", false},
    {"Inkass", "InkassDate", "DATETIME", false},
    {"InkassKvit", "idInkassKvit", "INTEGER", true},
    {"InkassKvit", "idInkass", "INTEGER", false},
    {"InkassKvit", "SumkaN", "VARCHAR(15)", false},
    {"InkassKvit", "SUMMA", "CURRENCY", false},
    {"InkassKvit", "KRub5000", "VARCHAR(255)", false},
    {"InkassKvit", "KRub2000", "VARCHAR(255)", false},
    {"InkassKvit", "KRub1000", "VARCHAR(255)", false},
    {"InkassKvit", "KRub500", "VARCHAR(255)", false},
    {"InkassKvit", "KRub200", "VARCHAR(255)", false},
    {"InkassKvit", "KRub100", "VARCHAR(255)", false},
    {"InkassKvit", "KRub50", "VARCHAR(255)", false},
    {"InkassKvit", "KRub10", "VARCHAR(255)", false},
    {"VOZVRAT", "idVozvrat", "INTEGER", true},
    {"VOZVRAT", "idz", "INTEGER", false},
    {"VOZVRAT", "nalbnal", "YESNO", false},
    {"VOZVRAT", "NVCheka", "VARCHAR(255)", false},
    {"VOZVRAT", "SVCheka", "CURRENCY", false},
    {"xVozvrat", "idVozvrat", "INTEGER", false},
    {"xVozvrat", "NVCheka", "VARCHAR(10)", false},
    {"xVozvrat", "SVCheka", "CURRENCY", false},
    {"xVozvrat", "NStroki", "SMALLINT", false},
    {"xxxBnkCalc", "idNominal", "TINYINT", true},
    {"xxxBnkCalc", "Nominal", "INTEGER", false},
    {"xxxBnkCalc", "NominalStr", "VARCHAR(255)", false},
    {"xxxBnkCalc", "NominalNumber", "INTEGER", false},
    {"xxxBnkCalc", "NominalSumma", "INTEGER", false},
    {"xxx", "idx", "INTEGER", false},
    {"xxx", "x", "VARCHAR(255)", false},
    {"xx", "x", "VARCHAR(255)", false},
    {"param", "parname", "VARCHAR(255)", false},
    {"param", "valnumber", "INTEGER", false},
};

struct TableColumn
{
    QString name;
    QString declaredType;
    bool key;
};

QSqlQuery run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query;
}

QVariantList values(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query = run(db, sql);
    QVariantList result;
    while (query.next())
        result.append(query.value(0));
    return result;
}

QVariant value(const QSqlDatabase &db, const QString &sql)
{
    const QVariantList all = values(db, sql);
    return all.isEmpty() ? QVariant() : all.first();
}

QList<TableColumn> tableColumns(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query = run(db, QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    QList<TableColumn> columns;
    while (query.next()) {
        columns.append({query.value("name").toString(), query.value("type").toString(),
                        query.value("pk").toInt() > 0});
    }
    return columns;
}

QStringList columnNames(const QSqlDatabase &db, const QString &table)
{
    QStringList names;
    for (const TableColumn &column : tableColumns(db, table))
        names.append(column.name);
    return names;
}

QStringList tableNames(const QSqlDatabase &db)
{
    QStringList names;
    for (const QVariant &name : values(db, QStringLiteral(
             "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'"))) {
        names.append(name.toString());
    }
    return names;
}

QMap<QString, QStringList> expectedColumnsByTable()
{
    QMap<QString, QStringList> tables;
    for (const ColumnSpec &spec : deliveredColumns)
        tables[QString::fromLatin1(spec.table)].append(QString::fromLatin1(spec.column));
    return tables;
}

QSqlDatabase openDatabase(const QString &path, const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    if (!db.open())
        qFatal("cannot open %s", qPrintable(path));
    return db;
}

} // namespace

class TestDeliveredDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void columnTypes_data();
    void columnTypes();
    void tablesHoldExactlyTheseColumns();
    void isAtSchemaVersionZero();
    void autoincrementKeysAreNeverReused_data();
    void autoincrementKeysAreNeverReused();
    void shiftStatementsSearchAnIndex_data();
    void shiftStatementsSearchAnIndex();

    void operatorStates();
    void registerShiftAndReportStates();
    void banknoteCalculatorRowsMatchCountColumns();
    void blankLineTables();
    void deliveredFileHasNoStationYet();
    void noRealValueInAnyRow_data();
    void noRealValueInAnyRow();
    void textsFitTheirColumns_data();
    void textsFitTheirColumns();

    void demoRegisters();
    void demoOperators();
    void demoRequisites();

    void refusesAnExistingFile();
    void failedBuildLeavesNoFile_data();
    void failedBuildLeavesNoFile();
    void makedbTool();

private:
    QTemporaryDir m_dir;
    QSqlDatabase m_plain;
    QSqlDatabase m_demo;
};

void TestDeliveredDatabase::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("plain")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("demo")));
    m_plain = openDatabase(freshDatabase(m_dir.filePath(QStringLiteral("plain")), false),
                           QStringLiteral("plain"));
    m_demo = openDatabase(freshDatabase(m_dir.filePath(QStringLiteral("demo")), true),
                          QStringLiteral("demo"));
}

void TestDeliveredDatabase::cleanupTestCase()
{
    m_plain.close();
    m_demo.close();
    m_plain = m_demo = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    QSqlDatabase::removeDatabase(QStringLiteral("demo"));
}

void TestDeliveredDatabase::columnTypes_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("declaredType");
    QTest::addColumn<bool>("key");
    for (const ColumnSpec &spec : deliveredColumns) {
        QTest::addRow("%s.%s", spec.table, spec.column)
            << QString::fromLatin1(spec.table) << QString::fromLatin1(spec.column)
            << QString::fromLatin1(spec.declaredType) << spec.key;
    }
}

void TestDeliveredDatabase::columnTypes()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, declaredType);
    QFETCH(bool, key);

    const QList<TableColumn> columns = tableColumns(m_plain, table);
    const auto found = std::find_if(columns.cbegin(), columns.cend(),
                                    [&](const TableColumn &c) { return c.name == column; });
    QVERIFY2(found != columns.cend(), qPrintable(table + "." + column + " is missing"));
    QCOMPARE(found->declaredType, declaredType);
    QCOMPARE(found->key, key);
}

void TestDeliveredDatabase::tablesHoldExactlyTheseColumns()
{
    const QMap<QString, QStringList> expected = expectedColumnsByTable();
    QStringList tables = tableNames(m_plain);
    tables.sort();
    QStringList expectedTables = expected.keys();
    expectedTables.sort();
    QCOMPARE(tables, expectedTables);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(columnNames(m_plain, it.key()), it.value());
}

void TestDeliveredDatabase::isAtSchemaVersionZero()
{
    for (const QSqlDatabase &db : {m_plain, m_demo}) {
        const QStringList tables = tableNames(db);
        QVERIFY(!tables.contains(QStringLiteral("db_version"), Qt::CaseInsensitive));
        QVERIFY(!tables.contains(QStringLiteral("zkorr"), Qt::CaseInsensitive));
        QVERIFY(!columnNames(db, QStringLiteral("ZOTCHET"))
                     .contains(QStringLiteral("SumKassReal"), Qt::CaseInsensitive));
    }
}

void TestDeliveredDatabase::autoincrementKeysAreNeverReused_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::newRow("KKM") << "KKM" << "idKKM";
    QTest::newRow("AZSOPER") << "AZSOPER" << "idOperator";
    QTest::newRow("DOVRA") << "DOVRA" << "idDOVRA";
    QTest::newRow("ZOTCHET") << "ZOTCHET" << "idZ";
    QTest::newRow("Inkass") << "Inkass" << "idInkass";
    QTest::newRow("InkassKvit") << "InkassKvit" << "idInkassKvit";
    QTest::newRow("VOZVRAT") << "VOZVRAT" << "idVozvrat";
}

// Rows of shifts and Z-reports are ordered by key: a deleted last row must not hand its key
// to the next one.
void TestDeliveredDatabase::autoincrementKeysAreNeverReused()
{
    QFETCH(QString, table);
    QFETCH(QString, key);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSqlDatabase db = openDatabase(freshDatabase(dir.path()), QStringLiteral("keys"));
    const QString insert = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
    const QString lastKey = QStringLiteral("SELECT max(%1) FROM %2").arg(key, table);

    run(db, insert);
    const qint64 first = value(db, lastKey).toLongLong();
    QVERIFY(first > 0);
    run(db, QStringLiteral("DELETE FROM %1 WHERE %2 = %3").arg(table, key).arg(first));
    run(db, insert);
    QVERIFY(value(db, lastKey).toLongLong() > first);

    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("keys"));
}

void TestDeliveredDatabase::shiftStatementsSearchAnIndex_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("previous Z-report")
        << "SELECT sumkass FROM zotchet WHERE idz = (SELECT max(idz) FROM zotchet "
           "WHERE idz < 5000 AND idkkm = 2)";
    QTest::newRow("latest Z-report per register")
        << "SELECT KKM.nKass, iddovra, kkm.idkkm, idz, NPROIZV FROM KKM INNER JOIN ZOTCHET "
           "ON KKM.idKKM = ZOTCHET.idKKM WHERE kkm.idkkmSost = 1 AND idz = (SELECT max(idz) "
           "FROM ZOTCHET AS z WHERE z.idkkm = kkm.idkkm) ORDER BY kkm.nkass";
    QTest::newRow("base row check")
        << "SELECT kkm.idkkm FROM kkm WHERE 0 = (SELECT count(*) FROM zotchet "
           "WHERE idkkm = kkm.idkkm AND idzsit = 2)";
    QTest::newRow("register's Z-report of a shift")
        << "SELECT idZ FROM ZOTCHET WHERE idDovra = 7 AND idKKM = 2 ORDER BY idZ";
    QTest::newRow("Z-reports of a shift") << "SELECT e.idz FROM zotchet e WHERE iddovra = 7";
    QTest::newRow("encashment of a shift")
        << "SELECT dovradate, inkassdate, idinkass FROM dovra INNER JOIN inkass "
           "ON inkass.iddovra = dovra.iddovra WHERE dovra.iddovra = 7";
    QTest::newRow("bags of an encashment")
        << "SELECT idinkasskvit FROM inkasskvit WHERE idinkass = 7 ORDER BY idinkasskvit";
    QTest::newRow("refunds of a Z-report")
        << "SELECT NVCheka, SVCheka FROM Vozvrat WHERE vozvrat.idz = 7 AND nalbnal = 1";
}

// The tables that grow with every shift are reached by search, never read whole.
void TestDeliveredDatabase::shiftStatementsSearchAnIndex()
{
    QFETCH(QString, statement);
    static const QRegularExpression fullScan(
        QStringLiteral("^SCAN (zotchet|e|z|inkass|inkasskvit|vozvrat)\\b"),
        QRegularExpression::CaseInsensitiveOption);

    QSqlQuery plan = run(m_plain, QStringLiteral("EXPLAIN QUERY PLAN ") + statement);
    int steps = 0;
    while (plan.next()) {
        const QString detail = plan.value("detail").toString();
        QVERIFY2(!fullScan.match(detail).hasMatch(), qPrintable(detail));
        ++steps;
    }
    QVERIFY(steps > 0);
}

void TestDeliveredDatabase::operatorStates()
{
    QSqlQuery query = run(m_plain, QStringLiteral(
        "SELECT idOperSit, OperSit FROM AZSOPERSIT ORDER BY idOperSit"));
    const QList<QPair<int, QString>> expected{
        {1, QStringLiteral("Работает")},
        {2, QStringLiteral("Декрет (Отпуск)")},
        {3, QStringLiteral("Уволен(а)")},
    };
    QList<QPair<int, QString>> actual;
    while (query.next())
        actual.append({query.value(0).toInt(), query.value(1).toString()});
    QCOMPARE(actual, expected);
}

void TestDeliveredDatabase::registerShiftAndReportStates()
{
    QCOMPARE(value(m_plain, QStringLiteral("SELECT count(*) FROM KKMSost WHERE idKKMSost = 1 "
                                           "AND KKMSost <> ''")).toInt(), 1);
    QCOMPARE(values(m_plain, QStringLiteral("SELECT idZSit FROM ZSIT WHERE DescrSit <> '' "
                                            "ORDER BY idZSit")),
             QVariantList({1, 2}));
    const QString namedShiftStates = QStringLiteral(
        "SELECT count(*) FROM DOVRASIT WHERE DOVRASIT <> '' AND DOVRASITDISCR <> ''");
    QVERIFY(value(m_plain, namedShiftStates).toInt() >= 2);
}

void TestDeliveredDatabase::banknoteCalculatorRowsMatchCountColumns()
{
    QSqlQuery query = run(m_plain, QStringLiteral(
        "SELECT idNominal, Nominal, NominalStr, NominalNumber, NominalSumma FROM xxxBnkCalc"));
    const QList<int> denominations{5000, 2000, 1000, 500, 200, 100, 50, 10};
    QStringList countColumns;
    for (int i = 0; i < denominations.size(); ++i) {
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), i + 1);
        QCOMPARE(query.value(1).toInt(), denominations.at(i));
        QCOMPARE(query.value(2).toString(), QString());
        QVERIFY(!query.value(2).isNull());
        QCOMPARE(query.value(3).toInt(), 0);
        QCOMPARE(query.value(4).toInt(), 0);
        countColumns.append(QStringLiteral("KRub") + query.value(1).toString());
    }
    QVERIFY(!query.next());

    const QStringList bagColumns = columnNames(m_plain, QStringLiteral("InkassKvit"));
    QCOMPARE(bagColumns.filter(QRegularExpression(QStringLiteral("^KRub"))), countColumns);
}

void TestDeliveredDatabase::blankLineTables()
{
    QVariantList lineNumbers;
    for (int idx = 1; idx <= 40; ++idx)
        lineNumbers.append(idx);
    QCOMPARE(values(m_plain, QStringLiteral("SELECT idx FROM xxx")), lineNumbers);
    QCOMPARE(value(m_plain, QStringLiteral("SELECT count(*) FROM xx")).toInt(), 40);
    for (const QString &table : {QStringLiteral("xxx"), QStringLiteral("xx")}) {
        QCOMPARE(value(m_plain, QStringLiteral("SELECT count(*) FROM %1 WHERE x IS NULL OR x <> ''")
                                    .arg(table)).toInt(), 0);
    }
}

void TestDeliveredDatabase::deliveredFileHasNoStationYet()
{
    QCOMPARE(value(m_plain, QStringLiteral("SELECT valnumber FROM param WHERE parname = 'nkass'")),
             QVariant(1));
    QCOMPARE(value(m_plain, QStringLiteral("SELECT count(*) FROM param")).toInt(), 1);

    QSqlQuery requisites = run(m_plain, QStringLiteral("SELECT * FROM AZSFILIAL"));
    QVERIFY(requisites.next());
    const QSqlRecord row = requisites.record();
    for (int i = 0; i < row.count(); ++i) {
        const QString name = row.fieldName(i);
        const QVariant expected = name == u"nAZS" ? QVariant(1)
                                  : name == u"LINUX" ? QVariant(0)
                                                     : QVariant(QString());
        QVERIFY2(!row.value(i).isNull(), qPrintable(name));
        QCOMPARE(row.value(i), expected);
    }
    QVERIFY(!requisites.next());

    for (const char *table : {"KKM", "KKMnazv", "AZSOPER", "DOVRA", "ZOTCHET", "Inkass",
                              "InkassKvit", "VOZVRAT", "xVozvrat"}) {
        QCOMPARE(value(m_plain, QStringLiteral("SELECT count(*) FROM %1")
                                    .arg(QLatin1String(table))).toInt(), 0);
    }
}

void TestDeliveredDatabase::noRealValueInAnyRow_data()
{
    QTest::addColumn<bool>("withDemo");
    QTest::newRow("delivered") << false;
    QTest::newRow("demo") << true;
}

// Money and counts are exact integers; a stray 1.11 or 0.0 would be stored as a REAL.
void TestDeliveredDatabase::noRealValueInAnyRow()
{
    QFETCH(bool, withDemo);
    const QSqlDatabase db = withDemo ? m_demo : m_plain;
    for (const ColumnSpec &spec : deliveredColumns) {
        const QString realsInColumn =
            QStringLiteral("SELECT count(*) FROM %1 WHERE typeof(%2) = 'real'")
                .arg(QLatin1String(spec.table), QLatin1String(spec.column));
        const int reals = value(db, realsInColumn).toInt();
        QVERIFY2(reals == 0, qPrintable(QStringLiteral("%1.%2").arg(spec.table, spec.column)));
    }
}

void TestDeliveredDatabase::textsFitTheirColumns_data()
{
    noRealValueInAnyRow_data();
}

void TestDeliveredDatabase::textsFitTheirColumns()
{
    QFETCH(bool, withDemo);
    const QSqlDatabase db = withDemo ? m_demo : m_plain;
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
    for (const ColumnSpec &spec : deliveredColumns) {
        const QRegularExpressionMatch match = varchar.match(QLatin1String(spec.declaredType));
        if (!match.hasMatch())
            continue;
        const QVariant longest = value(db, QStringLiteral("SELECT max(length(%2)) FROM %1")
                                               .arg(QLatin1String(spec.table),
                                                    QLatin1String(spec.column)));
        QVERIFY2(longest.toInt() <= match.captured(1).toInt(),
                 qPrintable(QStringLiteral("%1.%2").arg(spec.table, spec.column)));
    }
}

void TestDeliveredDatabase::demoRegisters()
{
    const QString activeRegisterNumbers = QStringLiteral(
        "SELECT nKass FROM KKM WHERE idKKMSost = 1 ORDER BY nKass");
    QCOMPARE(values(m_demo, activeRegisterNumbers), QVariantList({1, 2, 3}));
    QCOMPARE(value(m_demo, QStringLiteral("SELECT count(*) FROM KKM")).toInt(), 3);
    QCOMPARE(value(m_demo, QStringLiteral("SELECT count(*) FROM KKM k JOIN KKMnazv n "
                                          "ON n.idKKMNazv = k.idKKMNazv "
                                          "WHERE n.KKMnazv <> '' AND k.NPROIZV <> '' "
                                          "AND k.NREG <> ''")).toInt(),
             3);
    QCOMPARE(value(m_demo, QStringLiteral("SELECT valnumber FROM param WHERE parname = 'nkass'")),
             QVariant(3));
    QCOMPARE(value(m_demo, QStringLiteral("SELECT count(*) FROM DOVRA")).toInt(), 0);
    QCOMPARE(value(m_demo, QStringLiteral("SELECT count(*) FROM ZOTCHET")).toInt(), 0);
}

void TestDeliveredDatabase::demoOperators()
{
    static const QRegularExpression threeWords(QStringLiteral("^\\S+ \\S+ \\S+$"));
    QSqlQuery query = run(m_demo, QStringLiteral("SELECT OperatorFIO, idOperSit FROM AZSOPER"));
    int operators = 0;
    int dismissed = 0;
    while (query.next()) {
        ++operators;
        QVERIFY2(threeWords.match(query.value(0).toString()).hasMatch(),
                 qPrintable(query.value(0).toString()));
        const int state = query.value(1).toInt();
        QVERIFY(state == 1 || state == 3);
        dismissed += state == 3 ? 1 : 0;
    }
    QCOMPARE(operators, 4);
    QCOMPARE(dismissed, 1);
}

void TestDeliveredDatabase::demoRequisites()
{
    QSqlQuery query = run(m_demo, QStringLiteral("SELECT * FROM AZSFILIAL"));
    QVERIFY(query.next());
    QCOMPARE(query.value("nAZS"), QVariant(17));
    const QList<QPair<const char *, int>> digitCodes{
        {"OKPO", 8}, {"INN", 10}, {"OKDP", 7}, {"BIK", 9}, {"RSchet", 20}, {"KSchet", 20}};
    for (const auto &[column, digits] : digitCodes) {
        const QString code = query.value(QLatin1String(column)).toString();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{%1}$").arg(digits)).match(code).hasMatch(),
                 column);
    }
    static const QRegularExpression threeWords(QStringLiteral("^\\S+ \\S+ \\S+$"));
    for (const char *column : {"DIREKTOR", "RUKFIO", "GLBUHFIO", "UPRAVFIO", "BUHGALTER"}) {
        QVERIFY2(threeWords.match(query.value(QLatin1String(column)).toString()).hasMatch(),
                 column);
    }
    for (const char *column : {"nazvRBE", "adresRBE", "telRBE", "FILIAL", "RUKDOLJN",
                               "GLBUHDOLJN", "UPRAVDOLJN", "BANK"}) {
        QVERIFY2(!query.value(QLatin1String(column)).toString().isEmpty(), column);
    }
    QVERIFY(!query.next());
}

void TestDeliveredDatabase::refusesAnExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("AZSVELMORAN.mdb"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("a station's shifts");
    existing.close();

    QVERIFY_THROWS_EXCEPTION(DbError, createDeliveredDatabase(path, true));

    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("a station's shifts"));
}

void TestDeliveredDatabase::failedBuildLeavesNoFile_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QByteArrayList>("scripts");
    const QByteArray table = "CREATE TABLE t (x INTEGER); INSERT INTO t VALUES (1);";
    QTest::newRow("failing statement after good ones")
        << "AZSVELMORAN.mdb" << QByteArrayList{table, "INSERT INTO nowhere VALUES (1);"};
    QTest::newRow("syntax error") << "AZSVELMORAN.mdb" << QByteArrayList{"CREATE TABLE (;"};
    QTest::newRow("missing folder") << "missing/AZSVELMORAN.mdb" << QByteArrayList{table};
}

void TestDeliveredDatabase::failedBuildLeavesNoFile()
{
    QFETCH(QString, relativePath);
    QFETCH(QByteArrayList, scripts);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(relativePath);

    QVERIFY_THROWS_EXCEPTION(DbError, createDatabaseFromScripts(path, scripts));

    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestDeliveredDatabase::makedbTool()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("AZSVELMORAN.mdb"));
    const auto runTool = [](const QStringList &arguments) {
        QProcess tool;
        tool.start(QStringLiteral(MAKEDB_EXECUTABLE), arguments);
        if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
            return std::make_pair(-1, QString());
        return std::make_pair(tool.exitCode(), QString::fromUtf8(tool.readAllStandardError()));
    };

    QCOMPARE(runTool({path, QStringLiteral("--demo")}).first, 0);
    {
        QSqlDatabase db = openDatabase(path, QStringLiteral("tool"));
        QCOMPARE(value(db, QStringLiteral("SELECT count(*) FROM KKM")).toInt(), 3);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tool"));

    const auto [exitCode, message] = runTool({path});
    QCOMPARE(exitCode, 1);
    QVERIFY2(message.contains(QStringLiteral("существует")), qPrintable(message));

    QCOMPARE(runTool({}).first, 1);
    QCOMPARE(runTool({dir.filePath(QStringLiteral("missing/AZSVELMORAN.mdb"))}).first, 1);
}

QTEST_GUILESS_MAIN(TestDeliveredDatabase)
#include "tst_delivereddatabase.moc"
