#pragma once

#include "FieldDef.h"
#include "RowStore.h"

#include <QStringView>
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
    friend class RowBuilder;
    struct Slot {
        FieldKind kind;
        int offset;
        int previousString;  // slot index of the string before, or -1
    };
    std::vector<Slot> m_slots;
    int m_fixedSize = 0;
};

// One stored row, compact and immutable: rows kept for walking and for the
// grids cost a few hundred bytes each. Its bytes lie in the data set's
// RowStore, so a row and its copies are valid until the store is cleared.
class RowData {
public:
    RowData() = default;

    FieldValue value(const RowLayout& layout, int field) const;
    bool isNull(const RowLayout& layout, int field) const;
    bool isEmpty() const { return m_size == 0; }
    qsizetype byteSize() const { return m_size; }

private:
    friend class RowBuilder;
    int stringEnd(const RowLayout& layout, int slot) const;
    const char* m_bytes = nullptr;
    quint32 m_size = 0;
};

// Writes rows of a layout field by field, in the fields' order, in room it
// keeps from row to row; the finished row is copied into the store.
// A value of another kind than its field's throws std::bad_variant_access.
class RowBuilder {
public:
    void begin(const RowLayout& layout);
    void addNull();
    void addInteger(qint32 value);  // a SmallInt or Integer field
    void addDouble(double value);
    void addText(QStringView text);
    // Room for a text of `length` UTF-16 units, which the caller writes.
    char16_t* addTextRoom(qsizetype length);
    void addValue(const FieldValue& value);
    // The row, kept in `store`; fields not given are NULL.
    RowData finish(RowStore& store);

private:
    const RowLayout::Slot& takeSlot();
    const RowLayout::Slot& nextSlot(FieldKind kind);  // takes it if a value of `kind` fits

    const RowLayout* m_layout = nullptr;
    std::vector<char> m_fixed;
    std::vector<char16_t> m_characters;
    int m_next = 0;
};

}  // namespace korvat
