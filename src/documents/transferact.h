#pragma once

#include "documents/documentcommands.h"

// "АКТ ПЕРЕНОСА ДЕНЕЖНЫХ СРЕДСТВ МЕЖДУ ККМ": every register's cash deposits and withdrawals of a
// shift, with their totals and difference.

// The act over adoqPERENOS, and its blank over the empty lines of xx.
ReportLayout qrPERENOS();
ReportLayout qrPERENOSBL();

// The act of the context's shift, dated by the current register's Z-report.
ReportLayout btnAktPerenosClick(DocumentContext &context);
// The blank with the names and the date of the Z-report a document opened last; reads no query
// again.
ReportLayout mPERENOSClick(DocumentContext &context);
