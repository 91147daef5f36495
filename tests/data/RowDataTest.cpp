#include "RowData.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace korvat;

// Rows written one after another stay intact as their store grows from
// block to block, a row longer than a whole block among them.
TEST(RowDataTest, RowsStayIntactAcrossTheStoresBlocks)
{
    std::vector<FieldDef> fields(3);
    fields[0].kind = FieldKind::Integer;
    fields[2].kind = FieldKind::Float;
    const RowLayout layout(fields);
    RowStore store;
    RowBuilder builder;
    std::vector<RowData> rows;
    const QString longText(3 * 1024 * 1024, u'Ş');
    for (int i = 0; i < 20000; ++i) {
        builder.begin(layout);
        builder.addInteger(i);
        builder.addText(i == 7000 ? longText : u"Ürün %1"_s.arg(i));
        if (i % 3)
            builder.addDouble(i / 4.0);
        rows.push_back(builder.finish(store));
    }
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(rows[i].value(layout, 0), FieldValue(i));
        ASSERT_EQ(rows[i].value(layout, 1), FieldValue(i == 7000 ? longText : u"Ürün %1"_s.arg(i)));
        ASSERT_EQ(rows[i].value(layout, 2), i % 3 ? FieldValue(i / 4.0) : FieldValue());
    }
}
