#pragma once

#include "errors.h"

class QSqlError;

// The database file itself cannot be worked on: it is missing, damaged, read-only, held by another
// program or not the program's database. Thrown before anything has been written to the file.
class DbFileError : public DbError
{
public:
    using DbError::DbError;
};

// The checks a database file passes before the program works on it. Every problem is a
// DbFileError whose text names the file and what is wrong with it.
namespace DatabaseFile {

// What can be told without opening the file, so that trying creates and changes nothing: the file
// exists, is not empty, begins as an SQLite database, is not cut short, and it and its folder
// (where the write journal goes) take writes.
void checkBeforeOpening(const QString &fileName);

// SQLite's error on the first reading or writing of a freshly opened file, told as what it means
// for the file.
DbFileError openingError(const QString &fileName, const QSqlError &error);

} // namespace DatabaseFile
