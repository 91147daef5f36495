#pragma once

#include "FieldDef.h"

#include <QString>
#include <QStringList>
#include <span>

namespace korvat::schema {

// One column of a master table, in table order.
struct Column {
    const char* name;
    FieldKind kind;
    int size;  // characters, for strings
};

// A master table of the point-of-sale database: its columns, key and generator.
struct MasterTable {
    const char* name;
    std::span<const Column> columns;
    const char* keyColumn;
    const char* generator;
};

extern const MasterTable grubu;  // T_GRUBU, product groups
extern const MasterTable stok;   // T_STOK, stock cards
extern const MasterTable cari;   // T_CARI, current accounts

// The fixed field list of a source query over the table: one field per
// column, the key required and marked as the key, origins "TABLE.COLUMN".
std::vector<FieldDef> queryFieldDefs(const MasterTable& table);

// The five statements of an editable data set over a table, line by line.
struct EditStatements {
    QStringList select;
    QStringList insert;
    QStringList modify;
    QStringList remove;
    QStringList refresh;
};

EditStatements grubuStatements();
EditStatements stokStatements();
EditStatements cariStatements();

// The select statements of the three source queries, line by line.
QStringList grubuQuery();
QStringList stokQuery();
QStringList cariQuery();

}  // namespace korvat::schema
