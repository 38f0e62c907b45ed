#pragma once

#include "documents/documentcommands.h"

// "СВЕДЕНИЯ О ПОКАЗАНИЯХ СЧЕТЧИКОВ КОНТРОЛЬНО-КАССОВЫХ МАШИН И ВЫРУЧКЕ ОРГАНИЗАЦИИ" (КМ-7), a
// shift-wide form: one line per Z-report of the shift with its revenue split into cash and card
// after the correction acts, the totals, and the shift's cash refunds in words.

// The form over adoqKM7, and its blank over the empty lines of xx.
ReportLayout qrKM7();
ReportLayout qrKM7BL();

// KM-7 of the context's shift, dated by the current register's Z-report.
ReportLayout PrintKM7(DocumentContext &context);
// The blank with the manager's name; reads no query again.
ReportLayout mKM7Click(DocumentContext &context);

// "km7" and "km7-blank".
const QList<DocumentCommand> &km7Documents();
