#include "startup.h"

int main(int argc, char *argv[])
{
    return runGimbal(argc, argv, QStringLiteral("qrc:/main.qml"));
}
