#include "db/schemaupgrade.h"
#include "support/testdatabase.h"

#include "platform/data/connection.h"
#include "platform/data/query.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString output; // stdout and stderr together
};

Run runExport(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the program must manage headless
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(EXPORT_PROGRAM), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

class TestExportProgram : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_oldDatabase; // as delivered, never opened by the program
    QString m_newerDatabase; // left by a newer version of the program
    QString m_notADatabase;
    qint32 m_shift = 0;

    QString out(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase();
    void refusesWhatItCannotExport_data();
    void refusesWhatItCannotExport();
    void exportsTheSheetAndNothingElse_data();
    void exportsTheSheetAndNothingElse();
};

void TestExportProgram::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("old")));
    m_oldDatabase = freshDatabase(m_dir.filePath(QStringLiteral("old")));
    m_database = freshDatabase(m_dir.path());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("newer")));
    m_newerDatabase = freshDatabase(m_dir.filePath(QStringLiteral("newer")));
    {
        Connection newer(QStringLiteral("newer"));
        newer.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(m_newerDatabase));
        Query query(&newer);
        query.setSql(QStringLiteral("CREATE TABLE db_version (version int)"));
        query.execSql();
        query.setSql(QStringLiteral("INSERT INTO db_version VALUES (5)"));
        query.execSql();
    }
    m_notADatabase = out(QStringLiteral("notes.txt"));
    QFile notes(m_notADatabase);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'x'));
    notes.close();
    Connection connection(QStringLiteral("setup"));
    connection.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(m_database));
    Query query(&connection);
    QVERIFY(SchemaUpgrade(connection, query).upgradeSchema());
    query.setSql(QStringLiteral("INSERT INTO DOVRA (DovraDate, DovraNBUKTS) VALUES ('2016-03-05', '117')"));
    query.execSql();
    query.setSql(QStringLiteral("SELECT max(idDOVRA) AS id FROM DOVRA"));
    query.open();
    m_shift = query.field(QStringLiteral("id")).asInteger();
    QVERIFY(m_shift > 0);
}

void TestExportProgram::refusesWhatItCannotExport_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString shift = QString::number(m_shift);
    const QString pdf = out(QStringLiteral("refused.pdf"));
    QTest::newRow("nothing") << QStringList() << 2 << QStringLiteral("не указан параметр --db");
    QTest::newRow("no output") << QStringList{"--db", m_database, "--shift", shift, "--doc", "procedure"}
                               << 2 << QStringLiteral("не указан параметр --out");
    QTest::newRow("unknown option")
        << QStringList{"--db", m_database, "--shift", shift, "--doc", "procedure", "--out", pdf, "--copies", "2"}
        << 2 << QStringLiteral("copies");
    QTest::newRow("unknown document")
        << QStringList{"--db", m_database, "--shift", shift, "--doc", "km99", "--out", pdf} << 2
        << QStringLiteral("неизвестный документ «km99»; известные: procedure, instruction,");
    QTest::newRow("shift not a number")
        << QStringList{"--db", m_database, "--shift", "пятая", "--doc", "procedure", "--out", pdf}
        << 2 << QStringLiteral("номер смены «пятая»");
    QTest::newRow("register out of range")
        << QStringList{"--db", m_database, "--shift", shift, "--kassa", "6", "--doc", "procedure", "--out", pdf}
        << 2 << QStringLiteral("номер ККМ «6»");
    QTest::newRow("missing database")
        << QStringList{"--db", out("none.mdb"), "--shift", shift, "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("Файл базы данных «%1» не найден").arg(out("none.mdb"));
    QTest::newRow("database not upgraded")
        << QStringList{"--db", m_oldDatabase, "--shift", shift, "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("ещё не обновлена");
    // The same words as the program's start, from the one check of the file.
    QTest::newRow("newer database")
        << QStringList{"--db", m_newerDatabase, "--shift", shift, "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("создана более новой версией программы (версия базы 5)");
    QTest::newRow("not a database")
        << QStringList{"--db", m_notADatabase, "--shift", shift, "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("Файл «%1» не является базой данных.").arg(m_notADatabase);
    QTest::newRow("missing shift")
        << QStringList{"--db", m_database, "--shift", "9999", "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("смена 9999 не найдена");
    QTest::newRow("missing register")
        << QStringList{"--db", m_database, "--shift", shift, "--kassa", "5", "--doc", "procedure", "--out", pdf}
        << 1 << QStringLiteral("ККМ 5 не найдена");
    QTest::newRow("refund act without refunds")
        << QStringList{"--db", m_database, "--shift", shift, "--kassa", "1", "--doc", "km3-cash", "--out", pdf}
        << 1 << QStringLiteral("документу «km3-cash» нечего печатать для этой ККМ");
    QTest::newRow("unwritable output")
        << QStringList{"--db", m_database, "--shift", shift, "--doc", "procedure", "--out", out("no/such/dir.pdf")}
        << 1 << QStringLiteral("не удалось записать");
}

void TestExportProgram::refusesWhatItCannotExport()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = runExport(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.output.contains(message), qPrintable(run.output));
    QVERIFY(!QFile::exists(out(QStringLiteral("refused.pdf"))));
}

void TestExportProgram::exportsTheSheetAndNothingElse_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("registerArguments");
    QTest::addColumn<QString>("title");
    QTest::newRow("procedure") << QStringLiteral("procedure") << QStringList{"--kassa", "2"}
                               << QStringLiteral("ПОРЯДОК ФОРМИРОВАНИЯ СМЕННОГО ОТЧЕТА");
    QTest::newRow("instruction") << QStringLiteral("instruction") << QStringList()
                                 << QStringLiteral("ПОРЯДОК РАБОТЫ (ОСНОВНАЯ ИНСТРУКЦИЯ)");
    // Title pages read the requisites that nothing has opened in the export program.
    QTest::newRow("cash book title page") << QStringLiteral("ko4-title1") << QStringList()
                                          << QStringLiteral("КАССОВАЯ КНИГА");
    QTest::newRow("journal title page") << QStringLiteral("km4-title") << QStringList()
                                        << QStringLiteral("КАССИРА-ОПЕРАЦИОНИСТА");
    QTest::newRow("transfer act") << QStringLiteral("transfer") << QStringList{"--kassa", "1"}
                                  << QStringLiteral("АКТ ПЕРЕНОСА ДЕНЕЖНЫХ СРЕДСТВ МЕЖДУ ККМ");
    // The whole shift opens with its shift-wide KM-7.
    QTest::newRow("shift") << QStringLiteral("shift") << QStringList()
                           << QStringLiteral("О ПОКАЗАНИЯХ СЧЕТЧИКОВ КОНТРОЛЬНО-КАССОВЫХ МАШИН");
    // Without a window nothing is open beforehand: the blank still prints the requisites.
    QTest::newRow("KM-6 blank") << QStringLiteral("km6-blank") << QStringList()
                                << QStringLiteral("КАССИРА-ОПЕРАЦИОНИСТА");
    QTest::newRow("KO-2") << QStringLiteral("ko2") << QStringList{"--kassa", "1"}
                          << QStringLiteral("РАСХОДНЫЙ КАССОВЫЙ ОРДЕР");
}

void TestExportProgram::exportsTheSheetAndNothingElse()
{
    QFETCH(QString, document);
    QFETCH(QStringList, registerArguments);
    QFETCH(QString, title);
    const QByteArray before = fileDigest(m_database);
    const QStringList filesBefore = QDir(m_dir.path()).entryList(QDir::Files);
    const QString pdf = out(document + QStringLiteral(".pdf"));

    const Run run = runExport(QStringList{"--db", m_database, "--shift", QString::number(m_shift),
                                          "--doc", document, "--out", pdf}
                              + registerArguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
    QCOMPARE(fileDigest(m_database), before);
    QStringList filesAfter = filesBefore + QStringList{document + QStringLiteral(".pdf")};
    filesAfter.sort();
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), filesAfter);

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(text.contains(title), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("ООО \"Велморан-Нефтепродукт\"")));
    QVERIFY(QFile::remove(pdf));
}

QTEST_MAIN(TestExportProgram)
#include "tst_exportprogram.moc"
