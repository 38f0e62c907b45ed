#include "platform/data/errors.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/processexit.h"

#include <QEventLoop>
#include <QtTest>

#include <functional>
#include <stdexcept>

using Action = std::function<void()>;
Q_DECLARE_METATYPE(Action)

namespace {

const QEvent::Type actionEventType = QEvent::Type(QEvent::User + 1);

// Runs the action it is given when it receives the custom event, as a window handler would.
class Handler : public QObject
{
public:
    Action action;
    int handled = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != actionEventType)
            return QObject::event(event);
        ++handled;
        action();
        return true;
    }
};

void addFailureRows()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("expected");

    QTest::newRow("database error") << Action([] { throw DbError("Нет связи с базой данных"); })
                                    << "Нет связи с базой данных";
    QTest::newRow("conversion error") << Action([] { throw ConvertError("'12,3,4' не число"); })
                                      << "'12,3,4' не число";
    QTest::newRow("standard exception, UTF-8")
        << Action([] { throw std::runtime_error("Файл не найден"); }) << "Файл не найден";
    QTest::newRow("anything else") << Action([] { throw 42; }) << "Непредвиденная ошибка";
}

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void postedEventFailureIsShownAndLoopGoesOn_data() { addFailureRows(); }
    void postedEventFailureIsShownAndLoopGoesOn();
    void sentEventFailureReturnsFalse();
    void queuedSlotFailureIsShown();
    void reportErrorsShowsFailure_data() { addFailureRows(); }
    void reportErrorsShowsFailure();
    void reportErrorsPassesSuccess();
    void haltRequestIsNotReported();
};

void TestApplication::postedEventFailureIsShownAndLoopGoesOn()
{
    QFETCH(Action, action);
    QFETCH(QString, expected);

    QVERIFY(qobject_cast<Application *>(QCoreApplication::instance()));
    MessageRecorder recorder;
    Handler failing;
    failing.action = action;
    Handler later;
    later.action = [] {};

    // The failure must not leave the event loop: the event after it is still handled and the
    // loop ends only by its own quit.
    QEventLoop loop;
    QCoreApplication::postEvent(&failing, new QEvent(actionEventType));
    QCoreApplication::postEvent(&later, new QEvent(actionEventType));
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    QCOMPARE(loop.exec(), 0);

    QCOMPARE(failing.handled, 1);
    QCOMPARE(later.handled, 1);
    const QList<QPair<MessageKind, QString>> shown{{MessageKind::Error, expected}};
    QCOMPARE(recorder.messages(), shown);
}

void TestApplication::sentEventFailureReturnsFalse()
{
    MessageRecorder recorder;
    Handler failing;
    failing.action = [] { throw DbError("Таблица занята"); };

    QEvent event(actionEventType);
    QVERIFY(!QCoreApplication::sendEvent(&failing, &event));
    QCOMPARE(recorder.texts(), QStringList{"Таблица занята"});
}

void TestApplication::queuedSlotFailureIsShown()
{
    MessageRecorder recorder;
    bool laterRan = false;
    QObject context;
    QMetaObject::invokeMethod(&context, [] { throw DbError("Ошибка записи"); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&context, [&] { laterRan = true; }, Qt::QueuedConnection);

    QTRY_VERIFY(laterRan);
    QCOMPARE(recorder.texts(), QStringList{"Ошибка записи"});
}

void TestApplication::reportErrorsShowsFailure()
{
    QFETCH(Action, action);
    QFETCH(QString, expected);

    MessageRecorder recorder;
    QVERIFY(!reportErrors(action));
    const QList<QPair<MessageKind, QString>> shown{{MessageKind::Error, expected}};
    QCOMPARE(recorder.messages(), shown);
}

void TestApplication::reportErrorsPassesSuccess()
{
    MessageRecorder recorder;
    int runs = 0;
    QVERIFY(reportErrors([&] { ++runs; }));
    QCOMPARE(runs, 1);
    QVERIFY(recorder.messages().isEmpty());
}

// A test's halt unwinds to the test: neither catch point turns it into an error box.
void TestApplication::haltRequestIsNotReported()
{
    MessageRecorder recorder;
    QVERIFY_THROWS_EXCEPTION(HaltRequested, reportErrors([] { throw HaltRequested{1}; }));

    Handler halting;
    halting.action = [] { throw HaltRequested{0}; };
    QEvent event(actionEventType);
    QVERIFY_THROWS_EXCEPTION(HaltRequested, QCoreApplication::sendEvent(&halting, &event));

    QVERIFY(recorder.messages().isEmpty());
}

// The test runs under the program's own application object, not a plain QApplication.
int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
