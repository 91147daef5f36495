#pragma once

#include "CharacterSet.h"

#include <ibase.h>

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

namespace korvat {

// Owns an XSQLDA with its variables, their data buffers and null indicators.
// Each variable points into storage held here, never into memory managed by hand.
class SqlDescriptorArea {
public:
    explicit SqlDescriptorArea(int capacity = 1);
    SqlDescriptorArea(SqlDescriptorArea&&) noexcept = default;
    SqlDescriptorArea& operator=(SqlDescriptorArea&&) noexcept = default;

    XSQLDA* get() { return reinterpret_cast<XSQLDA*>(m_area.data()); }
    const XSQLDA* get() const { return reinterpret_cast<const XSQLDA*>(m_area.data()); }

    int capacity() const { return get()->sqln; }
    // The number of variables that the server described.
    int count() const { return get()->sqld; }
    // Grows the area when the server described more variables than it holds;
    // returns true when it grew, so the caller describes again.
    bool growToDescribed();

    XSQLVAR& var(int index) { return get()->sqlvar[index]; }
    const XSQLVAR& var(int index) const { return get()->sqlvar[index]; }

    // Buffers for every variable as described (output: what a fetch fills).
    void allocateDescribedBuffers();
    // Keeps each input variable's described character set: binding a value
    // overwrites the variable's description, but every row's texts must be
    // encoded for their column.
    void keepDescribedCharacterSets();
    CharacterSet describedCharacterSet(int index) const
    {
        return std::size_t(index) < m_describedSets.size() ? m_describedSets[index] : CharacterSet();
    }

    // Points a variable at caller data of its own type (input parameters).
    void bind(int index, short sqlType, const QByteArray& storage, short length);
    // Binds a text of `length` bytes as SQL_TEXT and returns the room, kept by
    // the area, that the caller writes the bytes into.
    char* textRoom(int index, short length);
    // Binds a number or a date, copied into room kept here for each
    // variable: a row's parameters cost no allocation each.
    template <typename T> void bindValue(int index, short sqlType, const T& value)
    {
        static_assert(sizeof(T) <= sizeof(ValueSlot));
        if (m_valueSlots.size() < std::size_t(count()))
            m_valueSlots.resize(std::size_t(count()));
        std::memcpy(m_valueSlots[index].data(), &value, sizeof value);
        point(index, sqlType, m_valueSlots[index].data(), short(sizeof value));
    }
    void bindNull(int index);

    bool isNull(int index) const;
    const char* data(int index) const { return var(index).sqldata; }

    // Empties the area for `capacity` variables, keeping its memory.
    void reset(int capacity);

private:
    using ValueSlot = std::array<char, 8>;
    void point(int index, short sqlType, const char* data, short length);

    std::vector<std::byte> m_area;
    std::vector<std::byte> m_buffers;
    std::vector<short> m_nullIndicators;
    std::vector<QByteArray> m_bound;
    std::vector<ValueSlot> m_valueSlots;
    std::vector<CharacterSet> m_describedSets;
};

// The declared type of a variable without its nullable bit.
inline short baseType(const XSQLVAR& var)
{
    return short(var.sqltype & ~1);
}

}  // namespace korvat
