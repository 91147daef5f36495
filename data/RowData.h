#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <vector>

namespace korvat {

// Where each field's value sits in a stored row: a null bitmap, then one
// fixed slot per field (2, 4 or 8 bytes for numbers, the end offset of its
// characters for a string), then the strings' UTF-16 characters.
class RowLayout {
public:
    RowLayout() = default;
    explicit RowLayout(const std::vector<FieldDef>& fields);

    int fieldCount() const { return int(m_slots.size()); }

private:
    friend class RowData;
    struct Slot {
        FieldKind kind;
        int offset;
        int previousString;  // slot index of the string before, or -1
    };
    std::vector<Slot> m_slots;
    int m_fixedSize = 0;
};

// One stored row, compact and immutable: rows kept for walking and for the
// grids cost a few hundred bytes each. Copies share their bytes.
class RowData {
public:
    RowData() = default;
    static RowData make(const RowLayout& layout, const std::vector<FieldValue>& values);

    FieldValue value(const RowLayout& layout, int field) const;
    bool isNull(const RowLayout& layout, int field) const;
    bool isEmpty() const { return m_bytes.isEmpty(); }
    qsizetype byteSize() const { return m_bytes.size(); }

private:
    int stringEnd(const RowLayout& layout, int slot) const;
    QByteArray m_bytes;
};

}  // namespace korvat
