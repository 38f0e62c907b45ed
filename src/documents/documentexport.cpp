#include "documentexport.h"

#include "db/datamodule.h"
#include "db/schemaupgrade.h"
#include "documents/documentcommands.h"
#include "documents/shifttexts.h"
#include "platform/data/errors.h"
#include "platform/report/reportoutput.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

constexpr int usageError = 2;
constexpr int dataError = 1;

// Sets of documents in one file: a register's part of print-all, and the whole shift.
const QString registerSetName = QStringLiteral("register-set");
const QString shiftName = QStringLiteral("shift");

QStringList knownNames()
{
    return documentNames() + QStringList{registerSetName, shiftName};
}

struct ExportRequest
{
    QString database;
    qint32 idDovra = 0;
    int kassa = 1;
    bool kassaGiven = false;
    QString document;
    QString output;
};

QString usage()
{
    return QStringLiteral("использование: trelvandor-export --db ФАЙЛ --shift ID [--kassa N] "
                          "--doc ДОКУМЕНТ --out ФАЙЛ.pdf; документы: %1")
        .arg(knownNames().join(QStringLiteral(", ")));
}

// Empty when the request is complete; the reason otherwise.
QString parseRequest(const QStringList &arguments, ExportRequest &request)
{
    QCommandLineParser parser;
    const QCommandLineOption db(QStringLiteral("db"), {}, QStringLiteral("file"));
    const QCommandLineOption shift(QStringLiteral("shift"), {}, QStringLiteral("id"));
    const QCommandLineOption kassa(QStringLiteral("kassa"), {}, QStringLiteral("n"));
    const QCommandLineOption doc(QStringLiteral("doc"), {}, QStringLiteral("name"));
    const QCommandLineOption out(QStringLiteral("out"), {}, QStringLiteral("file"));
    parser.addOptions({db, shift, kassa, doc, out});
    if (!parser.parse(QStringList{QStringLiteral("trelvandor-export")} + arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("лишние аргументы: %1").arg(parser.positionalArguments().join(u' '));
    for (const QCommandLineOption *required : {&db, &shift, &doc, &out}) {
        if (!parser.isSet(*required))
            return QStringLiteral("не указан параметр --%1").arg(required->names().first());
    }

    request.document = parser.value(doc);
    if (!knownNames().contains(request.document)) {
        return QStringLiteral("неизвестный документ «%1»; известные: %2")
            .arg(request.document, knownNames().join(QStringLiteral(", ")));
    }
    bool ok = false;
    request.idDovra = parser.value(shift).toInt(&ok);
    if (!ok || request.idDovra <= 0)
        return QStringLiteral("номер смены «%1» не является целым числом больше нуля")
            .arg(parser.value(shift));
    request.kassaGiven = parser.isSet(kassa);
    if (request.kassaGiven) {
        request.kassa = parser.value(kassa).toInt(&ok);
        if (!ok || request.kassa < 1 || request.kassa > 5)
            return QStringLiteral("номер ККМ «%1» должен быть числом от 1 до 5")
                .arg(parser.value(kassa));
    }
    request.database = parser.value(db);
    request.output = parser.value(out);
    return {};
}

bool shiftExists(TfDM &dm, qint32 idDovra)
{
    dm.adoq.close();
    dm.adoq.setSql(QStringLiteral("SELECT idDOVRA FROM DOVRA WHERE idDOVRA = :iddovra"));
    dm.adoq.setParam(QStringLiteral("iddovra"), idDovra);
    dm.adoq.open();
    return !dm.adoq.isEmpty();
}

// The registers with a Z-report in the shift, by number: (nKass, idZ).
QList<std::pair<int, qint32>> shiftRegisters(TfDM &dm, qint32 idDovra)
{
    dm.adoq.close();
    dm.adoq.setSql(QStringLiteral(
        "SELECT k.nKass, z.idZ FROM ZOTCHET z INNER JOIN KKM k ON k.idKKM = z.idKKM "
        "WHERE z.idDOVRA = :iddovra ORDER BY k.nKass, z.idZ"));
    dm.adoq.setParam(QStringLiteral("iddovra"), idDovra);
    dm.adoq.open();
    QList<std::pair<int, qint32>> registers;
    for (dm.adoq.first(); !dm.adoq.eof(); dm.adoq.next()) {
        registers.append({int(dm.adoq.field(QStringLiteral("nKass")).asInteger()),
                          qint32(dm.adoq.field(QStringLiteral("idZ")).asInteger())});
    }
    dm.adoq.close();
    return registers;
}

// The register's Z-report of the shift, 0 when it has none; -1 when no register has that number.
qint32 registerZReport(TfDM &dm, qint32 idDovra, int kassa)
{
    dm.adoq.close();
    dm.adoq.setSql(QStringLiteral(
        "SELECT IFNULL(z.idZ, 0) AS idZ FROM KKM k "
        "LEFT JOIN ZOTCHET z ON z.idKKM = k.idKKM AND z.idDOVRA = :iddovra "
        "WHERE k.nKass = :kassa ORDER BY z.idZ IS NULL, k.idKKM DESC"));
    dm.adoq.setParam(QStringLiteral("iddovra"), idDovra);
    dm.adoq.setParam(QStringLiteral("kassa"), kassa);
    dm.adoq.open();
    return dm.adoq.isEmpty() ? -1 : dm.adoq.field(QStringLiteral("idZ")).asInteger();
}

// The whole shift in print-all's order, the shift-wide documents once at the start, then each
// register's set followed by its refund acts.
QList<PreparedReport> shiftLayouts(DocumentContext &context)
{
    const QList<std::pair<int, qint32>> registers = shiftRegisters(context.dm, context.idDovra);
    if (!registers.isEmpty())
        std::tie(context.kassa, context.idZ) = registers.first();
    QList<PreparedReport> reports = prepareDocuments(shiftWideSequence(), context);
    const QStringList registerDocuments = registerSetSequence()
                                          + QStringList{QStringLiteral("km3-cash"),
                                                        QStringLiteral("km3-card")};
    for (const auto &[kassa, idZ] : registers) {
        context.kassa = kassa;
        context.idZ = idZ;
        reports += prepareDocuments(registerDocuments, context);
    }
    return reports;
}

QList<PreparedReport> requestedReports(const ExportRequest &request, DocumentContext &context)
{
    if (request.document == shiftName)
        return shiftLayouts(context);
    if (request.document == registerSetName)
        return prepareDocuments(registerSetSequence(), context);
    return prepareDocuments({request.document}, context);
}

int exportRequested(const ExportRequest &request, QString &message)
{
    // Opening checks the file as the program's start does: a missing, damaged, foreign or newer
    // file is refused with the same words.
    TfDM dm({request.database}, QDir::currentPath());
    dm.ADOConAZSKAS.open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(request.database));
    // The export never changes the file, so it cannot bring an old one up to date either.
    if (SchemaUpgrade(dm.ADOConAZSKAS, dm.adoq).schemaVersion() < SchemaUpgrade::currentVersion) {
        message = QStringLiteral("база данных «%1» ещё не обновлена: откройте её один раз "
                                 "в программе сменного отчета").arg(request.database);
        return dataError;
    }
    if (!shiftExists(dm, request.idDovra)) {
        message = QStringLiteral("смена %1 не найдена в «%2»")
                      .arg(QString::number(request.idDovra), request.database);
        return dataError;
    }
    const qint32 idZ = registerZReport(dm, request.idDovra, request.kassa);
    if (idZ < 0 && request.kassaGiven) {
        message = QStringLiteral("ККМ %1 не найдена в «%2»")
                      .arg(QString::number(request.kassa), request.database);
        return dataError;
    }
    LastOpenedZ lastZ;
    DocumentContext context{dm, request.idDovra, request.kassa, qMax(idZ, 0), lastZ,
                            readShiftTexts(dm, request.idDovra)};
    const QList<PreparedReport> reports = requestedReports(request, context);
    if (reports.isEmpty()) {
        message = QStringLiteral("документу «%1» нечего печатать для этой ККМ").arg(request.document);
        return dataError;
    }
    if (!exportPdf(reports, request.output)) {
        message = QStringLiteral("не удалось записать «%1»").arg(request.output);
        return dataError;
    }
    return 0;
}

} // namespace

int exportFromArguments(const QStringList &arguments, QString &message)
{
    ExportRequest request;
    if (const QString problem = parseRequest(arguments, request); !problem.isEmpty()) {
        message = problem + u'\n' + usage();
        return usageError;
    }
    try {
        return exportRequested(request, message);
    } catch (const AppError &error) {
        message = error.message();
        return dataError;
    }
}
