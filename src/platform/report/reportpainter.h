#pragma once

#include "preparedreport.h"

class QPagedPaintDevice;

// The clear space in millimetres kept between a cell's left and right edges and its text.
inline constexpr qreal reportTextPadding = 1.0;

// Paints the pages onto a PDF writer or a printer, set to A4 in the report's orientation with
// the paper's corner as origin. False when painting could not start (a file that cannot be
// written, a printer that is not ready).
bool paintReport(const PreparedReport &report, QPagedPaintDevice *device);
// Several reports one after another, each page in its own report's orientation.
bool paintReports(const QList<PreparedReport> &reports, QPagedPaintDevice *device);
