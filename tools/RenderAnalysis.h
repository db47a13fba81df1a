#pragma once

// qel-render's analyses (--lyapunov, --map, --bifurcation). True when the command line asks
// for one; exitCode is then the program's exit code.
bool RunAnalysisIfAsked(int argc, char** argv, int& exitCode);
