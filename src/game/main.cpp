#include "Application.h"

int main(int argc, char** argv) { return applicationMain(getCommandLineArguments(argc, argv)); }
