#include "ParameterList.h"

namespace korvat {

void ParameterList::setLines(const QStringList& lines)
{
    if (lines == m_lines)
        return;
    m_lines = lines;
    m_stale = true;
}

const QByteArray& ParameterList::block()
{
    if (m_stale) {
        m_block = m_build(m_lines);
        m_stale = false;
    }
    return m_block;
}

}  // namespace korvat
