#include "SqlDescriptorArea.h"

#include <algorithm>

namespace korvat {

namespace {

// The bytes a fetch writes for a variable of this description.
std::size_t bufferSize(const XSQLVAR& var)
{
    switch (baseType(var)) {
    case SQL_VARYING: return std::size_t(var.sqllen) + sizeof(short);
    default: return std::size_t(std::max<short>(var.sqllen, 1));
    }
}

constexpr std::size_t bufferAlignment = 8;

}  // namespace

SqlDescriptorArea::SqlDescriptorArea(int capacity)
{
    reset(capacity);
}

void SqlDescriptorArea::reset(int capacity)
{
    capacity = std::max(capacity, 1);
    m_area.assign(XSQLDA_LENGTH(capacity), std::byte{0});
    XSQLDA* area = get();
    area->version = SQLDA_VERSION1;
    area->sqln = short(capacity);
    area->sqld = 0;
    m_buffers.clear();
    m_nullIndicators.clear();
    m_bound.clear();
    m_valueSlots.clear();
    m_describedSets.clear();
}

void SqlDescriptorArea::keepDescribedCharacterSets()
{
    m_describedSets.clear();
    for (int i = 0; i < count(); ++i)
        m_describedSets.push_back(CharacterSet::ofColumn(var(i)));
}

bool SqlDescriptorArea::growToDescribed()
{
    const int described = count();
    if (described <= capacity())
        return false;
    reset(described);
    return true;
}

void SqlDescriptorArea::allocateDescribedBuffers()
{
    const int n = count();
    auto alignedSize = [this](int i) {
        return (bufferSize(var(i)) + bufferAlignment - 1) / bufferAlignment * bufferAlignment;
    };
    std::size_t total = 0;
    for (int i = 0; i < n; ++i)
        total += alignedSize(i);
    m_buffers.assign(std::max<std::size_t>(total, 1), std::byte{0});
    m_nullIndicators.assign(std::size_t(std::max(n, 1)), 0);
    std::size_t offset = 0;
    for (int i = 0; i < n; ++i) {
        var(i).sqldata = reinterpret_cast<char*>(m_buffers.data() + offset);
        var(i).sqlind = &m_nullIndicators[i];
        offset += alignedSize(i);
    }
}

void SqlDescriptorArea::bind(int index, short sqlType, const QByteArray& storage, short length)
{
    if (m_bound.size() < std::size_t(count()))
        m_bound.resize(std::size_t(count()));
    m_bound[index] = storage;
    point(index, sqlType, m_bound[index].constData(), length);
}

char* SqlDescriptorArea::textRoom(int index, short length)
{
    if (m_bound.size() < std::size_t(count()))
        m_bound.resize(std::size_t(count()));
    QByteArray& room = m_bound[index];
    room.resize(length);  // keeps its capacity from bind to bind
    point(index, SQL_TEXT, room.constData(), length);
    return room.data();
}

void SqlDescriptorArea::point(int index, short sqlType, const char* data, short length)
{
    if (m_nullIndicators.size() < std::size_t(count()))
        m_nullIndicators.assign(std::size_t(count()), 0);
    m_nullIndicators[index] = 0;
    XSQLVAR& v = var(index);
    v.sqltype = short(sqlType | 1);
    v.sqllen = length;
    v.sqlscale = 0;
    v.sqlsubtype = 0;  // text goes as bytes of the connection's character set
    v.sqldata = const_cast<char*>(data);
    v.sqlind = &m_nullIndicators[index];
}

void SqlDescriptorArea::bindNull(int index)
{
    if (m_nullIndicators.size() < std::size_t(count()))
        m_nullIndicators.assign(std::size_t(count()), 0);
    XSQLVAR& v = var(index);
    v.sqltype = short(v.sqltype | 1);
    v.sqldata = nullptr;
    m_nullIndicators[index] = -1;
    v.sqlind = &m_nullIndicators[index];
}

bool SqlDescriptorArea::isNull(int index) const
{
    const XSQLVAR& v = var(index);
    return (v.sqltype & 1) && v.sqlind && *v.sqlind < 0;
}

}  // namespace korvat
