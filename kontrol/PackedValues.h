#pragma once

#include "FieldDef.h"
#include "RegionalSettings.h"
#include "SqlDescriptorArea.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>
#include <vector>

namespace korvat::kontrol {

// The values of some columns of a fetched row in one small buffer: 200,000
// cards fit in memory, and two buffers that are equal hold values whose text
// forms are equal. Texts are packed as UTF-8, whatever their column's
// character set; an empty text is packed as NULL, since both carry the same
// text form.
QByteArray packColumns(const SqlDescriptorArea& area, int first, int count);

// The values again, texts decoded.
std::vector<FieldValue> unpackValues(const QByteArray& packed);

// The text form a transfer carries: an integer's digits, a number to 15
// significant digits, the text itself, the empty text for NULL.
QString textForm(const FieldValue& value, const RegionalSettings& settings);

// Single columns of a fetched row.
std::optional<qint64> integerColumn(const SqlDescriptorArea& area, int index);
std::optional<double> numberColumn(const SqlDescriptorArea& area, int index);
FieldValue valueColumn(const SqlDescriptorArea& area, int index);
// A TIMESTAMP or DATE column, as stored.
std::optional<QDateTime> timestampColumn(const SqlDescriptorArea& area, int index);

}  // namespace korvat::kontrol
