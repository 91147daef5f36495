#include "RowData.h"

#include <cstring>

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

template <typename T> T readAt(const QByteArray& bytes, int offset)
{
    T value;
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

template <typename T> void writeAt(QByteArray& bytes, int offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
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

RowData RowData::make(const RowLayout& layout, const std::vector<FieldValue>& values)
{
    qsizetype characters = 0;
    for (const FieldValue& value : values)
        if (auto text = std::get_if<QString>(&value))
            characters += text->size();

    RowData row;
    row.m_bytes = QByteArray(layout.m_fixedSize + characters * qsizetype(sizeof(char16_t)), '\0');
    quint32 stringEnd = 0;
    for (int i = 0; i < layout.fieldCount() && i < int(values.size()); ++i) {
        const RowLayout::Slot& slot = layout.m_slots[i];
        const FieldValue& value = values[i];
        if (korvat::isNull(value)) {
            row.m_bytes[i / 8] = char(row.m_bytes[i / 8] | (1 << (i % 8)));
            if (slot.kind == FieldKind::String)
                writeAt<quint32>(row.m_bytes, slot.offset, stringEnd);
            continue;
        }
        switch (slot.kind) {
        case FieldKind::SmallInt:
            writeAt<qint16>(row.m_bytes, slot.offset, qint16(std::get<qint32>(value)));
            break;
        case FieldKind::Integer: writeAt<qint32>(row.m_bytes, slot.offset, std::get<qint32>(value)); break;
        case FieldKind::Float: writeAt<double>(row.m_bytes, slot.offset, std::get<double>(value)); break;
        case FieldKind::String: {
            const QString& text = std::get<QString>(value);
            std::memcpy(row.m_bytes.data() + layout.m_fixedSize + stringEnd * sizeof(char16_t), text.utf16(),
                        std::size_t(text.size()) * sizeof(char16_t));
            stringEnd += quint32(text.size());
            writeAt<quint32>(row.m_bytes, slot.offset, stringEnd);
            break;
        }
        }
    }
    // Fields beyond the values given stay NULL.
    for (int i = int(values.size()); i < layout.fieldCount(); ++i) {
        row.m_bytes[i / 8] = char(row.m_bytes[i / 8] | (1 << (i % 8)));
        if (layout.m_slots[i].kind == FieldKind::String)
            writeAt<quint32>(row.m_bytes, layout.m_slots[i].offset, stringEnd);
    }
    return row;
}

bool RowData::isNull(const RowLayout& layout, int field) const
{
    if (m_bytes.isEmpty() || field < 0 || field >= layout.fieldCount())
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
        return QString(reinterpret_cast<const QChar*>(m_bytes.constData() + layout.m_fixedSize +
                                                      begin * int(sizeof(char16_t))),
                       end - begin);
    }
    }
    return std::monostate{};
}

}  // namespace korvat
