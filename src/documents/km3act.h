#pragma once

#include "documents/documentcommands.h"
#include "refunds/refundqueries.h"

class QWidget;

// The KM-3 act "О ВОЗВРАТЕ ДЕНЕЖНЫХ СУММ ПОКУПАТЕЛЯМ (КЛИЕНТАМ)": the refund receipts behind a
// Z-report's refund total, one act for the cash refunds (NalVozvrat) and one for the card
// refunds (KredStorno), one line per receipt.

// The act, its captions written by prepareKM3; its detail band prints the source "xVozvrat"
// (NStroki, NVCheka, SVCheka).
ReportLayout qrKM3();
// The blanks of the cash and the card act: the kind's texts fixed, every figure empty, one
// numbered empty line per row of the source "xxx" (idx).
ReportLayout qrKM3BLNAL();
ReportLayout qrKM3BLBNAL();

// The act of one kind over receipts. The requisites (adoqFILIAL, tabFILIAL), the register's
// Z-report (adoqZActive) and the shift's texts are read as they stand in context; nothing is
// reopened. The total is the receipts' sum; when its words do not fit the line, the line keeps
// the Z-report's refund total in words.
ReportLayout prepareKM3(DocumentContext &context, bool cash, const QList<RefundReceipt> &receipts);

// One act from the scratch rows as the refund window left them, previewed or printed.
void printOneKM3(DocumentContext &context, bool cash, OutputMode mode, QWidget *parent = nullptr);

// The Z-report's refund total of the kind, as adoqZActive holds it (0 without a Z-report).
double refundTotal(const DocumentContext &context, bool cash);

// The registry's lines for the act. "km3" is the bar's and the panels' command, which the main
// window runs through the refund window; elsewhere (the export program) it gives the cash act,
// or the card act of a Z-report with card refunds only. "km3-cash" and "km3-card" give each
// act from the stored receipts, without changing anything, and apply only when the kind's
// refund total is above 0. Then the two blanks.
const QList<DocumentCommand> &km3Documents();
