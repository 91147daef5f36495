#pragma once

namespace korvat {

// The Firebird client library, and the embedded engine inside it, read their
// configuration files (firebird.conf, databases.conf, plugins.conf) with the
// C library's character classes and case rules. Under a Turkish locale "i"
// and "I" are not each other's cases there, so "security.db" is no longer a
// name the parser knows and every attach fails with "illegal line".
//
// Sets the process's C-library locale for character classes, case and
// numbers to one with the plain rules, in UTF-8 so that file names keep
// passing as UTF-8. Qt takes the desktop's language and its number and date
// forms from the environment, not from this locale, so the window keeps
// following the Turkish desktop.
//
// QCoreApplication sets the C-library locale from the environment when it is
// made: call this after it, and before the client library is first used.
// Returns false when no such locale could be set (the case rules are then
// those of "C", and file names outside ASCII may not attach).
bool useClientLibraryLocale();

// True when the C library's current case rules map "i" and "I" onto each
// other, as the client library's configuration parser expects.
bool hasPlainCaseRules();

}  // namespace korvat
