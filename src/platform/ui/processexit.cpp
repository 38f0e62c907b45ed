#include "processexit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

HaltHandler &haltHandler()
{
    static HaltHandler handler;
    return handler;
}

} // namespace

void haltProcess(int exitCode)
{
    if (const HaltHandler &handler = haltHandler())
        handler(exitCode);
    // std::exit skips every destructor of objects on the stack (the application and its windows);
    // flushing first makes sure nothing written so far is lost should a static destructor fail.
    std::fflush(nullptr);
    std::exit(exitCode);
}

HaltHandler setHaltHandler(HaltHandler handler)
{
    return std::exchange(haltHandler(), std::move(handler));
}
