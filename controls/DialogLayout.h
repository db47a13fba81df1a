#pragma once
#include "res/DialogTemplates.h"

#include <QFont>
#include <QRect>

// A template item's rectangle in pixels. Its right and bottom edges are converted like its
// position, so items that touch in dialog units touch on the screen.
QRect DialogItemRect(const DialogItem& item);

// "MS Sans Serif" of the templates: the application's sans font at the largest pixel size
// whose average letter fits the 6-pixel character cell that dialog units assume, so texts
// keep their proportions to the boxes drawn for them. Measured once.
QFont DialogFont();
