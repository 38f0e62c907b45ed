#pragma once

#include "documents/documentcommands.h"

// The cashier-operator's report KM-6 of the current register: its Z-report restated, the
// correction act's effect on cash and card revenue, the real cash revenue in figures and words
// and where the cash went.

// The filled layout and its blank, which leaves the shift's figures to be written by hand.
ReportLayout qrKM6();
ReportLayout qrKM6BL();

// The registry's preparing functions: the report of the context's register ("km6") and the
// blank ("km6-blank"), which reopens nothing and prints the register numbers of the Z-report
// that a document opened last. printKM6 throws ConvertError for a shift date, or an encashment
// date of a shift with encashment, that is not a dd.mm.yyyy text.
ReportLayout printKM6(DocumentContext &context);
ReportLayout mKM6Click(DocumentContext &context);

const QList<DocumentCommand> &km6Documents();
