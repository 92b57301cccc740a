#include "cli/SendCommand.h"

int main(int argc, char* argv[])
{
    return RunSendCommand(argc, argv);
}
