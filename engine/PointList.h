#pragma once
#include <string>

class CAttractor;

// Writes the pass's points as the plotter computes them, one CSV row each with the colour of
// its segment: i,x,y,z,column,row,color (column and row empty for a point that is not finite),
// through the atomic writer. False with the reason in *error.
bool WritePointList(CAttractor& a, int plane, const std::string& path,
                    std::string* error = nullptr);
