#pragma once

#include "documents/formblocks.h"
#include "documents/formgrid.h"
#include "platform/report/reportlayout.h"

class Dataset;
class Query;
class TfDM;

// Blocks of the station's shift documents (the KM-7 summary and the acts): the sources their
// fields read, the requisite lines, the small document-number table, the register columns of the
// shift-wide lists, the two signatures and the back-print note. Lengths are millimetres.

// Names of the row sources the fields are bound to: the data module's objects of those names.
inline const QString filialTable = QStringLiteral("tabFILIAL");
inline const QString filialQuery = QStringLiteral("adoqFILIAL");
inline const QString zActiveQuery = QStringLiteral("adoqZActive");
inline const QString blankLines = QStringLiteral("xx");

// A filled form, or its blank to be filled by hand.
enum class FormFill { Filled, Blank };

// The dataset's rows as the layout's source of that name.
void setDatasetSource(ReportLayout &layout, const QString &name, const Dataset &dataset);
// The station's requisites, tabFILIAL and adoqFILIAL, as sources. What is open is read as it
// stands; what nothing has opened yet (in the export program) is opened here.
void setRequisiteSources(ReportLayout &layout, TfDM &dm);
// The empty lines of the blank forms, one per row of xx, as the source blankLines.
void setBlankLineSource(ReportLayout &layout, TfDM &dm);
// Closes the shift-wide query and opens it again for the shift.
void reopenForShift(Query &query, qint32 idDovra);

DataField requisiteField(const QString &column);         // tabFILIAL
DataField composedRequisiteField(const QString &column); // adoqFILIAL: AdrTel, FilialAZS
DataField zActiveField(const QString &column, const QString &pattern = {});

qreal printableWidth(const ReportLayout &layout);

// A field of a filled form; an empty text on the blank.
ItemContent filledOnly(FormFill fill, const ItemContent &content);

// The organisation over "(организация, адрес, номер телефона)", its address, and the
// structural unit over "(структурное подразделение)".
QList<RequisiteLine> stationLines();

// The small table "Номер документа" | "Дата составления" [| "Время ч., мин."] with an empty
// number cell and the given date and time under the headings. Returns its height.
qreal addDocumentNumberTable(QList<ReportItem> &items, const QPointF &at, const ItemContent &date,
                             const std::optional<ItemContent> &time = std::nullopt);
qreal documentNumberTableWidth(bool withTime);

// Shift-wide lists of registers (KM-7, the transfer act): their first columns.
// The headings of the first four columns over three heading rows: the register's number, its
// manufacturer and registration numbers, and its counter's number.
QList<GridCell> registerHeadingCells();
inline const QString confirmationHeading
    = QStringLiteral("Подтверждаю Подпись Заведующего отделом (секцией)");
inline const QString counterHeading
    = QStringLiteral("контрольного счетчика (отчета фискальной памяти)");
// The first five cells of a register's line over source: number and model, the register's two
// numbers, the Z-report's number and its counter (column 5).
QList<GridCell> registerLineCells(const QString &source);
// The same cells emptied for a blank line.
QList<GridCell> blankedCells(QList<GridCell> cells);

// Money in the lists' cells.
inline constexpr Qt::Alignment amountAlignment = Qt::AlignRight | Qt::AlignVCenter;
// The table text of the lists.
ReportFont tableFont();
// Titles and totals.
ReportItem boldText(const QRectF &rect, const QString &text, qreal pointSize,
                    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// "Руководитель" with UPRAVDOLJN, a signature cell and managerCaption; "Старший кассир" with a
// signature cell and cashierCaption beneath it. Returns the height taken.
inline const QString managerCaption = QStringLiteral("lblUpravFIO");
inline const QString cashierCaption = QStringLiteral("lblStKassirFIO");
qreal addManagerAndCashier(QList<ReportItem> &items, const QPointF &at);

// A small line at the bottom of every page, below the space the bands may fill.
void addBackPrintNote(ReportLayout &layout, const QString &text, qreal pointSize);
