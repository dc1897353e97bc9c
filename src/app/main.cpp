#include "VexiloMain.h"

int main(int argc, char *argv[])
{
    return vexiloMain(argc, argv);
}
