#pragma once
#include "res/DialogTemplates.h"

#include <QFont>
#include <QRect>

// A template item's rectangle in pixels. Its right and bottom edges are converted like its
// position, so items that touch in dialog units touch on the screen.
QRect DialogItemRect(const DialogItem& item);

// "MS Sans Serif" at a template's point size: the application's sans font, points at 96 dpi.
QFont DialogFont(int nPointSize);
