#pragma once

#include <QtGlobal>

class TfDM;

// The statements of the reference editors, run on the data module's spare query adoq3.

// Stores the number of active registers, the parameter "nkass" that the main window builds its
// register panels by.
void storeRegisterCount(TfDM &dm, int count);

// Whether an active register other than the one with key idKKM (0 for a register not stored
// yet) has the number.
bool registerNumberTaken(TfDM &dm, int number, qint32 idKKM);
