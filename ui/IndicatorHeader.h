#pragma once

#include <QHeaderView>

// The indicator column of a grid: a vertical header of fixed width that is
// never measured row by row.
class IndicatorHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit IndicatorHeader(QWidget* parent);
    QSize sizeHint() const override;

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
