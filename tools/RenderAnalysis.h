#pragma once
#include <string>

// qel-render's analyses (--lyapunov, --map, --bifurcation). True when the command line asks
// for one; exitCode is then the program's exit code.
bool RunAnalysisIfAsked(int argc, char** argv, int& exitCode);

class CAttractor;

// Reads the record's settings from the file given (empty: the program's own), or says on
// standard error why it cannot: a file refused or missing, or one without the kind's section,
// whose values would make a picture or a number of nothing.
bool LoadRecordSettings(CAttractor& record, const std::string& given);

// Whether two paths name one file (through links; "-" is standard output).
bool SameFile(const std::string& a, const std::string& b);
