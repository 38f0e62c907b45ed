#pragma once

#include "documents/documentcommands.h"

// The cash book, unified form KO-4: the day's sheet of one register and of the whole shift, its
// blank, the book's title page and its closing page.

// The layouts, their captions still empty.
ReportLayout qrKO4();
ReportLayout qrKO4Com();
ReportLayout qrKO4BL();
ReportLayout qrKO4TL1();
ReportLayout qrKO4TL2();

// The register's sheet: the closing balances recomputed first, figures of the current Z-report.
ReportLayout printKO4(DocumentContext &context);
// The shift's sheet: the same figures summed over the shift's Z-reports.
ReportLayout printKM4Com(DocumentContext &context);
// The blank sheet, the title page and the closing page: requisites as last read, nothing
// reopened.
ReportLayout mKO4Click(DocumentContext &context);
ReportLayout mKO4TL1Click(DocumentContext &context);
ReportLayout mKO4TL2Click(DocumentContext &context);

// ko4, ko4-shift, ko4-blank, ko4-title1, ko4-title2.
const QList<DocumentCommand> &cashBookDocuments();
