#pragma once

#include "DataSet.h"
#include "Schema.h"

namespace korvat {

// A read-only query on the source with a fixed list of field objects, one per
// column of its table, named after the query and the column (`qryStokENVANTER`).
class Query : public DataSet {
public:
    Query(QString objectName, Connection& connection, const RegionalSettings& settings,
          const schema::MasterTable& table, QStringList selectLines);

    // The field object of the given name (`qryStokENVANTER`).
    Field& fieldObject(const QString& objectName) const;

protected:
    QStringList selectText() const override { return m_selectLines; }
    std::vector<int> defineFields(SqlDescriptorArea& output) override;
    bool keepsFieldsWhenClosed() const override { return true; }

private:
    QStringList m_selectLines;
};

}  // namespace korvat
