#pragma once

#include <QString>

namespace bench {

// Builds a source database of the point-of-sale schema with `rows` stock
// cards and `rows` accounts and as many groups as the 16-bit group key
// allows (at most `rows`). Values look like a Turkish shop's: Turkish texts,
// NULLs here and there, prices, stock levels and balances of every sign;
// every tenth card and account is inactive. The same `rows` always gives the
// same file contents.
void generateSource(const QString& path, int rows);

// Cards and accounts that the transfers carry from such a source.
int activeRows(int rows);

}  // namespace bench
