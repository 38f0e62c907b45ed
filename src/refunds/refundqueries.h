#pragma once

#include "platform/data/money.h"

#include <QList>
#include <QString>
#include <QVariant>

class TfDM;

// The refund receipts of the Z-reports (VOZVRAT) and their scratch copy xVozvrat, in which the
// refund window edits the receipts of one Z-report and one payment kind (cash: nalbnal true)
// at a time. A scratch row loaded from VOZVRAT keeps its idVozvrat; a new one has 0. A row
// with neither number nor sum is blank and is never stored.

// One line of the KM-3 act.
struct RefundReceipt
{
    int line = 0;    // NStroki
    QString number;  // NVCheka
    QVariant sum;    // SVCheka: Money, or null when none was typed
};

// Replaces the scratch rows by the stored receipts of the Z-report and kind, in the order they
// were stored, numbered 1, 2, ... Z-report 0 leaves them empty.
void loadXVozvrat(TfDM &dm, qint32 idZ, bool cash);
// Makes the stored receipts of the Z-report and kind equal to the scratch rows that are not
// blank: stored receipts no longer among them go, the loaded ones take their number and sum,
// the new ones are added. All of it or nothing. The scratch rows stay as they are, so new rows
// keep idVozvrat 0 and a second write-back replaces what the first one added.
void storeXVozvrat(TfDM &dm, qint32 idZ, bool cash);

// Line numbers 1, 2, ... in the order of the rows.
void renumXVozvrat(TfDM &dm);
// A new receipt after the last row, not stored yet, numbered after the last line. number
// empty and sum null make no row.
void appendXVozvrat(TfDM &dm, const QString &number, const QVariant &sum);
// Scratch rows are addressed by their rowid. An empty number and a null sum are stored as null.
void setXVozvratNumber(TfDM &dm, qint64 rowKey, const QString &number);
void setXVozvratSum(TfDM &dm, qint64 rowKey, const QVariant &sum);
// Deletes the row and numbers the rest anew.
void deleteXVozvrat(TfDM &dm, qint64 rowKey);

// The sum of the scratch rows ("select sum(SVCheka) from xvozvrat"), 0 when there is none.
Money xVozvratSum(TfDM &dm);
// The sum of the stored receipts of the Z-report and kind.
Money storedVozvratSum(TfDM &dm, qint32 idZ, bool cash);

// The scratch rows in line order.
QList<RefundReceipt> xVozvratReceipts(TfDM &dm);
// The stored receipts of the Z-report and kind numbered as loading would number them, read
// without changing anything.
QList<RefundReceipt> storedReceipts(TfDM &dm, qint32 idZ, bool cash);
