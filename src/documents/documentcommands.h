#pragma once

#include "platform/report/reportlayout.h"

#include <QStringList>

#include <functional>

class QObject;
class QWidget;
class TfDM;

// The register numbers and date of the Z-report that a document opened last. Blank forms print
// them; all empty until a document has opened one since start.
struct LastOpenedZ
{
    QString manufacturerNumber; // NPROIZV
    QString registrationNumber; // NREG
    QString date;               // dd.mm.yyyy
};

// What a document is prepared from: the shift and register the main window shows.
struct DocumentContext
{
    TfDM &dm;
    qint32 idDovra = 0; // the current shift
    int kassa = 1;      // the current register's number, 1 for the first panel
    qint32 idZ = 0;     // the current register's Z-report for the shift, 0 when it has none
    LastOpenedZ &lastZ;
};

// One document as every caller reaches it: the bottom bar, the panels, the menus and the export
// program. prepare() refreshes what the document reads, writes its captions and returns the
// layout; it throws DbError or ConvertError, and then nothing is output.
struct DocumentCommand
{
    QString name;    // for the export program: "km6", "procedure"
    QString caption; // the menu's or the bar's text
    std::function<ReportLayout(DocumentContext &)> prepare;
};

// Every document that exists, in the order of the export program's list.
const QList<DocumentCommand> &documentCommands();
// Null for a name nobody registered.
const DocumentCommand *findDocument(const QString &name);
QStringList documentNames();

enum class OutputMode { Preview, Print };

// The bar's buttons preview; the same handler raised by anything else (a register panel's
// button, the correction act window) prints directly.
OutputMode outputForSender(const QObject *sender, const QObject *barButton);

// Prepares the document and previews it modally over parent, or prints it on the default
// printer (nothing when there is none).
void outputDocument(const DocumentCommand &command, DocumentContext &context, OutputMode mode,
                    QWidget *parent = nullptr);
// Prepares the document and writes it as a PDF; false when the file cannot be written.
bool exportDocument(const DocumentCommand &command, DocumentContext &context,
                    const QString &fileName);

// The documents of print-all in order: the shift-wide KM-7 and KO-4 first from the first
// register's panel of a complete or accepted shift, then the register's KM-6, KO-4, KO-1, KO-2.
QStringList printAllSequence(bool firstRegister, bool shiftCompleteOrAccepted);
// Prints directly those of the sequence that exist.
void printAll(DocumentContext &context, bool firstRegister, bool shiftCompleteOrAccepted);
