#pragma once

class Connection;

// Whether an opened file is a station's database this program may work on, checked before the
// schema upgrade or anything else writes to it: made by a version of the program no newer than
// this one, and holding every table and column the delivered file comes with. Throws DbFileError
// naming the file and what is wrong.
void checkStationDatabase(Connection &connection);
