#pragma once

#include "documents/documentcommands.h"

// The register's cash orders of the shift: the receipt cash order KO-1, which takes the real
// cash revenue into the cash desk (with its receipt beside a cut line), and the expense cash
// order KO-2, which hands the encashed cash to the collectors.

// The filled layouts and their blanks.
ReportLayout qrKO1();
ReportLayout qrK01BL();
ReportLayout qrKO2();
ReportLayout qrKO2BL();

// The registry's preparing functions: the orders of the context's register ("ko1", "ko2") and
// the blanks ("ko1-blank", "ko2-blank"), which reopen nothing. printKO1 throws ConvertError
// when the Z-report has no date (a register without a Z-report in the shift among them);
// printKO2 when the shift's date is not a dd.mm.yyyy text (an empty one leaves the dates
// blank).
ReportLayout printKO1(DocumentContext &context);
ReportLayout printKO2(DocumentContext &context);
ReportLayout mKO1Click(DocumentContext &context);
ReportLayout mKO2Click(DocumentContext &context);

const QList<DocumentCommand> &cashOrderDocuments();
