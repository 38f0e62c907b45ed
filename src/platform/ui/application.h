#pragma once

#include <QApplication>

#include <utility>

// The application object is the one place where errors are caught: an exception thrown by any
// handler ends that handler, its message is shown in a box, and the program goes on. No exception
// escapes into Qt, whose event loop is not exception-safe.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows the exception being handled through showError. Call it only inside a catch block.
// A HaltRequested is rethrown, not shown: it stands for a process that has already ended.
void reportCurrentException();

// Runs f outside the event dispatch (start-up before the event loop, tests) with the same error
// report as the application object; returns whether f ran without an error.
template<class F>
bool reportErrors(F &&f)
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        reportCurrentException();
        return false;
    }
}
