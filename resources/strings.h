#pragma once

#include <QString>

// The string with that identifier from the program's string table, or an
// empty string when there is none.
QString LoadResourceString(int id);
