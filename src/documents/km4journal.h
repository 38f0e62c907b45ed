#pragma once

#include "documents/documentcommands.h"

// The cashier-operator's journal, unified form KM-4: a register's latest Z-reports and the
// journal's title page.

// The layouts, their captions still empty.
ReportLayout qrKM4();
ReportLayout qrKM4TL();

// The journal of the current register: its five latest Z-reports, oldest first, whichever
// shifts they belong to.
ReportLayout btnKM4Click(DocumentContext &context);
// The title page: requisites as last read, the register of the Z-report a document opened last.
ReportLayout mKM4TLClick(DocumentContext &context);

// km4, km4-title.
const QList<DocumentCommand> &journalDocuments();
