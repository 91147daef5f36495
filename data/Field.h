#pragma once

#include "FieldDef.h"
#include "RegionalSettings.h"

#include <QString>

namespace korvat {

class DataSet;

// A field of a data set: reads and writes the data set's current row, as
// text or as a floating-point number.
class Field {
public:
    Field(DataSet& dataSet, int index, FieldDef def, QString objectName = {});
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    // The column's name, as the server gives it.
    const QString& fieldName() const { return m_def.name; }
    // The field object's own name (`qryStokENVANTER`), empty for created fields.
    const QString& objectName() const { return m_objectName; }
    const FieldDef& def() const { return m_def; }
    FieldKind kind() const { return m_def.kind; }
    int size() const { return m_def.size; }
    bool required() const { return m_def.required; }
    bool readOnly() const { return m_def.readOnly; }
    bool isKey() const { return m_def.key; }
    const QString& origin() const { return m_def.origin; }
    int index() const { return m_index; }
    DataSet& dataSet() const { return m_dataSet; }

    bool isNull() const;
    FieldValue value() const;
    // The text form: the stored text, the decimal digits, the general format
    // with 15 significant digits; the empty text for NULL.
    QString asString() const;
    // The value as a double; NULL gives 0.
    double asFloat() const;

    // The empty text stores NULL; otherwise the text is read in the field's kind.
    void setAsString(const QString& text);
    // Sets a value of the field's kind; integers are checked against the field's range.
    void setValue(const FieldValue& value);
    // Sets an integer field, refusing a value outside its range.
    void setAsInteger(qint64 value);
    void clear();

    // The text form of any value held by a field of this kind.
    QString textOf(const FieldValue& value) const;

private:
    const RegionalSettings& settings() const;

    DataSet& m_dataSet;
    int m_index;
    FieldDef m_def;
    QString m_objectName;
};

}  // namespace korvat
