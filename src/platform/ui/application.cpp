#include "application.h"

#include <ctime>

#include "platform/data/errors.h"
#include "messages.h"
#include "processexit.h"

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Without TZ, the C library looks /etc/localtime up again at every local-time conversion,
    // one file lookup per date read; naming the same file once keeps the zone and drops them.
    if (qEnvironmentVariableIsEmpty("TZ")) {
        qputenv("TZ", ":/etc/localtime");
        tzset();
    }
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException();
        return false;
    }
}

void reportCurrentException()
{
    try {
        throw;
    } catch (const HaltRequested &) {
        throw;
    } catch (const AppError &error) {
        showError(error.message());
    } catch (const std::exception &error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(QStringLiteral("Непредвиденная ошибка"));
    }
}
