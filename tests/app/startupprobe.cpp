// Runs the tool's real start-up with the main file named by the last argument; the arguments
// before it are the tool's own.
#include "startup.h"

int main(int argc, char *argv[])
{
    const QString mainFile = QString::fromLocal8Bit(argv[argc - 1]);
    int toolArguments = argc - 1;
    return runGimbal(toolArguments, argv, mainFile);
}
