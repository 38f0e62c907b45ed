#include "db/delivereddatabase.h"

#include "platform/data/errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

// Install step: makes the delivered database file, with a sample station when asked.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trelvandor-makedb"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Создает файл базы данных AZSVELMORAN.mdb со справочниками."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("путь к новому файлу базы данных"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"), QStringLiteral("добавить пример АЗС: реквизиты, ККМ, операторов"));
    parser.addOption(demoOption);
    parser.process(app);

    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << parser.helpText();
        return 1;
    }

    try {
        const QString path = parser.positionalArguments().constFirst();
        createDeliveredDatabase(path, parser.isSet(demoOption));
    } catch (const AppError &error) {
        err << QCoreApplication::applicationName() << ": " << error.message() << Qt::endl;
        return 1;
    }
    return 0;
}
