#pragma once

#include <QDateTime>
#include <QString>

// A moment in the packed DOS form, one signed 32-bit integer: the date in the high 16 bits
// ((year - 1980) << 9 | month << 5 | day), the time in the low 16 bits
// (hours << 11 | minutes << 5 | seconds / 2). Years outside 1980..2107, which the form cannot
// hold, are clamped to its first or last moment. From 2044 on the value is negative.
qint32 packedDosDateTime(const QDateTime &localTime);

// Whether a start at `after` follows one at `before` too closely: fewer than 10 packed units,
// which is 20 seconds within a minute; across a minute, hour or day the packed value jumps and
// the raw 32-bit difference is what counts.
bool isTooSoon(qint32 before, qint32 after);

// The start guard. Creates the lock file empty, or empties and touches an existing one, and
// tells whether the program may go on: false when the previous start rewrote the file too
// soon before this one. Throws AppError when the file cannot be written.
bool checkStartLock(const QString &lockPath);
