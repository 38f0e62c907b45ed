#pragma once

#include <functional>

// Ends the process at once with the exit code: no window or other stack object is destroyed, so
// nothing that runs on a normal close (such as the backup copy) happens.
[[noreturn]] void haltProcess(int exitCode);

// What a test's halt handler throws to unwind back to the test instead of ending the process.
// The error report lets it pass: in production the process would already be gone.
struct HaltRequested
{
    int exitCode;
};

using HaltHandler = std::function<void(int exitCode)>;

// Replaces the halt for tests and returns the previous handler; an empty handler restores the
// real exit. A handler that returns does not stop the halt: the process still ends.
HaltHandler setHaltHandler(HaltHandler handler);
