#pragma once

#include <QByteArray>
#include <QHash>

#include <optional>

namespace korvat {

// Whether a statement text is a select, remembered per connection. The kind
// of a statement follows from its text alone, whatever the metadata, so a
// text prepared again (a transfer prepares its entry statements for every
// row) needs no further info call to the server.
class StatementTypes {
public:
    std::optional<bool> isSelect(const QByteArray& text) const;
    void remember(const QByteArray& text, bool select);

private:
    // Enough for every text the program prepares; ad hoc texts beyond it
    // start the memory afresh rather than let it grow.
    static constexpr qsizetype capacity = 256;
    QHash<QByteArray, bool> m_select;
};

}  // namespace korvat
