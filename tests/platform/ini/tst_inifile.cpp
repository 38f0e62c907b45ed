#include "platform/data/errors.h"
#include "platform/ini/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void readMissingFileGivesDefault();
    void readSeesChangesMadeSinceLastRead();

    void writeString_data();
    void writeString();
    void writeCreatesMissingFile();
    void writeToUnwritableLocationThrows();
    void writeRejectsLineBreaks();

private:
    QString path(const QString &name = QStringLiteral("dovra.ini")) const;
    void writeBytes(const QByteArray &content) const;
    QByteArray readBytes() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestIniFile::path(const QString &name) const
{
    return m_dir->filePath(name);
}

void TestIniFile::writeBytes(const QByteArray &content) const
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestIniFile::readBytes() const
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray config = "[PASSWORD]\npwdstr=secret\n[common]\nbackup_dir=d:\\copy\n";
    QTest::newRow("exact names") << config << "common" << "backup_dir" << "d:\\copy";
    QTest::newRow("names ignore case") << config << "Password" << "PWDSTR" << "secret";
    QTest::newRow("Cyrillic names ignore case")
        << QByteArray("[Пароль]\nКлюч=да\n") << "ПАРОЛЬ" << "ключ" << "да";
    QTest::newRow("key of another section") << config << "common" << "pwdstr" << "<default>";
    QTest::newRow("missing section") << config << "DB" << "connstr" << "<default>";
    QTest::newRow("key before any section")
        << QByteArray("connstr=x\n[DB]\n") << "DB" << "connstr" << "<default>";
    QTest::newRow("line without equals sign is no key")
        << QByteArray("[DB]\nconnstr\n") << "DB" << "connstr" << "<default>";
    QTest::newRow("empty value is not the default")
        << QByteArray("[DB]\nconnstr=\n") << "DB" << "connstr" << "";
    QTest::newRow("blanks around key and value")
        << QByteArray("  [ DB ]  \n\t connstr \t=   a b \t\n") << "DB" << "connstr" << "a b";
    QTest::newRow("double quotes removed")
        << QByteArray("[s]\nk= \"  a b  \" \n") << "s" << "k" << "  a b  ";
    QTest::newRow("single quotes removed")
        << QByteArray("[s]\nk='x'\n") << "s" << "k" << "x";
    QTest::newRow("unmatched quotes kept")
        << QByteArray("[s]\nk=\"x'\n") << "s" << "k" << "\"x'";
    QTest::newRow("lone quote kept") << QByteArray("[s]\nk=\"\n") << "s" << "k" << "\"";
    QTest::newRow("only the outer pair removed")
        << QByteArray("[s]\nk=\"\"x\"\"\n") << "s" << "k" << "\"x\"";
    QTest::newRow("commented key skipped")
        << QByteArray("[s]\n;k=old\n  ; k=older\nk=new\n") << "s" << "k" << "new";
    QTest::newRow("semicolon inside a value kept")
        << QByteArray("[s]\nk=a ; b\n") << "s" << "k" << "a ; b";
    QTest::newRow("commented section header")
        << QByteArray(";[s]\nk=x\n") << "s" << "k" << "<default>";
    QTest::newRow("backslashes verbatim")
        << QByteArray("[common]\nbackup_dir=c:\\grontel\\velmoran\\datarexzerv\\n\n")
        << "common" << "backup_dir" << "c:\\grontel\\velmoran\\datarexzerv\\n";
    QTest::newRow("value after the first equals sign")
        << QByteArray("[DB]\nconnstr=Provider=SQLite;Data Source=$(FILENAME);\n")
        << "DB" << "connstr" << "Provider=SQLite;Data Source=$(FILENAME);";
    QTest::newRow("Cyrillic value")
        << QByteArray("[s]\nk=Резервная копия\n") << "s" << "k" << "Резервная копия";
    QTest::newRow("first key wins")
        << QByteArray("[s]\nk=first\nk=second\n") << "s" << "k" << "first";
    QTest::newRow("repeated section searched too")
        << QByteArray("[s]\na=1\n[t]\nk=t\n[S]\nk=second s\n") << "s" << "k" << "second s";
    QTest::newRow("CRLF lines")
        << QByteArray("[s]\r\nk=v\r\nj=w\r\n") << "s" << "k" << "v";
    QTest::newRow("last line without terminator")
        << QByteArray("[s]\nk=v") << "s" << "k" << "v";
    QTest::newRow("byte order mark before first section")
        << QByteArray("\xEF\xBB\xBF[s]\nk=v\n") << "s" << "k" << "v";
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    writeBytes(content);
    QCOMPARE(IniFile(path()).readString(section, key, QStringLiteral("<default>")), expected);
}

void TestIniFile::readMissingFileGivesDefault()
{
    const IniFile ini(path());
    QCOMPARE(ini.readString("PASSWORD", "pwdstr", "qtr48"), QStringLiteral("qtr48"));
    QCOMPARE(ini.fileName(), path());
}

void TestIniFile::readSeesChangesMadeSinceLastRead()
{
    const IniFile ini(path());
    writeBytes("[s]\nk=before\n");
    QCOMPARE(ini.readString("s", "k", ""), QStringLiteral("before"));
    writeBytes("[s]\nk=after\n");
    QCOMPARE(ini.readString("s", "k", ""), QStringLiteral("after"));
}

void TestIniFile::writeString_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("only the key's line changes")
        << QByteArray("; installer's settings\n[PASSWORD]\npwdstr = old\n\n[common]\n"
                      "backup_dir=c:\\x\n  ;pwdstr=commented\n")
        << "PASSWORD" << "pwdstr" << "new"
        << QByteArray("; installer's settings\n[PASSWORD]\npwdstr=new\n\n[common]\n"
                      "backup_dir=c:\\x\n  ;pwdstr=commented\n");
    QTest::newRow("CRLF file keeps CRLF")
        << QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\nk=2\r\n")
        << "b" << "k" << "3"
        << QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\nk=3\r\n");
    QTest::newRow("indentation and key spelling kept")
        << QByteArray("[Common]\n\tBackup_Dir\t= c:\\old ; note\nx=1")
        << "common" << "backup_dir" << "d:\\new"
        << QByteArray("[Common]\n\tBackup_Dir=d:\\new\nx=1");
    QTest::newRow("first of repeated keys changes")
        << QByteArray("[s]\nk=1\nk=2\n") << "s" << "k" << "9"
        << QByteArray("[s]\nk=9\nk=2\n");
    QTest::newRow("new key after the section's last line")
        << QByteArray("[PASSWORD]\npwdstr=x\n\n; next\n[common]\nother=1\n")
        << "common" << "backup_dir" << "/srv/backup"
        << QByteArray("[PASSWORD]\npwdstr=x\n\n; next\n[common]\nother=1\nbackup_dir=/srv/backup\n");
    QTest::newRow("new key before the blank lines ending the section")
        << QByteArray("[a]\nx=1\n\n\n[b]\n") << "A" << "y" << "2"
        << QByteArray("[a]\nx=1\ny=2\n\n\n[b]\n");
    QTest::newRow("new key in an empty section")
        << QByteArray("[a]\n[b]\n") << "a" << "y" << "2"
        << QByteArray("[a]\ny=2\n[b]\n");
    QTest::newRow("new key after an unterminated last line")
        << QByteArray("[a]\r\nx=1") << "a" << "y" << "2"
        << QByteArray("[a]\r\nx=1\r\ny=2\r\n");
    QTest::newRow("new key after a last line ending in a lone CR")
        << QByteArray("[a]\nx=1\r") << "a" << "y" << "2"
        << QByteArray("[a]\nx=1\r\ny=2\n");
    QTest::newRow("new key goes to the first of repeated sections")
        << QByteArray("[a]\nx=1\n[b]\n[a]\nz=3\n") << "a" << "y" << "2"
        << QByteArray("[a]\nx=1\ny=2\n[b]\n[a]\nz=3\n");
    QTest::newRow("new section at the end")
        << QByteArray("[a]\nx=1\n") << "common" << "backup_dir" << "e:\\"
        << QByteArray("[a]\nx=1\n\n[common]\nbackup_dir=e:\\\n");
    QTest::newRow("new section after a blank last line")
        << QByteArray("[a]\r\nx=1\r\n\r\n") << "b" << "k" << "v"
        << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\nk=v\r\n");
    QTest::newRow("new section after an unterminated last line")
        << QByteArray("[a]\nx=1") << "b" << "k" << "v"
        << QByteArray("[a]\nx=1\n\n[b]\nk=v\n");
    QTest::newRow("empty file")
        << QByteArray() << "PASSWORD" << "pwdstr" << "qtr48"
        << QByteArray("[PASSWORD]\npwdstr=qtr48\n");
    QTest::newRow("byte order mark kept")
        << QByteArray("\xEF\xBB\xBF[s]\nk=1\n") << "s" << "k" << "2"
        << QByteArray("\xEF\xBB\xBF[s]\nk=2\n");
    QTest::newRow("Cyrillic value")
        << QByteArray("[PASSWORD]\npwdstr=x\n") << "PASSWORD" << "pwdstr" << "пароль"
        << QByteArray("[PASSWORD]\npwdstr=пароль\n");
    QTest::newRow("outer blanks kept by quoting")
        << QByteArray("[s]\nk=1\n") << "s" << "k" << " a "
        << QByteArray("[s]\nk=\" a \"\n");
    QTest::newRow("quoted value kept by quoting")
        << QByteArray("[s]\nk=1\n") << "s" << "k" << "'a'"
        << QByteArray("[s]\nk=\"'a'\"\n");
    QTest::newRow("empty value")
        << QByteArray("[s]\nk=1\n") << "s" << "k" << ""
        << QByteArray("[s]\nk=\n");
}

void TestIniFile::writeString()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    writeBytes(before);
    IniFile ini(path());
    ini.writeString(section, key, value);
    QCOMPARE(readBytes(), after);
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), value);
}

void TestIniFile::writeCreatesMissingFile()
{
    IniFile ini(path());
    ini.writeString("common", "backup_dir", "c:\\grontel\\velmoran\\datarexzerv");
    QCOMPARE(readBytes(), QByteArray("[common]\nbackup_dir=c:\\grontel\\velmoran\\datarexzerv\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"dovra.ini"});
}

void TestIniFile::writeToUnwritableLocationThrows()
{
    // Below a plain file no directory can exist, whoever runs the test.
    writeBytes("[s]\nk=1\n");
    const QString unwritable = path() + "/dovra.ini";
    IniFile ini(unwritable);
    try {
        ini.writeString("s", "k", "2");
        QFAIL("no error for an unwritable file");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains(unwritable), qPrintable(error.message()));
        QVERIFY2(error.message().startsWith("Не удалось записать"), qPrintable(error.message()));
    }
    QCOMPARE(readBytes(), QByteArray("[s]\nk=1\n"));
}

void TestIniFile::writeRejectsLineBreaks()
{
    writeBytes("[s]\nk=1\n");
    IniFile ini(path());
    QVERIFY_THROWS_EXCEPTION(AppError, ini.writeString("s", "k", "2\n[t]\nk=3"));
    QVERIFY_THROWS_EXCEPTION(AppError, ini.writeString("s\r", "k", "2"));
    QCOMPARE(readBytes(), QByteArray("[s]\nk=1\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
