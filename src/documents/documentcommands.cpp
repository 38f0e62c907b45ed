#include "documentcommands.h"

#include "db/datamodule.h"
#include "documents/cashbook.h"
#include "documents/cashorders.h"
#include "documents/instructionsheets.h"
#include "documents/km3act.h"
#include "documents/km4journal.h"
#include "documents/km6form.h"
#include "documents/km7form.h"
#include "documents/stationacts.h"
#include "platform/report/reportoutput.h"

namespace {

// The station's row as it stands now, edits of the requisites window included.
void refreshStationRow(TfDM &dm)
{
    if (dm.tabFILIAL.isOpen())
        dm.tabFILIAL.refresh();
    else
        dm.tabFILIAL.open();
}

QString currentRequisite(TfDM &dm, const QString &column)
{
    refreshStationRow(dm);
    return dm.tabFILIAL.isEmpty() ? QString() : dm.tabFILIAL.field(column).asString();
}

std::function<ReportLayout(DocumentContext &)> instructionSheet(ReportLayout (*build)())
{
    return [build](DocumentContext &context) {
        ReportLayout layout = build();
        layout.setCaption(organisationCaption,
                          currentRequisite(context.dm, QStringLiteral("nazvRBE")));
        return layout;
    };
}

// A registered document with something to print for the context.
const DocumentCommand *printable(const QString &name, DocumentContext &context)
{
    const DocumentCommand *command = findDocument(name);
    return command && (!command->applies || command->applies(context)) ? command : nullptr;
}

} // namespace

void openRequisites(TfDM &dm)
{
    refreshStationRow(dm);
    dm.adoqFILIAL.close();
    dm.adoqFILIAL.open();
}

void openIfClosed(Dataset &dataset)
{
    if (!dataset.isOpen())
        dataset.open();
}

void useOpenedRequisites(TfDM &dm)
{
    openIfClosed(dm.tabFILIAL);
    openIfClosed(dm.adoqFILIAL);
}

void openZActive(DocumentContext &context)
{
    Query &zActive = context.dm.adoqZActive;
    zActive.close();
    zActive.setParam(QStringLiteral("idz"), context.idZ);
    zActive.open();
    if (zActive.isEmpty())
        return;
    context.lastZ = {zActive.field(QStringLiteral("nproizv")).asString(),
                     zActive.field(QStringLiteral("nreg")).asString(),
                     zActive.field(QStringLiteral("ZDay")).asString()};
}

const QList<DocumentCommand> &documentCommands()
{
    // A form joins the bar, the panels, the menus and the export program with its line here.
    static const QList<DocumentCommand> commands = QList<DocumentCommand>{
        {QStringLiteral("procedure"), QStringLiteral("ПОРЯДОК ОТЧЕТА"), instructionSheet(qrPoryadok)},
        {QStringLiteral("instruction"), QStringLiteral("ИНСТРУКЦИЯ"), instructionSheet(qrMainInstr)},
    } + km6Documents()
      + cashOrderDocuments()
      + cashBookDocuments()
      + journalDocuments()
      + km7Documents()
      + stationActDocuments()
      + km3Documents();
    return commands;
}

const DocumentCommand *findDocument(const QString &name)
{
    for (const DocumentCommand &command : documentCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QStringList documentNames()
{
    QStringList names;
    for (const DocumentCommand &command : documentCommands())
        names.append(command.name);
    return names;
}

OutputMode outputForSender(const QObject *sender, const QObject *barButton)
{
    return sender == barButton ? OutputMode::Preview : OutputMode::Print;
}

void outputDocument(const DocumentCommand &command, DocumentContext &context, OutputMode mode,
                    QWidget *parent)
{
    const ReportLayout layout = command.prepare(context);
    if (mode == OutputMode::Preview)
        preview(layout, parent);
    else
        printDirect(layout);
}

QList<PreparedReport> prepareDocuments(const QStringList &names, DocumentContext &context)
{
    QList<PreparedReport> reports;
    for (const QString &name : names) {
        if (const DocumentCommand *command = printable(name, context))
            reports.append(prepareReport(command->prepare(context)));
    }
    return reports;
}

QStringList printAllSequence(bool firstRegister, bool shiftCompleteOrAccepted)
{
    return (firstRegister && shiftCompleteOrAccepted ? shiftWideSequence() : QStringList())
           + registerSetSequence();
}

QStringList shiftWideSequence()
{
    return {QStringLiteral("km7"), QStringLiteral("ko4-shift")};
}

QStringList registerSetSequence()
{
    return {QStringLiteral("km6"), QStringLiteral("ko4"), QStringLiteral("ko1"),
            QStringLiteral("ko2")};
}

void printAll(DocumentContext &context, bool firstRegister, bool shiftCompleteOrAccepted)
{
    for (const QString &name : printAllSequence(firstRegister, shiftCompleteOrAccepted)) {
        if (const DocumentCommand *command = printable(name, context))
            outputDocument(*command, context, OutputMode::Print);
    }
}
