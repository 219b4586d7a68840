// Stand-in make: builds what a package project names, as the setup expects of an IDE's tool.
#include "standin/StandinTool.h"

int wmain() { return RunStandin(StandinKind::Make); }
