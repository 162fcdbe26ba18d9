#pragma once
// The program's own pictures (icons, logos), built into the program.

#include <QIcon>

// ":/icons/<name>" or ":/logos/<name>", e.g. AppPicture("icons/save.svg").
QIcon AppPicture(const char* path);
