#pragma once

#include <QString>

// A database file as an installation delivers it, made fresh as folder/AZSVELMORAN.mdb
// (replacing a file of that name left by an earlier test); returns its path.
// withDemo adds the sample station: requisites, three active registers, four operators.
QString freshDatabase(const QString &folder, bool withDemo = true);
