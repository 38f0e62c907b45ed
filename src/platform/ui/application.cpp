#include "application.h"

#include "platform/data/errors.h"
#include "messages.h"
#include "processexit.h"

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{}

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
