// Writes years of daily shifts into a station database, for trying the program and measuring it
// on a file as old as a station's.
//   trelvandor-make-history --db FILE [--years N] [--registers K] [--seed S]
#include "historywriter.h"

#include "db/datamodule.h"
#include "db/schemaupgrade.h"
#include "platform/data/errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Пишет историю смен в базу станции."));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("файл базы"), QStringLiteral("file"));
    const QCommandLineOption years(QStringLiteral("years"), QStringLiteral("лет истории"), QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption registers(QStringLiteral("registers"), QStringLiteral("касс, 1..5"), QStringLiteral("k"), QStringLiteral("5"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("начало случайной последовательности"), QStringLiteral("s"), QStringLiteral("1"));
    parser.addOptions({db, years, registers, seed});
    parser.process(app);
    if (!parser.isSet(db)) {
        std::fprintf(stderr, "укажите файл базы: --db FILE\n");
        return 2;
    }

    HistoryOptions options;
    options.years = parser.value(years).toInt();
    options.registers = parser.value(registers).toInt();
    options.seed = parser.value(seed).toUInt();
    try {
        QElapsedTimer timer;
        timer.start();
        {
            // The history needs the current schema: bring the file up as the program would, after
            // the same checks of the file as the program's start.
            TfDM dm({parser.value(db)}, QDir::currentPath());
            dm.ADOConAZSKAS.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(parser.value(db)));
            if (!SchemaUpgrade(dm.ADOConAZSKAS, dm.adoq).upgradeSchema())
                throw AppError(QStringLiteral("не удалось обновить схему базы"));
        }
        const HistorySummary summary = writeHistory(parser.value(db), options);
        std::printf("%d смен, %d Z-отчетов, %d сумок, %d актов, %d чеков возврата за %lld мс\n",
                    summary.shifts, summary.zReports, summary.bags, summary.acts, summary.refunds,
                    timer.elapsed());
        return 0;
    } catch (const AppError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
}
