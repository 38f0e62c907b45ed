#pragma once

#include "platform/report/preparedreport.h"
#include "platform/report/reportlayout.h"

#include <QStringList>

#include <functional>

class QObject;
class QWidget;
class Dataset;
class TfDM;

// The register numbers and date of the Z-report that a document opened last. Blank forms print
// them; all empty until a document has opened one since start.
struct LastOpenedZ
{
    QString manufacturerNumber; // NPROIZV
    QString registrationNumber; // NREG
    QString date;               // dd.mm.yyyy
};

// The shift as the main window shows it: the texts of its fields, which the forms print as
// they read there.
struct ShiftTexts
{
    QString number;           // the shift's number in the station system (edNSMBUKTS)
    QString date;             // dd.mm.yyyy (edSMDate)
    QString operator1;        // the first operator's full name as chosen
    QString operator2;        // the second operator's, "ВЫБРАТЬ ОПЕРАТОРА" while none is chosen
    QString inkassDate;       // dd.mm.yyyy (memoDateINKASS)
    QString inkassTotal;      // the bag total, "%.2f" with the locale's point (memoSumINKASSvsekv)
    QString inkassTotalShown; // the same grouped for the eye (memoSumINKASSvsekvf)
    QString bagList;          // the numbers of the bags that carry a sum: "6124/1, 124/3"
    QString registersInkass;  // the registers' encashment total, grouped (MemoINKASScommon)
    QString correctiveInkass; // the shift's corrective encashment, grouped (MemoINKASSKorrcommon)
};

inline const QString chooseOperatorText = QStringLiteral("ВЫБРАТЬ ОПЕРАТОРА");

// An operator's choice as the forms print it: the name, nothing while none is chosen.
inline QString chosenOperator(const QString &choice)
{
    return choice == chooseOperatorText ? QString() : choice;
}

// What a document is prepared from: the shift and register the main window shows.
struct DocumentContext
{
    TfDM &dm;
    qint32 idDovra = 0; // the current shift
    int kassa = 1;      // the current register's number, 1 for the first panel
    qint32 idZ = 0;     // the current register's Z-report for the shift, 0 when it has none
    LastOpenedZ &lastZ;
    ShiftTexts shift = {};
    // Stores the closing balances of an open shift before a document reads them; empty where
    // nothing may be written (the export program).
    std::function<void()> recomputeBalances = {};
};

// The common first steps of a register's document: reopens the station's requisites and the
// current register's Z-report, and remembers that report's numbers and date for the blanks.
void openRequisites(TfDM &dm);
void openZActive(DocumentContext &context);
// Blanks and title pages print the requisites as last read, without refreshing them; they read
// them only where nothing has yet (the export program).
void useOpenedRequisites(TfDM &dm);
// Opens a dataset that nothing has opened yet (the export program opens nothing beforehand); an
// open one is taken as it stands.
void openIfClosed(Dataset &dataset);

// One document as every caller reaches it: the bottom bar, the panels, the menus and the export
// program. prepare() refreshes what the document reads, writes its captions and returns the
// layout; it throws DbError or ConvertError, and then nothing is output.
struct DocumentCommand
{
    QString name;    // for the export program: "km6", "procedure"
    QString caption; // the menu's or the bar's text
    std::function<ReportLayout(DocumentContext &)> prepare;
    // Whether there is anything to print for the context (a refund act of a register without
    // refunds has nothing); empty when the document always prints.
    std::function<bool(DocumentContext &)> applies = {};
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
// The named documents that exist and apply to the context, prepared and laid out in order. Each
// is laid out at once: its fields read the data module's datasets, which the next document
// reopens on its own rows.
QList<PreparedReport> prepareDocuments(const QStringList &names, DocumentContext &context);

// The documents of print-all in order: the shift-wide KM-7 and KO-4 first from the first
// register's panel of a complete or accepted shift, then the register's KM-6, KO-4, KO-1, KO-2.
QStringList printAllSequence(bool firstRegister, bool shiftCompleteOrAccepted);
// The shift-wide part of print-all, and the register's own part.
QStringList shiftWideSequence();
QStringList registerSetSequence();
// Prints directly those of the sequence that exist.
void printAll(DocumentContext &context, bool firstRegister, bool shiftCompleteOrAccepted);
