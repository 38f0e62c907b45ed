#include "documents/documentexport.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

// Exports one document of a shift as a PDF; needs no display.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QString message;
    const int code = exportFromArguments(application.arguments().mid(1), message);
    if (code != 0)
        QTextStream(stderr) << "trelvandor-export: " << message << Qt::endl;
    return code;
}
