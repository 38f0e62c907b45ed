#include "platform/ui/processexit.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

const char childSwitch[] = "--halt-child";

// Run as a child process: prints, halts with the code from its arguments, and shows by its output
// whether a stack object's destructor ran. With "returning" a handler is installed that returns.
[[noreturn]] void runHaltChild(int exitCode, bool returningHandler)
{
    struct Window
    {
        ~Window() { std::fputs("destructor ran\n", stdout); }
    } window;
    if (returningHandler)
        setHaltHandler([](int code) { std::printf(" handler %d", code); });
    std::fputs("before halt", stdout); // no newline: stays in the buffer unless flushed
    haltProcess(exitCode);
}

} // namespace

class TestProcessExit : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setHaltHandler({}); }
    void handlerGetsExitCode();
    void setHaltHandlerReturnsPrevious();
    void processEndsAtOnce_data();
    void processEndsAtOnce();
};

void TestProcessExit::handlerGetsExitCode()
{
    setHaltHandler([](int code) { throw HaltRequested{code}; });
    try {
        haltProcess(3);
        QFAIL("haltProcess returned");
    } catch (const HaltRequested &halt) {
        QCOMPARE(halt.exitCode, 3);
    }
}

void TestProcessExit::setHaltHandlerReturnsPrevious()
{
    int seen = -1;
    QVERIFY(!setHaltHandler([&](int code) { seen = code; }));
    const HaltHandler previous = setHaltHandler({});
    QVERIFY(previous);
    previous(5);
    QCOMPARE(seen, 5);
}

void TestProcessExit::processEndsAtOnce_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expectedOutput");

    QTest::newRow("no handler, code 0") << "plain" << 0 << "before halt";
    QTest::newRow("no handler, code 1") << "plain" << 1 << "before halt";
    QTest::newRow("handler returns") << "returning" << 7 << "before halt handler 7";
}

// Runs this program as a child that halts: the exit code arrives, pending output is not lost, and
// no destructor of a stack object runs.
void TestProcessExit::processEndsAtOnce()
{
    QFETCH(QString, mode);
    QFETCH(int, exitCode);
    QFETCH(QString, expectedOutput);

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {childSwitch, QString::number(exitCode), mode});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), exitCode);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), expectedOutput);
}

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], childSwitch) == 0)
        runHaltChild(std::atoi(argv[2]), std::strcmp(argv[3], "returning") == 0);

    QCoreApplication app(argc, argv);
    TestProcessExit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processexit.moc"
