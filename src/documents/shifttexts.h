#pragma once

#include "documents/documentcommands.h"

// The shift's texts read from the database, as the main window would show the shift: for
// preparing documents without a window. A shift without operators, encashment or bags gives the
// placeholder names and empty or zero texts.
ShiftTexts readShiftTexts(TfDM &dm, qint32 idDovra);
