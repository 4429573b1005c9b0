#include <cstdio>

#include "cli/run_cli.h"

int main(int argc, char** argv) { return oz::runCli(argc, argv, stdout, stderr); }
