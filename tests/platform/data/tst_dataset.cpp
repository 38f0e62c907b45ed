#include "platform/data/connection.h"
#include "platform/data/connectionstring.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/data/query.h"
#include "platform/data/table.h"
#include "support/hostiletexts.h"
#include "support/writelock.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {

// A small database in the shape the program's tables have: keys, money, dates, yes/no.
void createFile(const QString &path)
{
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const char *script =
        "CREATE TABLE oper (idOperator INTEGER PRIMARY KEY AUTOINCREMENT, OperatorFIO VARCHAR(63));"
        "CREATE TABLE shift (idShift INTEGER PRIMARY KEY AUTOINCREMENT, ShiftDate DATETIME,"
        " Num VARCHAR(10), idOperator INTEGER, Locked YESNO NOT NULL DEFAULT 0, Cash CURRENCY);"
        "INSERT INTO oper (OperatorFIO) VALUES ('Иванова Мария Петровна'), ('Петров Олег Ильич');";
    QCOMPARE(sqlite3_exec(db, script, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QString connectionStringFor(const QString &path)
{
    return QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path);
}

} // namespace

class TestDataset : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    Connection *m_connection = nullptr;

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("t%1.db").arg(QTest::currentTestFunction()));
        QFile::remove(m_path);
        createFile(m_path);
        m_connection = new Connection(QStringLiteral("test"));
        m_connection->open(connectionStringFor(m_path));
    }
    void cleanup()
    {
        delete m_connection;
        m_connection = nullptr;
    }

    void connectionStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dataSource");
        QTest::newRow("plain") << "Provider=SQLite;Data Source=/a/b.mdb;" << "/a/b.mdb";
        QTest::newRow("any case, blanks, quotes")
            << " provider = sqlite ; DATA SOURCE = \"/x y/z.mdb\" ;Persist Security Info=False" << "/x y/z.mdb";
        QTest::newRow("default NO") << "NO" << QString();
        QTest::newRow("the old provider") << "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb;" << QString();
        QTest::newRow("no file") << "Provider=SQLite;" << QString();
    }
    void connectionStrings()
    {
        QFETCH(QString, text);
        QFETCH(QString, dataSource);
        if (dataSource.isEmpty())
            QVERIFY_THROWS_EXCEPTION(DbError, ConnectionString::parse(text));
        else
            QCOMPARE(ConnectionString::parse(text).dataSource, dataSource);
    }

    void placeholderInAnyCase()
    {
        QCOMPARE(substitutePlaceholder("Data Source=$(FILENAME);x=$(filename);y=$(FileName)",
                                       "$(FILENAME)", "/d/f"),
                 QStringLiteral("Data Source=/d/f;x=/d/f;y=/d/f"));
        QCOMPARE(substitutePlaceholder("a=$(FILENAME)", "$(FILENAME)", "$(FILENAME)x"),
                 QStringLiteral("a=$(FILENAME)x"));
        QCOMPARE(substitutePlaceholder("a=b", "", ""), QStringLiteral("a=b"));
        QCOMPARE(substitutePlaceholder("", "", "x"), QString());
    }

    void openingNeverCreatesAFile()
    {
        Connection connection(QStringLiteral("missing"));
        const QString missing = m_dir.filePath(QStringLiteral("absent.mdb"));
        QVERIFY_THROWS_EXCEPTION(DbError, connection.open(connectionStringFor(missing)));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!connection.isOpen());
    }

    void aFileThatIsNoDatabaseIsRefused()
    {
        const QString junk = m_dir.filePath(QStringLiteral("junk.mdb"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        Connection connection(QStringLiteral("junk"));
        QVERIFY_THROWS_EXCEPTION(DbError, connection.open(connectionStringFor(junk)));
        QCOMPARE(QFileInfo(junk).size(), 4096);
    }

    // A store that returned is on the disk: write-ahead log, synced at every commit.
    void journalIsWalSyncedAtEveryCommit()
    {
        Query query(m_connection);
        query.setSql(QStringLiteral("PRAGMA journal_mode"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("journal_mode")).asString(), QStringLiteral("wal"));
        query.setSql(QStringLiteral("PRAGMA synchronous"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("synchronous")).asInteger(), 2); // FULL
    }

    void parametersAreBoundByName()
    {
        Query insert(m_connection);
        insert.setSql(QStringList{"INSERT INTO shift (Num, idOperator, Cash, ShiftDate, Locked)",
                                  "VALUES (:num, :op, :cash, :d, :locked)"});
        insert.setParam(QStringLiteral(":num"), QStringLiteral("x'); DROP TABLE shift; --"));
        insert.setParam(QStringLiteral("OP"), 2);
        insert.setParam(QStringLiteral("cash"), QVariant::fromValue(Money::fromDouble(1234567.89)));
        insert.setParam(QStringLiteral("d"), QDate(2026, 12, 10));
        insert.setParam(QStringLiteral("locked"), true);
        QCOMPARE(insert.execSql(), 1);

        Query select(m_connection);
        // The same name twice, a colon inside a literal left alone, an unset name bound as null.
        select.setSql(QStringLiteral("SELECT Num, Cash, ShiftDate, Locked, ':op' AS lit, :missing AS m "
                                     "FROM shift WHERE idOperator = :op AND :op = 2"));
        select.setParam(QStringLiteral("op"), 2);
        select.open();
        QCOMPARE(select.recordCount(), 1);
        QCOMPARE(select.field(QStringLiteral("num")).asString(), QStringLiteral("x'); DROP TABLE shift; --"));
        QCOMPARE(select.field(QStringLiteral("Cash")).asMoney(), Money::fromDouble(1234567.89));
        QCOMPARE(select.field(QStringLiteral("Cash")).asFloat(), 1234567.89);
        QCOMPARE(select.field(QStringLiteral("ShiftDate")).asDateTime().date(), QDate(2026, 12, 10));
        QVERIFY(select.field(QStringLiteral("Locked")).asBoolean());
        QCOMPARE(select.field(QStringLiteral("lit")).asString(), QStringLiteral(":op"));
        QVERIFY(select.field(QStringLiteral("m")).isNull());
        QVERIFY_THROWS_EXCEPTION(DbError, select.field(QStringLiteral("nosuch")));
    }

    void moneyIsStoredAsWholeUnits()
    {
        Query insert(m_connection);
        insert.setSql(QStringLiteral("INSERT INTO shift (Cash) VALUES (:c)"));
        for (int i = 0; i < 10; ++i) {
            insert.setParam(QStringLiteral("c"), QVariant::fromValue(Money::fromDouble(0.1)));
            insert.execSql();
        }
        Query sum(m_connection);
        sum.setSql(QStringLiteral("SELECT typeof(Cash) AS t, (SELECT SUM(Cash) FROM shift) AS total FROM shift"));
        sum.open();
        QCOMPARE(sum.field(QStringLiteral("t")).asString(), QStringLiteral("integer"));
        QCOMPARE(sum.field(QStringLiteral("total")).asInteger(), 10000);
        // A computed sum is read as money once declared so.
        sum.setColumnKind(QStringLiteral("TOTAL"), ColumnKind::Money);
        sum.refresh();
        QCOMPARE(sum.field(QStringLiteral("total")).asMoney(), Money::fromDouble(1.0));
    }

    void errorsNameTheProblem()
    {
        Query query(m_connection);
        query.setSql(QStringLiteral("SELECT * FROM nosuchtable"));
        try {
            query.open();
            QFAIL("no error");
        } catch (const DbError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("nosuchtable")), qPrintable(error.message()));
        }
    }

    void cursorWalksTheRows()
    {
        Table oper(m_connection, QStringLiteral("oper"));
        oper.open();
        QSignalSpy scrolled(&oper, &Dataset::afterScroll);
        QStringList names;
        for (oper.first(); !oper.eof(); oper.next())
            names << oper.field(QStringLiteral("OperatorFIO")).asString();
        QCOMPARE(names, (QStringList{"Иванова Мария Петровна", "Петров Олег Ильич"}));
        QCOMPARE(oper.recNo(), 1);
        oper.prior();
        QVERIFY(!oper.bof());
        oper.prior();
        QVERIFY(oper.bof());
        QCOMPARE(oper.recNo(), 0);
        oper.last();
        QVERIFY(oper.eof());
        QCOMPARE(scrolled.count(), 4); // first, next, prior, last: each positioning that took place

        Table empty(m_connection, QStringLiteral("shift"));
        empty.open();
        QVERIFY(empty.bof() && empty.eof());
        QCOMPARE(empty.recNo(), -1);
        QVERIFY(empty.field(QStringLiteral("Locked")).isNull());
        QCOMPARE(empty.field(QStringLiteral("Locked")).asBoolean(), false);
    }

    void appendEditPostAndLookup()
    {
        Table shift(m_connection, QStringLiteral("shift"));
        shift.addLookupColumn({QStringLiteral("ОПЕРАТОР"), QStringLiteral("oper"),
                               QStringLiteral("idOperator"), QStringLiteral("OperatorFIO"),
                               QStringLiteral("idOperator")});
        shift.open();
        QSignalSpy scrolled(&shift, &Dataset::afterScroll);
        for (int i = 1; i <= 3; ++i) {
            shift.append();
            shift.setValue(QStringLiteral("Num"), QString::number(i));
            shift.setValue(QStringLiteral("idOperator"), 2);
            shift.setValue(QStringLiteral("Cash"), 10.555); // a double into money: converted
            shift.setValue(QStringLiteral("ShiftDate"), QStringLiteral("09.12.2026"));
            QCOMPARE(shift.field(QStringLiteral("Num")).asString(), QString::number(i));
            shift.post();
            QCOMPARE(shift.recNo(), i - 1);
        }
        QCOMPARE(scrolled.count(), 3);
        QCOMPARE(shift.recordCount(), 3);
        QCOMPARE(shift.field(QStringLiteral("ОПЕРАТОР")).asString(), QStringLiteral("Петров Олег Ильич"));
        QCOMPARE(shift.field(QStringLiteral("Cash")).asMoney(), Money::fromUnits(105550));
        QCOMPARE(shift.field(QStringLiteral("ShiftDate")).asDateTime(), QDateTime(QDate(2026, 12, 9), QTime(0, 0)));

        shift.moveTo(1);
        shift.edit();
        shift.setValue(QStringLiteral("Locked"), true);
        shift.post();
        QCOMPARE(shift.recNo(), 1);
        QVERIFY(shift.field(QStringLiteral("Locked")).asBoolean());
        QCOMPARE(shift.field(QStringLiteral("Num")).asString(), QStringLiteral("2"));

        QVERIFY_THROWS_EXCEPTION(DbError, shift.setValue(QStringLiteral("Num"), 1)); // not editing
        shift.edit();
        QVERIFY_THROWS_EXCEPTION(DbError, shift.setValue(QStringLiteral("nosuch"), 1));
        QVERIFY_THROWS_EXCEPTION(ConvertError, shift.setValue(QStringLiteral("Cash"), QStringLiteral("abc")));
        shift.cancel();
    }

    // A table without a declared key (a scratch table) is keyed by its rowid: an edit changes
    // its own row, and a refresh after rows before it went stays on it.
    void aTableWithoutKeyIsKeyedByItsRowid()
    {
        Query statement(m_connection);
        statement.setSql(QStringLiteral("CREATE TABLE scratch (Num VARCHAR(10), Cash CURRENCY)"));
        statement.execSql();
        statement.setSql(QStringLiteral("INSERT INTO scratch VALUES ('a', 10000), ('b', 20000), ('c', 30000)"));
        statement.execSql();
        Table scratch(m_connection, QStringLiteral("scratch"));
        scratch.open();
        QVERIFY(scratch.hasField(QStringLiteral("rowid")));
        scratch.moveTo(1);
        scratch.edit();
        scratch.setValue(QStringLiteral("Num"), QStringLiteral("b2"));
        scratch.post();
        QCOMPARE(scratch.recNo(), 1);
        QStringList numbers;
        for (scratch.first(); !scratch.eof(); scratch.next())
            numbers << scratch.field(QStringLiteral("Num")).asString();
        QCOMPARE(numbers, (QStringList{"a", "b2", "c"}));
        scratch.append();
        scratch.setValue(QStringLiteral("Num"), QStringLiteral("d"));
        scratch.post();
        QCOMPARE(scratch.recNo(), 3);
        QCOMPARE(scratch.field(QStringLiteral("Num")).asString(), QStringLiteral("d"));

        scratch.moveTo(1);
        statement.setSql(QStringLiteral("DELETE FROM scratch WHERE Num = 'a'"));
        statement.execSql();
        scratch.refresh();
        QCOMPARE(scratch.recNo(), 0);
        QCOMPARE(scratch.field(QStringLiteral("Num")).asString(), QStringLiteral("b2"));
    }

    // A windowed table shows the same rows as one read whole, reading a page only when one of its
    // rows is first looked at; keys with gaps make a row's key differ from its position.
    void aWindowedTableReadsPagesAsTheyAreLookedAt()
    {
        Query statement(m_connection);
        statement.setSql(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 900) "
            "INSERT INTO shift (idShift, Num, idOperator, Cash) "
            "SELECT i * 3, 'n' || i, 1 + i % 2, i * 100 FROM n"));
        statement.execSql();
        auto withOperator = [this](Table &table) {
            table.addLookupColumn({QStringLiteral("ОПЕРАТОР"), QStringLiteral("oper"),
                                   QStringLiteral("idOperator"), QStringLiteral("OperatorFIO"),
                                   QStringLiteral("idOperator")});
        };
        Table whole(m_connection, QStringLiteral("shift"));
        withOperator(whole);
        whole.open();
        Table windowed(m_connection, QStringLiteral("shift"));
        withOperator(windowed);
        windowed.setWindowed(true);
        QStringList statements;
        setStatementObserver([&statements](const QString &sql) { statements << sql; });
        windowed.open();
        const int pagesAtOpening = int(statements.filter(QStringLiteral("LIMIT")).size());
        windowed.last();
        QCOMPARE(windowed.field(QStringLiteral("Num")).asString(), QStringLiteral("n900"));
        windowed.prior();
        QCOMPARE(windowed.field(QStringLiteral("ОПЕРАТОР")).asString(), QStringLiteral("Петров Олег Ильич"));
        const int pagesAtEnd = int(statements.filter(QStringLiteral("LIMIT")).size());
        setStatementObserver({});
        QCOMPARE(pagesAtOpening, 1);
        QCOMPARE(pagesAtEnd, 2); // the last rows are one page, read once

        QCOMPARE(windowed.recordCount(), whole.recordCount());
        for (int row = 0; row < whole.recordCount(); ++row)
            for (int column = 0; column < whole.columnCount(); ++column)
                QCOMPARE(windowed.value(row, column), whole.value(row, column));

        QVERIFY(windowed.locate(3 * 600));
        QCOMPARE(windowed.recNo(), 599);
        QVERIFY(!windowed.locate(3 * 600 + 1));
        windowed.edit();
        windowed.setValue(QStringLiteral("Num"), QStringLiteral("changed"));
        windowed.post();
        QCOMPARE(windowed.recNo(), 599);
        QCOMPARE(windowed.field(QStringLiteral("Num")).asString(), QStringLiteral("changed"));
        windowed.append();
        windowed.setValue(QStringLiteral("Num"), QStringLiteral("new"));
        windowed.post();
        QCOMPARE(windowed.recordCount(), 901);
        QCOMPARE(windowed.recNo(), 900);
        QCOMPARE(windowed.field(QStringLiteral("Num")).asString(), QStringLiteral("new"));

        statement.setSql(QStringLiteral("DELETE FROM shift WHERE idShift <= 30"));
        statement.execSql();
        windowed.refresh();
        QCOMPARE(windowed.recordCount(), 891);
        QCOMPARE(windowed.recNo(), 890); // still on the new row, now ten places up
        QCOMPARE(windowed.field(QStringLiteral("Num")).asString(), QStringLiteral("new"));
    }

    void refreshShowsOtherWritersAndKeepsTheRow()
    {
        Table oper(m_connection, QStringLiteral("oper"));
        oper.open();
        oper.last();
        Query insert(m_connection);
        insert.setSql(QStringLiteral("INSERT INTO oper (OperatorFIO) VALUES ('Новый Сотрудник Один')"));
        insert.execSql();
        QCOMPARE(oper.recordCount(), 2);
        oper.refresh();
        QCOMPARE(oper.recordCount(), 3);
        QCOMPARE(oper.field(QStringLiteral("OperatorFIO")).asString(), QStringLiteral("Петров Олег Ильич"));
    }

    // A sorted table keeps its order through posting: a new row takes its place among the others
    // and the cursor stays on it.
    void sortOrdersTheRowsFromTheNextReading()
    {
        Table oper(m_connection, QStringLiteral("oper"));
        oper.setSort(QStringLiteral("OperatorFIO"));
        oper.open();
        oper.append();
        oper.setValue(QStringLiteral("OperatorFIO"), QStringLiteral("Жукова Анна Львовна"));
        oper.post();
        QCOMPARE(oper.recNo(), 0);
        QStringList names;
        for (oper.first(); !oper.eof(); oper.next())
            names << oper.field(QStringLiteral("OperatorFIO")).asString();
        QCOMPARE(names, (QStringList{"Жукова Анна Львовна", "Иванова Мария Петровна", "Петров Олег Ильич"}));

        oper.setSort(QString());
        oper.refresh();
        oper.first();
        QCOMPARE(oper.field(QStringLiteral("OperatorFIO")).asString(), QStringLiteral("Иванова Мария Петровна"));
        oper.setSort(QStringLiteral("nosuch"));
        QVERIFY_THROWS_EXCEPTION(DbError, oper.refresh());
    }

    // Values are bound, never spliced: any text comes back as it went in, through a table's
    // generated statements and through a query's parameters, also as a condition, and nothing
    // else in the file changes.
    void anyTextIsStoredAsGiven_data() { addHostileTextRows(); }
    void anyTextIsStoredAsGiven()
    {
        QFETCH(QString, text);
        const QString before = schemaAndCounts(*m_connection);
        Table oper(m_connection, QStringLiteral("oper"));
        oper.open();
        oper.append();
        oper.setValue(QStringLiteral("OperatorFIO"), text);
        oper.post();
        oper.refresh();
        QCOMPARE(oper.field(QStringLiteral("OperatorFIO")).asString(), text);
        oper.edit();
        oper.setValue(QStringLiteral("OperatorFIO"), text + text);
        oper.post();
        QCOMPARE(oper.field(QStringLiteral("OperatorFIO")).asString(), text + text);

        Query query(m_connection);
        query.setSql(QStringLiteral("INSERT INTO shift (Num) VALUES (:n)"));
        query.setParam(QStringLiteral("n"), text);
        QCOMPARE(query.execSql(), 1);
        query.setSql(QStringLiteral("SELECT Num, length(CAST(Num AS BLOB)) AS bytes FROM shift WHERE Num = :n"));
        query.open();
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.field(QStringLiteral("Num")).asString(), text);
        QCOMPARE(query.field(QStringLiteral("bytes")).asInteger(), text.toUtf8().size());

        query.setSql(QStringLiteral("DELETE FROM shift WHERE Num = :n"));
        QCOMPARE(query.execSql(), 1);
        query.setSql(QStringLiteral("DELETE FROM oper WHERE OperatorFIO = :n"));
        query.setParam(QStringLiteral("n"), text + text);
        QCOMPARE(query.execSql(), 1);
        QCOMPARE(schemaAndCounts(*m_connection), before);
    }

    // Names the program derives reach a statement quoted: a table and a column whose names hold
    // quotes, blanks, semicolons, a colon and "%1" are read, appended, changed and sorted by.
    void derivedNamesAreQuoted()
    {
        Query create(m_connection);
        create.setSql(QStringLiteral("CREATE TABLE \"odd \"\"t\"\"; x\" (id INTEGER PRIMARY KEY, "
                                     "\"a:b %1 'c'; d\" VARCHAR(5), e VARCHAR(5))"));
        create.execSql();
        const QString table = QStringLiteral("odd \"t\"; x");
        const QString column = QStringLiteral("a:b %1 'c'; d");
        QCOMPARE(m_connection->checkedColumn(table, column), QStringLiteral("\"a:b %1 'c'; d\""));
        QCOMPARE(quotedIdentifier(table), QStringLiteral("\"odd \"\"t\"\"; x\""));

        Table odd(m_connection, table);
        odd.setColumns({QStringLiteral("id"), column});
        odd.setSort(column);
        odd.open();
        for (const char *value : {"v2", "v1"}) {
            odd.append();
            odd.setValue(column, QString::fromLatin1(value));
            odd.post();
        }
        odd.first();
        QCOMPARE(odd.field(column).asString(), QStringLiteral("v1"));
        odd.edit();
        odd.setValue(column, QStringLiteral("v3"));
        odd.post();
        odd.first();
        QCOMPARE(odd.field(column).asString(), QStringLiteral("v2"));
        odd.last();
        QCOMPARE(odd.field(column).asString(), QStringLiteral("v3"));
    }

    // A derived name that the schema does not have is refused with a DbError naming it, before
    // any statement runs; the file stays as it was.
    void namesOutsideTheSchemaAreRefused_data()
    {
        QTest::addColumn<QString>("use");
        QTest::addColumn<QString>("name");
        const QStringList names{QStringLiteral("Num; DROP TABLE oper"),
                                QStringLiteral("Num\"; DROP TABLE oper; --"),
                                QStringLiteral("Num' OR '1'='1"),
                                QStringLiteral("(SELECT OperatorFIO FROM oper)"),
                                QStringLiteral("nosuch")};
        for (const char *use : {"table", "columns", "sort", "value", "checked column", "lookup"}) {
            for (const QString &name : names)
                QTest::addRow("%s: %s", use, qPrintable(name)) << QString::fromLatin1(use) << name;
        }
    }
    void namesOutsideTheSchemaAreRefused()
    {
        QFETCH(QString, use);
        QFETCH(QString, name);
        const QString before = schemaAndCounts(*m_connection);
        Table shift(m_connection, use == QStringLiteral("table") ? name : QStringLiteral("shift"));
        if (use == QStringLiteral("columns"))
            shift.setColumns({QStringLiteral("Num"), name});
        else if (use == QStringLiteral("sort"))
            shift.setSort(name);
        else if (use == QStringLiteral("lookup"))
            shift.addLookupColumn({QStringLiteral("x"), QStringLiteral("oper"), QStringLiteral("idOperator"),
                                   name, QStringLiteral("idOperator")});
        try {
            if (use == QStringLiteral("checked column")) {
                m_connection->checkedColumn(QStringLiteral("shift"), name);
            } else if (use == QStringLiteral("value")) {
                shift.append();
                shift.setValue(name, 1);
            } else {
                shift.open();
            }
            QFAIL("not refused");
        } catch (const DbError &error) {
            if (use != QStringLiteral("lookup"))
                QVERIFY2(error.message().contains(name), qPrintable(error.message()));
        }
        QCOMPARE(schemaAndCounts(*m_connection), before);
    }

    void closingTheConnectionClosesItsDatasets()
    {
        Table oper(m_connection, QStringLiteral("oper"));
        oper.open();
        m_connection->close();
        QVERIFY(!oper.isOpen());
        QCOMPARE(oper.recordCount(), 0);
        QVERIFY_THROWS_EXCEPTION(DbError, oper.open());
    }

    void transactionRollsBackUnlessCommitted()
    {
        Query insert(m_connection);
        insert.setSql(QStringLiteral("INSERT INTO oper (OperatorFIO) VALUES ('X Y Z')"));
        {
            Transaction transaction(*m_connection);
            insert.execSql();
        }
        {
            Transaction transaction(*m_connection);
            insert.execSql();
            transaction.commit();
        }
        Query count(m_connection);
        count.setSql(QStringLiteral("SELECT count(*) AS n FROM oper"));
        count.open();
        QCOMPARE(count.field(QStringLiteral("n")).asInteger(), 3);
    }

    // A transaction that reads before it writes, while a second copy of the program holds the
    // write lock for a moment: it waits for the lock and goes through.
    void aTransactionWaitsForAnotherWritersLock()
    {
        WriteLockHolder other(m_path, 1500);
        QVERIFY(other.held());
        Transaction transaction(*m_connection);
        Query query(m_connection);
        query.setSql(QStringLiteral("SELECT count(*) AS n FROM oper"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("n")).asInteger(), 2);
        query.setSql(QStringLiteral("INSERT INTO oper (OperatorFIO) VALUES ('X Y Z')"));
        query.execSql();
        transaction.commit();
        query.setSql(QStringLiteral("SELECT count(*) AS n FROM oper"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("n")).asInteger(), 3);
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
