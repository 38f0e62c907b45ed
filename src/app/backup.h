#pragma once

#include <QString>

// Copies the database file source into folder under its own name, replacing an earlier copy.
// The copy is made with SQLite's own backup (so a file in use is copied as its last committed
// state) into a temporary file in the folder, checked for integrity, then renamed over the
// target: a failed copy (full disk, missing folder, damaged source) leaves the previous copy
// whole and no temporary file behind. False when nothing was copied; error, when given, then
// receives the reason in words.
bool copyFileToDir(const QString &source, const QString &folder, QString *error = nullptr);

// Where copyFileToDir puts source: folder + the part of source after its last "\", "/" or ":",
// joined by "/" unless folder already ends with a separator. Empty when folder or the name is
// empty.
QString copyTargetPath(const QString &source, const QString &folder);
