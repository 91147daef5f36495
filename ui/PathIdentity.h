#pragma once

#include <QString>

namespace korvat {
class Connection;
}

// True when the connection is attached and its database name is exactly the
// text shown for it.
bool isAttachedAs(const korvat::Connection& connection, const QString& shownPath);

// True when two paths name one and the same existing local file: two
// spellings of one path, a symbolic or a hard link. Paths that cannot be
// resolved (a file that is not there, a server's name) are not the same.
bool isSameFile(const QString& first, const QString& second);
