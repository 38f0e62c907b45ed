#pragma once

#include <QString>

// Compares a text dump of laid-out pages with the reference file name in folder goldenDir.
// References are made under the C locale: amounts that the system's locale printed with another
// decimal separator ("1 234,50") are compared as "1 234.50", so one reference serves every run. Empty when they agree;
// otherwise the reason, with the actual dump kept beside the build for comparing by eye.
QString goldenMismatch(const QString &goldenDir, const QString &name, const QString &dump);
