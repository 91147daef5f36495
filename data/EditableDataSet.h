#pragma once

#include "DataSet.h"
#include "Schema.h"
#include "TableInfo.h"

#include <optional>

namespace korvat {

// An editable data set over one table of the target (`Q_Grubu`, `Q_Stok`,
// `Q_Cari`): fields made from its select's result at each opening, rows
// appended and posted with keys from the table's generator, rows changed and
// deleted through its own statements. Every change reaches the server at once.
class EditableDataSet : public DataSet {
public:
    struct Settings {
        QString tableName;
        schema::EditStatements statements;
        QString keyField;
        QString generator;
    };

    EditableDataSet(QString objectName, Connection& connection, Transaction& transaction,
                    const RegionalSettings& settings, TableInfoCache& tableInfo, Settings definition);
    ~EditableDataSet() override;

    bool canModify() const override { return true; }

    // A new, empty row after the last one, posting or dropping a pending row first.
    void append();
    // Starts changing the current row (an empty data set appends instead).
    void edit();
    // Stores the pending new or changed row.
    void post();
    // Drops the pending row.
    void cancel();
    // Deletes the current row through the delete statement.
    void deleteCurrent();
    void checkBrowseMode() override;

    const QString& generatorName() const { return m_definition.generator; }

protected:
    QStringList selectText() const override { return m_definition.statements.select; }
    std::vector<int> defineFields(SqlDescriptorArea& output) override;
    void prepareEditStatements() override;
    void releaseEditStatements() noexcept override;

private:
    // One of the data set's statements with its parameter names, prepared at
    // opening when the server accepts it then, otherwise at its first use.
    struct EditStatement {
        QStringList lines;
        QString serverText;
        QStringList parameters;
        std::optional<Statement> statement;
        // Each parameter's field (and whether it takes the old value), found
        // at the first run after the fields were made, so a row posted costs
        // no search by name.
        std::vector<std::pair<const Field*, bool>> parameterFields;
    };

    // The fields of the edit statement's parameters; throws "Field '<name>'
    // not found" for a parameter naming none.
    const std::vector<std::pair<const Field*, bool>>& parameterFields(EditStatement& edit, int count);

    void prepare(EditStatement& edit);
    void run(EditStatement& edit, const std::vector<FieldValue>& values,
             const std::vector<FieldValue>* oldValues);
    void postInsert();
    void postEdit();
    void drawKey();
    void checkRequired() const;
    void refreshRow(int row);

    TableInfoCache& m_tableInfoCache;
    Settings m_definition;
    bool m_refreshAfterInsert = false;
    EditStatement m_insert;
    EditStatement m_modify;
    EditStatement m_delete;
    EditStatement m_refresh;
    std::vector<FieldValue> m_oldValues;
    // The generator's statement: its handle is dropped after every key, as
    // the server is asked anew for each row, but its areas and text stay.
    std::optional<Statement> m_generator;
    // Its text, written once for the connection's dialect.
    QString m_generatorText;
    int m_generatorTextDialect = 0;
};

// How a generator's name is written into a statement: as configured when it
// is all upper case, blank-free and no reserved word; otherwise quoted in
// dialect 3 and trimmed in upper case in dialect 1.
QString generatorNameInStatement(const QString& name, int dialect);

}  // namespace korvat
