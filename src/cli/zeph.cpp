// zeph: the journal from a terminal or a script.

#include "cli/clirun.h"

int main(int argc, char *argv[])
{
    return runZeph(argc, argv);
}
