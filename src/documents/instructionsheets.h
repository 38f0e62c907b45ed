#pragma once

#include "platform/report/reportlayout.h"

// The two one-page instruction sheets: the order of the shift report's papers and the
// operating instructions. Both carry the station's picture and the organisation's name (the
// caption lblOrg) in their page header.

inline constexpr QLatin1String organisationCaption{"lblOrg"};

ReportLayout qrPoryadok();
ReportLayout qrMainInstr();
