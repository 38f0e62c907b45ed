#include "documentcommands.h"

#include "db/datamodule.h"
#include "documents/instructionsheets.h"
#include "platform/report/reportoutput.h"

namespace {

// A requisite as the station's row holds it now, edits of the requisites window included.
QString currentRequisite(TfDM &dm, const QString &column)
{
    if (dm.tabFILIAL.isOpen())
        dm.tabFILIAL.refresh();
    else
        dm.tabFILIAL.open();
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

} // namespace

const QList<DocumentCommand> &documentCommands()
{
    // A form joins the bar, the panels, the menus and the export program with its line here.
    static const QList<DocumentCommand> commands{
        {QStringLiteral("procedure"), QStringLiteral("ПОРЯДОК ОТЧЕТА"), instructionSheet(qrPoryadok)},
        {QStringLiteral("instruction"), QStringLiteral("ИНСТРУКЦИЯ"), instructionSheet(qrMainInstr)},
    };
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

bool exportDocument(const DocumentCommand &command, DocumentContext &context,
                    const QString &fileName)
{
    return exportPdf(command.prepare(context), fileName);
}

QStringList printAllSequence(bool firstRegister, bool shiftCompleteOrAccepted)
{
    QStringList names;
    if (firstRegister && shiftCompleteOrAccepted)
        names << QStringLiteral("km7") << QStringLiteral("ko4com");
    names << QStringLiteral("km6") << QStringLiteral("ko4") << QStringLiteral("ko1")
          << QStringLiteral("ko2");
    return names;
}

void printAll(DocumentContext &context, bool firstRegister, bool shiftCompleteOrAccepted)
{
    for (const QString &name : printAllSequence(firstRegister, shiftCompleteOrAccepted)) {
        if (const DocumentCommand *command = findDocument(name))
            outputDocument(*command, context, OutputMode::Print);
    }
}
