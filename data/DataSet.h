#pragma once

#include "DataSetObserver.h"
#include "DatabaseUser.h"
#include "Errors.h"
#include "Field.h"
#include "FieldDef.h"
#include "RegionalSettings.h"
#include "RowData.h"
#include "Statement.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace korvat {

class Connection;
class Transaction;

enum class DataSetState {
    Inactive,
    Browse,
    Insert,
    Edit
};

// Rows of a select statement, fetched one at a time and only when needed, all
// kept so the data set moves both ways. The current row is read and written
// through the data set's fields.
class DataSet : public DatabaseUser {
public:
    // A data set that names no transaction works in its connection's.
    DataSet(QString objectName, Connection& connection, Transaction* transaction,
            const RegionalSettings& settings);
    ~DataSet() override;
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const QString& objectName() const { return m_objectName; }
    const RegionalSettings& regionalSettings() const { return m_settings; }
    Connection& connection() const { return m_connection; }
    Transaction& transaction() const;

    DataSetState state() const { return m_state; }
    bool active() const { return m_state != DataSetState::Inactive; }

    // Prepares and runs the select and stands on the first row.
    void open();
    // Drops a pending row, closes the cursor and the statements' preparation.
    void close() noexcept;
    void closeForEnd() noexcept override { close(); }

    // Rows fetched so far (a pending new row not counted); 0 when closed.
    int recordCount() const;
    // Every row the select yields, counted by the server in the data set's
    // transaction, however many were fetched; 0 when closed.
    int serverRowCount() const;
    // One column's values over every row the data set's select gives, as the
    // server reads them now (texts; a number as its digits; NULL as empty).
    QStringList serverTexts(const QString& column) const;
    void first();
    void next();
    bool eof() const { return m_eof; }
    // The row the fields read; during an insert, the pending row after the last.
    int currentRow() const { return m_current; }
    // Moves to a row for a grid, posting or dropping a pending row first.
    void moveTo(int row);

    // Rows a grid shows: the fetched ones plus a pending new row.
    int rowsShown() const;
    bool allFetched() const { return m_allFetched; }
    // Fetches up to count more rows; returns how many came.
    int fetchMore(int count);
    void fetchAll();

    int fieldCount() const { return int(m_fields.size()); }
    Field& field(int index) const { return *m_fields[index]; }
    // Finds a field by name without regard to case; the prefixed field-not-found error otherwise.
    Field& fieldByName(QStringView name) const;
    Field* findField(QStringView name) const;

    FieldValue valueAt(int row, int field) const;
    FieldValue currentValue(int field) const;
    void setCurrentValue(int field, const FieldValue& value);
    // A new row holding a value set since its append, or a changed row.
    bool modified() const { return m_modified; }

    virtual bool canModify() const { return false; }
    // Leaves an insert or edit: posts a modified row, drops an unmodified one.
    virtual void checkBrowseMode();

    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);

protected:
    // The lines of the select statement.
    virtual QStringList selectText() const = 0;
    // Makes the fields for the described result; returns, per field, its column.
    virtual std::vector<int> defineFields(SqlDescriptorArea& output) = 0;
    virtual void prepareEditStatements() { }
    virtual void releaseEditStatements() noexcept { }
    // The fields are dropped at close unless the data set has a fixed list.
    virtual bool keepsFieldsWhenClosed() const { return false; }

    void setFields(std::vector<FieldDef> defs, const std::vector<QString>& objectNames = {});
    LayerError closedError() const;
    LayerError prefixedError(const QString& message) const;
    const std::vector<FieldDef>& fieldDefs() const { return m_defs; }
    const RowLayout& layout() const { return m_layout; }
    std::vector<RowData>& rows() { return m_rows; }
    RowData rowFromValues(const std::vector<FieldValue>& values);
    std::vector<FieldValue> valuesOf(int row) const;
    std::vector<FieldValue>& editBuffer() { return m_buffer; }
    void setState(DataSetState state);
    void setCurrent(int row);
    void setModified(bool modified) { m_modified = modified; }
    void setEof(bool eof) { m_eof = eof; }
    template <typename Call> void notify(Call call)
    {
        for (DataSetObserver* observer : std::vector<DataSetObserver*>(m_observers))
            call(*observer);
    }

private:
    bool fetchOne(bool announce = true);

    QString m_objectName;
    Connection& m_connection;
    Transaction* m_transaction;
    const RegionalSettings& m_settings;
    Membership<DatabaseUser> m_inConnection;

    std::vector<FieldDef> m_defs;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<QString> m_foldedNames;  // for lookups without regard to case
    RowLayout m_layout;
    std::vector<int> m_columnOfField;

    std::optional<Statement> m_select;
    Transaction* m_openTransaction = nullptr;
    Membership<DatabaseUser> m_inOpenTransaction;
    RowStore m_rowStore;  // the rows' bytes; declared before the rows that point into it
    std::vector<RowData> m_rows;
    std::vector<FieldValue> m_buffer;
    RowBuilder m_rowBuilder;  // keeps its room from row to row
    DataSetState m_state = DataSetState::Inactive;
    int m_current = -1;
    bool m_eof = true;
    bool m_allFetched = true;
    bool m_modified = false;
    std::vector<DataSetObserver*> m_observers;
};

}  // namespace korvat
