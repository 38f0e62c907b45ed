#pragma once

#include <QString>
#include <QStringList>

// The export program: one document of a shift as a PDF, without a window.
//   --db FILE --shift ID [--kassa N] --doc NAME --out FILE.pdf
// arguments: the command line without the program's name. Returns the exit code, 0 when the PDF
// was written; otherwise message tells why and nothing is written.
int exportFromArguments(const QStringList &arguments, QString &message);
