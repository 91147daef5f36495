#pragma once

#include <QStringView>
#include <span>

// One column of a grid's column list: the field it shows and its width, 0
// standing for the grid's default width for that field.
struct GridColumn {
    const char* fieldName;
    int width;
};

using GridColumnList = std::span<const GridColumn>;

GridColumnList DBGrid1Columns();
GridColumnList DBGrid2Columns();
GridColumnList DBGrid3Columns();
GridColumnList DBGrid4Columns();
GridColumnList DBGrid5Columns();

// The column list of a grid named by its object name. Empty for DBGrid6,
// which shows one column per field of its data set, and for unknown names.
GridColumnList gridColumns(QStringView gridName);
