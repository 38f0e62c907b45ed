#pragma once

#include "documents/documentcommands.h"

// The station's acts on one Z-report whose cashier mixed up cash and card: the act determining
// the revenue ("АКТ № … Об определении выручки") and its appendix on the corrective encashment,
// withdrawal and deposit. The transfer act of the shift is in transferact.h.

ReportLayout qrAktNB();
ReportLayout qrKorInkassVn();

// The revenue act of the current register's Z-report, with its correction act's number.
ReportLayout printKAkt(DocumentContext &context);
// The appendix of the current register's Z-report, its closing balance brought up to date first.
ReportLayout printKorInkassVn(DocumentContext &context);

// "revenue-act", "correction-appendix", "transfer" and "transfer-blank".
const QList<DocumentCommand> &stationActDocuments();
