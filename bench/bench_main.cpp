// Measures the cashier's waits on a new station file and on a twenty-year one and prints, per
// figure, "name: empty=… history=… ratio=…" (median times; peak memory for `memory`), then the
// query plans of the statements that run per field and per shift.
//   trelvandor-bench [--years N] [--runs N]
#include "benchstation.h"

#include "app/mainwindow.h"
#include "db/datamodule.h"
#include "documents/documentcommands.h"
#include "zreport/zotchet.h"

#include "platform/data/dataset.h"
#include "platform/data/errors.h"
#include "platform/report/preparedreport.h"
#include "platform/report/reportoutput.h"
#include "platform/ui/application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString startupChildOption = QStringLiteral("startup-child");

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Milliseconds of each of `runs` calls of work, after one call that warms the caches.
QList<double> timeRuns(int runs, const std::function<void()> &work)
{
    work();
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return times;
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void printFigure(const char *name, double empty, double history, const char *unit)
{
    std::printf("%s: empty=%.2f%s history=%.2f%s ratio=%.2f\n", name, empty, unit, history, unit,
                empty > 0 ? history / empty : 0.0);
    std::fflush(stdout);
}

// The child started per start-up run: the program's windows on the folder, activated, then the
// time and peak memory reported and the process gone.
int startupChild(const QString &folder)
{
    { BenchStation station(folder); }
    std::printf("ready %ld\n", peakResidentKb());
    std::fflush(stdout);
    return 0;
}

struct StartupFigures
{
    double milliseconds = 0;
    double peakKb = 0;
};

StartupFigures measureStartup(const QString &folder, int runs)
{
    QList<double> times;
    QList<double> peaks;
    for (int i = 0; i <= runs; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--") + startupChildOption, folder, QStringLiteral("-platform"),
                     QStringLiteral("offscreen")});
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(30000))
            line += child.readAllStandardOutput();
        const double elapsed = timer.nsecsElapsed() / 1e6;
        child.waitForFinished();
        if (!line.startsWith("ready "))
            throw AppError(QStringLiteral("the start-up run did not finish"));
        if (i == 0)
            continue; // the first start fills the file cache
        times.append(elapsed);
        peaks.append(line.mid(6).trimmed().toDouble());
    }
    return {median(times), median(peaks)};
}

// Leaving a changed amount of the first panel: store, both checks, the shift's balance. The
// deposit is changed so that the counter check passes and the cash check runs as well.
double measureStoreField(const QString &folder, int runs)
{
    BenchStation station(folder);
    TZOtchet *panel = station.main().kassPanels[1];
    QLineEdit *field = panel->edit(QStringLiteral("VNOS"));
    const QString original = field->text();
    const QString changed = QString::number(1.5, 'f', 2).replace(u'.', QLocale::system().decimalPoint());
    bool flip = false;
    return median(timeRuns(runs, [&] {
        flip = !flip;
        field->setText(flip ? changed : original);
        panel->storeZCell(field);
    }));
}

// The same single-row update through SQLite itself, with the program's settings: the floor.
double measureBareUpdate(const QString &folder, int runs)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(QDir(folder).filePath(TfDM::defaultFileName)).constData(), &db,
                    SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    sqlite3_stmt *update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE ZOTCHET SET VNOS = ? WHERE idZ = (SELECT MAX(idZ) FROM ZOTCHET)",
                       -1, &update, nullptr);
    bool flip = false;
    const double result = median(timeRuns(runs, [&] {
        flip = !flip;
        sqlite3_bind_int64(update, 1, flip ? 15000 : 0);
        sqlite3_step(update);
        sqlite3_reset(update);
    }));
    sqlite3_finalize(update);
    sqlite3_close(db);
    return result;
}

// Accepting the open shift and starting the next one: the reload and rebuild of the view.
double measureRebuild(const QString &folder, int runs)
{
    BenchStation station(folder);
    TfMain &main = station.main();
    return median(timeRuns(runs, [&] {
        main.btnDataAcceptClick();
        main.rgNovDOVRAClick(main.rgNovDOVRA);
    }));
}

// The layout of a document of the open shift's first register, prepared and laid out once.
QList<PreparedReport> prepareShiftDocuments(TfMain &main, const QStringList &names)
{
    DocumentContext context = main.documentContext();
    return prepareDocuments(names, context);
}

struct DocumentFigures
{
    double km6 = 0;
    double km6Raw = 0;
    double shiftDocs = 0;
};

// Painting the resolved items straight onto the PDF: what any painting must do at least.
void paintRaw(const PreparedReport &report, const QString &file)
{
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    const double scale = writer.logicalDpiX() / 25.4;
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        for (const PreparedItem &item : report.pages.at(i).items) {
            const QRectF rect(item.rect.topLeft() * scale, item.rect.size() * scale);
            painter.setFont(item.style.font.toQFont());
            painter.drawText(rect, int(item.style.alignment), item.text);
            if (item.style.frame.sides)
                painter.drawRect(rect);
        }
    }
}

DocumentFigures measureDocuments(const QString &folder, const QString &scratch, int runs)
{
    DocumentFigures figures;
    BenchStation station(folder);
    const QString pdf = QDir(scratch).filePath(QStringLiteral("bench.pdf"));
    if (findDocument(QStringLiteral("km6"))) {
        figures.km6 = median(timeRuns(runs, [&] {
            exportPdf(prepareShiftDocuments(station.main(), {QStringLiteral("km6")}), pdf);
        }));
        const PreparedReport km6 = prepareShiftDocuments(station.main(), {QStringLiteral("km6")}).first();
        figures.km6Raw = median(timeRuns(runs, [&] { paintRaw(km6, pdf); }));
    }
    TfMain &main = station.main();
    figures.shiftDocs = median(timeRuns(runs, [&] {
        QList<PreparedReport> reports;
        for (int kassa = 1; kassa <= main.kassPanelCount; ++kassa) {
            main.activeKass = kassa;
            reports += prepareShiftDocuments(main, printAllSequence(kassa == 1, true));
        }
        main.activeKass = 1;
        exportPdf(reports, pdf);
    }));
    return figures;
}

// Which of the statements seen scan a large table in full.
void printQueryPlans(const QString &folder, const QSet<QString> &statements)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(QDir(folder).filePath(TfDM::defaultFileName)).constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    const QStringList watched{QStringLiteral("ZOTCHET"), QStringLiteral("InkassKvit"),
                              QStringLiteral("VOZVRAT"), QStringLiteral("zkorr")};
    int fullScans = 0;
    QStringList sorted(statements.cbegin(), statements.cend());
    sorted.sort();
    std::printf("\nquery plans of the statements run per field and per shift:\n");
    for (const QString &sql : std::as_const(sorted)) {
        sqlite3_stmt *explain = nullptr;
        const QByteArray text = ("EXPLAIN QUERY PLAN " + sql).toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), -1, &explain, nullptr) != SQLITE_OK)
            continue;
        std::printf("- %s\n", qPrintable(sql.simplified().left(160)));
        while (sqlite3_step(explain) == SQLITE_ROW) {
            const QString step = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(explain, 3)));
            bool scans = false;
            for (const QString &table : watched) {
                scans = scans
                        || (step.startsWith(QStringLiteral("SCAN ") + table, Qt::CaseInsensitive)
                            && !step.contains(QStringLiteral("INDEX")));
            }
            fullScans += scans;
            std::printf("    %s%s\n", qPrintable(step), scans ? "   <-- full scan" : "");
        }
        sqlite3_finalize(explain);
    }
    sqlite3_close(db);
    std::printf("full scans of ZOTCHET, InkassKvit, VOZVRAT or zkorr: %s\n",
                fullScans ? qPrintable(QString::number(fullScans)) : "none");
}

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv); // set up as the program sets itself up
    QCommandLineParser parser;
    const QCommandLineOption child(startupChildOption, {}, QStringLiteral("folder"));
    const QCommandLineOption years(QStringLiteral("years"), {}, QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption runs(QStringLiteral("runs"), {}, QStringLiteral("n"), QStringLiteral("15"));
    parser.addOptions({child, years, runs});
    parser.process(app);
    if (parser.isSet(child))
        return startupChild(parser.value(child));

    try {
        QTemporaryDir scratch;
        const QString empty = scratch.filePath(QStringLiteral("empty"));
        const QString history = scratch.filePath(QStringLiteral("history"));
        BenchStation::create(empty, 0);
        BenchStation::create(history, parser.value(years).toInt());
        const int n = parser.value(runs).toInt();
        auto fresh = [&scratch](const QString &station, const QString &name) {
            const QString folder = scratch.filePath(name);
            BenchStation::copy(station, folder);
            return folder;
        };

        const StartupFigures startEmpty = measureStartup(empty, n);
        const StartupFigures startHistory = measureStartup(history, n);
        printFigure("startup", startEmpty.milliseconds, startHistory.milliseconds, "ms");

        QSet<QString> statements;
        setStatementObserver([&statements](const QString &sql) { statements.insert(sql); });
        printFigure("store-field", measureStoreField(fresh(empty, "e1"), n * 4),
                    measureStoreField(fresh(history, "h1"), n * 4), "ms");
        printFigure("bare-update", measureBareUpdate(fresh(empty, "e2"), n * 4),
                    measureBareUpdate(fresh(history, "h2"), n * 4), "ms");
        printFigure("rebuild", measureRebuild(fresh(empty, "e3"), n), measureRebuild(fresh(history, "h3"), n),
                    "ms");
        setStatementObserver({});

        const DocumentFigures docsEmpty = measureDocuments(empty, scratch.path(), n);
        const DocumentFigures docsHistory = measureDocuments(history, scratch.path(), n);
        if (findDocument(QStringLiteral("km6"))) {
            printFigure("km6", docsEmpty.km6, docsHistory.km6, "ms");
            printFigure("km6-raw", docsEmpty.km6Raw, docsHistory.km6Raw, "ms");
        }
        printFigure("shift-docs", docsEmpty.shiftDocs, docsHistory.shiftDocs, "ms");
        printFigure("memory", startEmpty.peakKb / 1024, startHistory.peakKb / 1024, "MiB");

        printQueryPlans(history, statements);
        return 0;
    } catch (const AppError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
}
