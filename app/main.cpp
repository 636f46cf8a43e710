#include "program.h"

int main(int argc, char** argv) { return tavlo::program_start(argc, argv); }
