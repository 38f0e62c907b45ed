#include "dirdialog.h"

#include <QFileDialog>

bool TDirDialog::Execute()
{
    QFileDialog browser(nullptr, TitleName, DirPath);
    browser.setObjectName(browserName);
    browser.setFileMode(QFileDialog::Directory);
    // Qt's own browser is the same on every desk; the instruction line is its title.
    browser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog
                       | (NewFolder ? QFileDialog::Options() : QFileDialog::ReadOnly));
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty())
        return false;
    DirPath = browser.selectedFiles().first();
    return true;
}
