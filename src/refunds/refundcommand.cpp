// The main window's refund act command.
#include "km3.h"

#include "app/mainwindow.h"
#include "db/datamodule.h"

void TfMain::btnKM3Click()
{
    leaveFocusedField();
    DocumentContext context = documentContext();
    printKM3(*refundWindow(), context);
}

TfKM3 *TfMain::refundWindow()
{
    if (!m_refundWindow) {
        m_refundWindow = new TfKM3(m_dm, this);
        registerDialog(m_refundWindow);
    }
    return m_refundWindow;
}
