#include "app/program.h"

#include "platform/ui/application.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    return runProgram(app);
}
