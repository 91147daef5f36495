#include "RowData.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>
#include <variant>

namespace korvat {

namespace {

int slotSize(FieldKind kind)
{
    switch (kind) {
    case FieldKind::SmallInt: return int(sizeof(qint16));
    case FieldKind::Integer: return int(sizeof(qint32));
    case FieldKind::Float: return int(sizeof(double));
    case FieldKind::String: return int(sizeof(quint32));
    }
    return 0;
}

template <typename T> T readAt(const char* bytes, int offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

template <typename T> void writeAt(char* bytes, int offset, T value)
{
    std::memcpy(bytes + offset, &value, sizeof value);
}

}  // namespace

RowLayout::RowLayout(const std::vector<FieldDef>& fields)
{
    const int bitmapSize = (int(fields.size()) + 7) / 8;
    int offset = bitmapSize;
    int previousString = -1;
    m_slots.reserve(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        m_slots.push_back({fields[i].kind, offset, previousString});
        if (fields[i].kind == FieldKind::String)
            previousString = int(i);
        offset += slotSize(fields[i].kind);
    }
    m_fixedSize = offset;
}

void RowBuilder::begin(const RowLayout& layout)
{
    m_layout = &layout;
    m_fixed.assign(std::size_t(layout.m_fixedSize), '\0');
    m_characters.clear();
    m_next = 0;
}

const RowLayout::Slot& RowBuilder::takeSlot()
{
    return m_layout->m_slots.at(std::size_t(m_next++));
}

const RowLayout::Slot& RowBuilder::nextSlot(FieldKind kind)
{
    const RowLayout::Slot& slot = m_layout->m_slots.at(std::size_t(m_next));
    const bool fits = slot.kind == kind || (kind == FieldKind::Integer && slot.kind == FieldKind::SmallInt);
    if (!fits)
        throw std::bad_variant_access();
    return takeSlot();
}

void RowBuilder::addNull()
{
    const int field = m_next;
    const RowLayout::Slot& slot = takeSlot();
    m_fixed[std::size_t(field / 8)] = char(m_fixed[std::size_t(field / 8)] | (1 << (field % 8)));
    if (slot.kind == FieldKind::String)
        writeAt<quint32>(m_fixed.data(), slot.offset, quint32(m_characters.size()));
}

void RowBuilder::addInteger(qint32 value)
{
    const RowLayout::Slot& slot = nextSlot(FieldKind::Integer);
    if (slot.kind == FieldKind::SmallInt)
        writeAt<qint16>(m_fixed.data(), slot.offset, qint16(value));
    else
        writeAt<qint32>(m_fixed.data(), slot.offset, value);
}

void RowBuilder::addDouble(double value)
{
    writeAt<double>(m_fixed.data(), nextSlot(FieldKind::Float).offset, value);
}

char16_t* RowBuilder::addTextRoom(qsizetype length)
{
    const RowLayout::Slot& slot = nextSlot(FieldKind::String);
    const std::size_t begin = m_characters.size();
    m_characters.resize(begin + std::size_t(length));
    writeAt<quint32>(m_fixed.data(), slot.offset, quint32(m_characters.size()));
    return m_characters.data() + begin;
}

void RowBuilder::addText(QStringView text)
{
    std::copy(text.utf16(), text.utf16() + text.size(), addTextRoom(text.size()));
}

void RowBuilder::addValue(const FieldValue& value)
{
    std::visit(
        [this](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                addNull();
            else if constexpr (std::is_same_v<T, qint32>)
                addInteger(v);
            else if constexpr (std::is_same_v<T, double>)
                addDouble(v);
            else
                addText(v);
        },
        value);
}

RowData RowBuilder::finish(RowStore& store)
{
    while (m_next < m_layout->fieldCount())
        addNull();
    const std::size_t textBytes = m_characters.size() * sizeof(char16_t);
    const std::size_t size = m_fixed.size() + textBytes;
    RowData row;
    if (size == 0)
        return row;
    char* bytes = store.allocate(size);
    std::memcpy(bytes, m_fixed.data(), m_fixed.size());
    if (textBytes > 0)
        std::memcpy(bytes + m_fixed.size(), m_characters.data(), textBytes);
    row.m_bytes = bytes;
    row.m_size = quint32(size);
    return row;
}

bool RowData::isNull(const RowLayout& layout, int field) const
{
    if (m_size == 0 || field < 0 || field >= layout.fieldCount())
        return true;
    return (quint8(m_bytes[field / 8]) >> (field % 8)) & 1;
}

int RowData::stringEnd(const RowLayout& layout, int slot) const
{
    return slot < 0 ? 0 : int(readAt<quint32>(m_bytes, layout.m_slots[slot].offset));
}

FieldValue RowData::value(const RowLayout& layout, int field) const
{
    if (isNull(layout, field))
        return std::monostate{};
    const RowLayout::Slot& slot = layout.m_slots[field];
    switch (slot.kind) {
    case FieldKind::SmallInt: return qint32(readAt<qint16>(m_bytes, slot.offset));
    case FieldKind::Integer: return readAt<qint32>(m_bytes, slot.offset);
    case FieldKind::Float: return readAt<double>(m_bytes, slot.offset);
    case FieldKind::String: {
        const int begin = stringEnd(layout, slot.previousString);
        const int end = stringEnd(layout, field);
        return QString(
            reinterpret_cast<const QChar*>(m_bytes + layout.m_fixedSize + begin * int(sizeof(char16_t))),
            end - begin);
    }
    }
    return std::monostate{};
}

}  // namespace korvat
