// The spherolette program.
#include "shell/app/Program.h"

int main(int argc, char** argv) { return shell::RunProgram(argc, argv); }
