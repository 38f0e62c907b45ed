#pragma once

class Application;

// The whole program once its application object exists: the start guard, the windows in their
// order and the event loop. Returns the exit code.
int runProgram(Application &app);
