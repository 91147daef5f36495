#pragma once

#include <QString>

// The application's title: the program file's name without its folder and
// without everything from its first period on, every character after the
// first in lower case ("Korvat_Devir" gives "Korvat_devir").
QString applicationTitleFromProgramFile(const QString& programFilePath);

// The title of the running program, by the rule above. Kept apart from Qt's
// application display name, which some platforms add to every window caption.
QString applicationTitle();
