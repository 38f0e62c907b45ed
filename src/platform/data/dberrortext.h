#pragma once

#include <QString>

class QSqlError;

// The text of a database error for the error report; a busy file, a full disk and a failed write
// are explained in words first.
QString dbErrorText(const QSqlError &error);
