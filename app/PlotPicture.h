#pragma once
#include <string>

class QCustomPlot;

// How every plot is saved: PNG, or PDF for a ".pdf" name in any case, of the plot drawn at
// width x height (0 x 0: as shown), through the atomic writer. False with the reason in *error.
bool SavePlotPicture(QCustomPlot& plot, const std::string& path, int width = 0, int height = 0,
                     std::string* error = nullptr);
