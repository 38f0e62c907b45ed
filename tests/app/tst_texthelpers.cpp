#include "app/texthelpers.h"
#include "platform/data/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// This program runs once under the C locale and once under ru_RU (see CMakeLists.txt), so the
// conversion with the system locale is checked with both decimal separators.
class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void strToIntSafe_data();
    void strToIntSafe();

    void stripBlanks_data();
    void stripBlanks();

    void strToFloatCleanWithLocale_data();
    void strToFloatCleanWithLocale();
    void strToFloatCleanUsesSystemLocale_data();
    void strToFloatCleanUsesSystemLocale();

    void strToFloatIsStrict();

    void columnOf_data();
    void columnOf();

    void copyTargetPath_data();
    void copyTargetPath();
    void copyFileToDirCopiesAndReplaces();
    void copyFileToDirFailureKeepsPreviousCopy_data();
    void copyFileToDirFailureKeepsPreviousCopy();
    void copyFileToDirRefusesCopyOntoItself();
};

void TestTextHelpers::strToIntSafe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("expected");

    QTest::newRow("empty") << "" << 0;
    QTest::newRow("digits") << "42" << 42;
    QTest::newRow("negative") << "-17" << -17;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("surrounding blanks") << " 12 " << 12;
    QTest::newRow("leading zeros stay decimal") << "010" << 10;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << qint32(-2147483647 - 1);
    QTest::newRow("overflow") << "2147483648" << 0;
    QTest::newRow("trailing letters") << "12a" << 0;
    QTest::newRow("decimal fraction") << "1.5" << 0;
    QTest::newRow("inner blank") << "1 000" << 0;
    QTest::newRow("hexadecimal") << "0x10" << 0;
    QTest::newRow("blank only") << " " << 0;
}

void TestTextHelpers::strToIntSafe()
{
    QFETCH(QString, text);
    QFETCH(qint32, expected);
    QCOMPARE(::strToIntSafe(text), expected);
}

void TestTextHelpers::stripBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << "" << "";
    QTest::newRow("nothing to strip") << "1234,5" << "1234,5";
    QTest::newRow("blanks, line breaks, backspace")
        << " 1 2\n3\r\n4\b5 " << "12345";
    QTest::newRow("tab and no-break space stay") << "1\t2\u00A03" << "1\t2\u00A03";
    QTest::newRow("only stripped characters") << " \r\n\b " << "";
}

void TestTextHelpers::stripBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::stripBlanks(text), expected);
}

// Each row: the text and what it gives under a comma locale (ru_RU) and a point locale (C).
static void amountTable()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("withComma");
    QTest::addColumn<double>("withPoint");

    QTest::newRow("empty") << "" << 0.0 << 0.0;
    QTest::newRow("blanks only") << " \r\n" << 0.0 << 0.0;
    QTest::newRow("integer") << "1500" << 1500.0 << 1500.0;
    QTest::newRow("comma") << "12,5" << 12.5 << 0.0;
    QTest::newRow("point") << "12.5" << 0.0 << 12.5;
    QTest::newRow("negative comma") << "-0,75" << -0.75 << 0.0;
    QTest::newRow("negative point") << "-0.75" << 0.0 << -0.75;
    QTest::newRow("blanks stripped first") << " 1 234,56\r\n" << 1234.56 << 0.0;
    QTest::newRow("group separator of ru_RU") << "1\u00A0234,5" << 0.0 << 0.0;
    QTest::newRow("point groups under comma") << "1.234,5" << 0.0 << 0.0;
    QTest::newRow("comma groups under point") << "1,234.5" << 0.0 << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0 << 1000.0;
    QTest::newRow("letters") << "12р" << 0.0 << 0.0;
    QTest::newRow("two separators") << "1,2,3" << 0.0 << 0.0;
    QTest::newRow("infinity") << "inf" << 0.0 << 0.0;
    QTest::newRow("not a number") << "nan" << 0.0 << 0.0;
    QTest::newRow("overflow") << "1e999" << 0.0 << 0.0;
}

void TestTextHelpers::strToFloatCleanWithLocale_data()
{
    amountTable();
}

void TestTextHelpers::strToFloatCleanWithLocale()
{
    QFETCH(QString, text);
    QFETCH(double, withComma);
    QFETCH(double, withPoint);

    QCOMPARE(::strToFloatClean(text, QLocale(QLocale::Russian, QLocale::Russia)), withComma);
    QCOMPARE(::strToFloatClean(text, QLocale::c()), withPoint);
}

void TestTextHelpers::strToFloatCleanUsesSystemLocale_data()
{
    amountTable();
}

void TestTextHelpers::strToFloatCleanUsesSystemLocale()
{
    QFETCH(QString, text);
    QFETCH(double, withComma);
    QFETCH(double, withPoint);

    const QString separator = QLocale::system().decimalPoint();
    QVERIFY2(separator == "," || separator == ".", qPrintable(separator));
    const bool commaSystem = separator == ",";

    // The application's default locale must not stand in for the system's.
    const QLocale previousDefault;
    QLocale::setDefault(commaSystem ? QLocale::c() : QLocale(QLocale::Russian, QLocale::Russia));
    const double result = ::strToFloatClean(text);
    QLocale::setDefault(previousDefault);

    QCOMPARE(result, commaSystem ? withComma : withPoint);
}

void TestTextHelpers::strToFloatIsStrict()
{
    const QString mark = QLocale::system().decimalPoint();
    QCOMPARE(::strToFloat(" 1500 "), 1500.0);
    QCOMPARE(::strToFloat("-12" + mark + "5"), -12.5);
    for (const QString &bad : {QString(), QStringLiteral("abc"), QStringLiteral("1 500"),
                               QStringLiteral("12;5"), QStringLiteral("inf")})
        QVERIFY_THROWS_EXCEPTION(ConvertError, ::strToFloat(bad));
}

void TestTextHelpers::columnOf_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("template field") << "ed_SumNal" << "SumNal";
    QTest::newRow("copied field") << "m12_SumNal" << "SumNal";
    QTest::newRow("only the first underscore splits") << "m3_Sum_Vozvr" << "Sum_Vozvr";
    QTest::newRow("no underscore") << "edSumNal" << "";
    QTest::newRow("trailing underscore") << "m3_" << "";
    QTest::newRow("empty") << "" << "";
}

void TestTextHelpers::columnOf()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, expected);
    QCOMPARE(::columnOf(fieldName), expected);
}

void TestTextHelpers::copyTargetPath_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bare name") << "AZSVELMORAN.mdb" << "/srv/copy" << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("slash path") << "/data/AZSVELMORAN.mdb" << "/srv/copy"
                                << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("backslash path") << "c:\\grontel\\AZSVELMORAN.mdb" << "/srv/copy"
                                    << "/srv/copy/AZSVELMORAN.mdb";
    QTest::newRow("drive without folder") << "d:AZS.mdb" << "/srv" << "/srv/AZS.mdb";
    QTest::newRow("last separator of any kind") << "/data\\old/cur\\AZS.mdb" << "/srv"
                                                << "/srv/AZS.mdb";
    QTest::newRow("folder ending in slash") << "AZS.mdb" << "/srv/copy/" << "/srv/copy/AZS.mdb";
    QTest::newRow("drive root") << "AZS.mdb" << "e:\\" << "e:\\AZS.mdb";
    QTest::newRow("empty folder") << "AZS.mdb" << "" << "";
    QTest::newRow("source naming a folder") << "/data/" << "/srv" << "";
}

void TestTextHelpers::copyTargetPath()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(::copyTargetPath(source, folder), expected);
}

static bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void TestTextHelpers::copyFileToDirCopiesAndReplaces()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("work") && QDir(dir.path()).mkpath("copy"));
    const QString source = dir.filePath("work/AZSVELMORAN.mdb");
    // Larger than one read so that the copy loop runs more than once.
    QByteArray content(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char(i * 31 % 251);
    QVERIFY(writeFile(source, content));
    QVERIFY(writeFile(dir.filePath("copy/AZSVELMORAN.mdb"), "previous copy, longer than nothing"));

    QVERIFY(copyFileToDir(source, dir.filePath("copy")));
    QCOMPARE(readFile(dir.filePath("copy/AZSVELMORAN.mdb")), content);

    QVERIFY(writeFile(source, "short"));
    QVERIFY(copyFileToDir(source, dir.filePath("copy") + "/"));
    QCOMPARE(readFile(dir.filePath("copy/AZSVELMORAN.mdb")), QByteArray("short"));
    QCOMPARE(QDir(dir.filePath("copy")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"AZSVELMORAN.mdb"});
}

void TestTextHelpers::copyFileToDirFailureKeepsPreviousCopy_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("folder");

    QTest::newRow("missing source") << "work/missing.mdb" << "copy";
    QTest::newRow("source is a folder") << "work/folder.mdb" << "copy";
    QTest::newRow("missing folder") << "work/AZSVELMORAN.mdb" << "nowhere";
    QTest::newRow("empty folder") << "work/AZSVELMORAN.mdb" << "";
}

// The previous copies stay whole and no temporary file is left behind.
void TestTextHelpers::copyFileToDirFailureKeepsPreviousCopy()
{
    QFETCH(QString, source);
    QFETCH(QString, folder);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("copy") && QDir(dir.path()).mkpath("work/folder.mdb"));
    QVERIFY(writeFile(dir.filePath("work/AZSVELMORAN.mdb"), "new"));
    const QStringList previousCopies{"AZSVELMORAN.mdb", "missing.mdb"};
    for (const QString &name : previousCopies)
        QVERIFY(writeFile(dir.filePath("copy/" + name), "previous"));

    const QString folderPath = folder.isEmpty() ? QString() : dir.filePath(folder);
    QVERIFY(!copyFileToDir(dir.filePath(source), folderPath));
    QCOMPARE(QDir(dir.filePath("copy")).entryList(QDir::Files | QDir::Hidden), previousCopies);
    for (const QString &name : previousCopies)
        QCOMPARE(readFile(dir.filePath("copy/" + name)), QByteArray("previous"));
}

void TestTextHelpers::copyFileToDirRefusesCopyOntoItself()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath("AZSVELMORAN.mdb");
    QVERIFY(writeFile(source, "data"));
    QVERIFY(!copyFileToDir(source, dir.path()));
    QCOMPARE(readFile(source), QByteArray("data"));
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
