#pragma once

#include <QDateTime>
#include <QString>

#include <utility>
#include <variant>

namespace korvat {

// A named parameter of the free statement. It holds no value until it is set,
// and then the value with its kind; how the value reaches the server depends
// on that kind and on the column the parameter stands for.
class StatementParameter {
public:
    // monostate: never set (sent as NULL).
    using Value = std::variant<std::monostate, QString, double, QDateTime>;

    explicit StatementParameter(QString name) : m_name(std::move(name)) { }

    // As written after the colon where the name first occurs in the text.
    const QString& name() const { return m_name; }

    void setAsString(const QString& text) { m_value = text; }
    void setAsFloat(double value) { m_value = value; }
    void setAsDateTime(const QDateTime& value) { m_value = value; }
    void clear() { m_value = std::monostate{}; }

    bool isSet() const { return !std::holds_alternative<std::monostate>(m_value); }
    const Value& value() const { return m_value; }
    // Takes over the other's value, keeping this parameter's own name.
    void takeValueOf(const StatementParameter& other) { m_value = other.m_value; }

private:
    QString m_name;
    Value m_value;
};

}  // namespace korvat
