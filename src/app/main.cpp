#include "app/cli.h"

int main(int argc, char** argv) { return zt::app::runCommandLine(argc, argv); }
