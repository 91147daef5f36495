#pragma once

#include <QString>

namespace korvat {

// What the client library needs of the process before it is loaded.

// The embedded engine keeps its lock files in a shared folder (/tmp/firebird
// unless FIREBIRD_LOCK names another). When that folder exists but this user
// may not write it (say, root created it first), the engine cannot open any
// database; then a private folder of this user's is used instead.
// Returns the folder chosen, or an empty text when the default is usable or
// FIREBIRD_LOCK was already set.
QString chooseEmbeddedLockFolder(const QString& defaultFolder, const QString& privateFolder);

// Prepares the process for the client library: a writable lock folder, and a
// C-library locale of plain case rules in UTF-8 (see ProcessLocale.h), in
// which the library reads its configuration and the file names the layer
// passes in UTF-8.
void prepareClientEnvironment();

}  // namespace korvat
