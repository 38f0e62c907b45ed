#pragma once

#include "documents/formblocks.h"

#include <QStringList>

class TfDM;
struct DocDateParts;
struct LastOpenedZ;

// Pieces that the register's forms (KM-6, KO-1, KO-2) are built from: where their fields read,
// framed table cells, date lines and names as the forms print them.

// The data module's datasets that the forms' fields are bound to by these names.
inline constexpr QLatin1String zActiveSource{"adoqZActive"};
inline constexpr QLatin1String filialSource{"adoqFILIAL"};
inline constexpr QLatin1String requisitesSource{"tabFILIAL"};

// Binds the three sources to the datasets as they stand, without reopening any of them.
void bindFormSources(ReportLayout &layout, TfDM &dm);

// The station's requisites for a filled form: both reopened or refreshed, so that edits show at
// once. A blank takes them as they stand, opening only what is not open (a program that
// prints without the main window opens nothing beforehand).
void refreshRequisites(TfDM &dm);
void openRequisitesIfClosed(TfDM &dm);

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

// Columns of a table side by side from left, by their widths.
class ColumnGrid
{
public:
    ColumnGrid(qreal left, const QList<qreal> &widths);

    // Columns first to last (counted from 0) between top and top + height.
    QRectF span(int first, int last, qreal top, qreal height) const;
    QRectF cell(int column, qreal top, qreal height) const
    {
        return span(column, column, top, height);
    }

private:
    QList<qreal> m_edges;
};

// A table cell framed on every side.
ReportItem tableCell(const QRectF &rect, const ItemContent &content,
                     Qt::Alignment alignment = Qt::AlignCenter,
                     const ReportFont &font = formBodyFont());
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

// An operator's choice of the main window as a form prints it: the full name, or the name
// shortened surname first; nothing while no operator is chosen.
QString chosenOperator(const QString &choice);
QString chosenOperatorInitials(const QString &choice);

// An amount in fixed notation with two decimals, no grouping and the system's decimal
// separator: «100000,00».
QString plainAmountText(double amount);

// A column of the current Z-report as text or amount: empty or 0 when there is none.
QString zText(TfDM &dm, const QString &column);
double zAmount(TfDM &dm, const QString &column);
// A plain requisite of the station as text.
QString requisiteText(TfDM &dm, const QString &column);
