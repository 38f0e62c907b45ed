#pragma once

#include <QString>

// The folder picker: a modal browser of file-system folders with an instruction line.
class TDirDialog
{
public:
    // The object name of the browser while it is shown, for finding it among the top-level
    // widgets.
    static inline const QString browserName = QStringLiteral("DirDialogBrowser");

    QString TitleName;
    bool NewFolder = false; // whether the browser offers to create a folder
    QString DirPath;        // the folder chosen last

    // True when a folder was chosen (DirPath then holds its full path); a cancel keeps DirPath.
    bool Execute();
};
