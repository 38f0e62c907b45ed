#pragma once

#include <QList>

class QString;
class QWidget;
class ReportLayout;
struct PreparedReport;

// The three ways out of a layout, all through the same painting. Each lays the layout out
// when called: captions and sources are read at that moment.

// A modal print preview on A4 in the layout's orientation; returns when it is closed.
void preview(const ReportLayout &layout, QWidget *parent = nullptr);
// One copy on the default printer; false, with nothing done, when there is none.
bool printDirect(const ReportLayout &layout);
// False when the file cannot be written.
bool exportPdf(const ReportLayout &layout, const QString &fileName);
// Reports laid out already, one after another in one file.
bool exportPdf(const QList<PreparedReport> &reports, const QString &fileName);
