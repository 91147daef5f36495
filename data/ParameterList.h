#pragma once

#include <QByteArray>
#include <QStringList>

namespace korvat {

// A parameter list of a connection or transaction and the block that is sent
// for it, built on first use and again only after the list changed.
class ParameterList {
public:
    using Builder = QByteArray (*)(const QStringList& parameters);

    explicit ParameterList(Builder build) : m_build(build) { }

    const QStringList& lines() const { return m_lines; }
    // Setting the list it already has keeps the block.
    void setLines(const QStringList& lines);
    const QByteArray& block();

private:
    Builder m_build;
    QStringList m_lines;
    QByteArray m_block;
    bool m_stale = true;
};

}  // namespace korvat
