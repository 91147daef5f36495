#pragma once

#include <QByteArray>
#include <QStringList>

namespace korvat {

// The database parameter block of an attach: isc_dpb_version1, then one item
// per non-empty line of the connection's parameter list ("name=value").
// Throws LayerError for a name it does not know or a value too long for it.
QByteArray buildDatabaseParameterBlock(const QStringList& parameters);

// The transaction parameter block: empty for an empty list, otherwise
// isc_tpb_version3 followed by one item per non-blank line.
QByteArray buildTransactionParameterBlock(const QStringList& parameters);

}  // namespace korvat
