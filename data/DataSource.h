#pragma once

#include <QString>

namespace korvat {

class DataSet;

// Binds one data set to the grid that shows it; typing in that grid starts
// an edit of the current row.
class DataSource {
public:
    DataSource(QString objectName, DataSet& dataSet) : m_objectName(std::move(objectName)), m_dataSet(dataSet)
    {
    }

    const QString& objectName() const { return m_objectName; }
    DataSet& dataSet() const { return m_dataSet; }
    bool autoEdit() const { return true; }

private:
    QString m_objectName;
    DataSet& m_dataSet;
};

}  // namespace korvat
