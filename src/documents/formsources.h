#pragma once

#include "platform/report/reportlayout.h"

class TfDM;

// The data module's datasets under the names by which the forms' fields read them.
namespace FormSource {
inline const QString station = QStringLiteral("tabFILIAL");     // plain requisites
inline const QString requisites = QStringLiteral("adoqFILIAL"); // composed requisites
inline const QString zActive = QStringLiteral("adoqZActive");
inline const QString zSum = QStringLiteral("adoqZsum");
inline const QString journal = QStringLiteral("adoqZKM4");
} // namespace FormSource

// Lets the layout's fields read every dataset of FormSource, each at its current row (or as the
// detail band's rows).
void bindFormSources(ReportLayout &layout, TfDM &dm);

// A plain requisite of the station as last read (read first when nothing has opened them);
// empty when the station has no row.
QString stationRequisite(TfDM &dm, const QString &column);
