#pragma once

#include "documents/formblocks.h"
#include "documents/formgrid.h"
#include "documents/formsources.h"

#include <QStringList>

class TfDM;
struct DocDateParts;
struct LastOpenedZ;

// Pieces that the register's forms (KM-6, KO-1, KO-2) are built from: where their fields read,
// framed table cells, date lines and names as the forms print them.

// A form is laid out filled, with the current Z-report's figures, or as its blank, which leaves
// them to be written by hand.
enum class FormKind { Filled, Blank };

// A column of the current Z-report; nothing on a blank.
ItemContent zValue(FormKind kind, const QString &column, const QString &pattern = {});
// A column of the Z-report the data module holds, on the blank too (the register's model).
ItemContent zActiveValue(const QString &column);
// The register's manufacturer ("nproizv") or registration ("nreg") number: the current
// Z-report's, or on a blank that of the Z-report a document opened last, which
// setLastRegisterNumbers writes.
ItemContent registerNumber(FormKind kind, const QString &column);
void setLastRegisterNumbers(ReportLayout &layout, const LastOpenedZ &lastZ);
// A plain requisite of the station (tabFILIAL) and a composed one (adoqFILIAL).
ItemContent requisite(const QString &column);
ItemContent composedRequisite(const QString &column);

// A column heading of a table: small print, wrapped, centred.
ReportItem headingCell(const QRectF &rect, const QString &text);
// Text standing on the form's lines.
ReportItem formText(const QRectF &rect, const QString &text,
                    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignBottom,
                    const ReportFont &font = formBodyFont());
// A value underlined for its whole width, without a hint.
ReportItem underlined(const QRectF &rect, const ItemContent &content,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignBottom,
                      const ReportFont &font = formBodyFont());

// A date line whose day, month and year are captions named after prefix.
DateLine dateCaptions(const QString &prefix);
void setDateCaptions(ReportLayout &layout, const QString &prefix, const DocDateParts &parts);

// Points every item that prints the caption at alignment: a cell centres its "-" but puts an
// amount on the right.
void alignCaption(ReportLayout &layout, const QString &caption, Qt::Alignment alignment);

// The operator's name shortened surname first as a form prints it; nothing while none is chosen.
QString chosenOperatorInitials(const QString &choice);

// An amount in fixed notation with two decimals, no grouping and the system's decimal
// separator: «100000,00».
QString plainAmountText(double amount);

// A column of the current Z-report as text or amount: empty or 0 when there is none.
QString zText(TfDM &dm, const QString &column);
double zAmount(TfDM &dm, const QString &column);
