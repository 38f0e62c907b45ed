#pragma once

#include <QApplication>

#include <cstdlib>

// The application that line edits need, headless; made once by LLVMFuzzerInitialize and never
// taken down, as the widgets the targets keep outlive any order of static destruction.
inline void startWidgets()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    Q_UNUSED(app);
}
