#include "platform/data/connection.h"
#include "platform/data/connectionstring.h"
#include "platform/data/errors.h"
#include "platform/data/money.h"
#include "platform/data/query.h"
#include "platform/data/table.h"

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

    void journalIsWal()
    {
        Query query(m_connection);
        query.setSql(QStringLiteral("PRAGMA journal_mode"));
        query.open();
        QCOMPARE(query.field(QStringLiteral("journal_mode")).asString(), QStringLiteral("wal"));
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
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
