#pragma once

class QLineEdit;

// Keeps a free-text field from holding half a character. A text cut at the field's length (or a
// broken paste) may end in one half of a character written as two UTF-16 units; the database
// cannot keep such a half and would read back a replacement mark instead of what the field
// shows. The stray half is dropped as the text changes, before anyone is told of the change.
// For a field without a validator of its own.
void keepWholeCharacters(QLineEdit *field);
