#include "StatementTypes.h"

namespace korvat {

std::optional<bool> StatementTypes::isSelect(const QByteArray& text) const
{
    const auto found = m_select.constFind(text);
    if (found == m_select.constEnd())
        return std::nullopt;
    return *found;
}

void StatementTypes::remember(const QByteArray& text, bool select)
{
    if (m_select.size() >= capacity)
        m_select.clear();
    m_select.insert(text, select);
}

}  // namespace korvat
