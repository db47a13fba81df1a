#pragma once
#include <cstdio>

class CAttractor;

// Writes the pass's points as the plotter computes them, one CSV row each with the colour of
// its segment: i,x,y,z,column,row,color (column and row empty for a point that is not finite).
// False when the file reports an error.
bool WritePointList(CAttractor& a, int plane, std::FILE* f);
