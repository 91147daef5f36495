#include "IndicatorHeader.h"

IndicatorHeader::IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
}

QSize IndicatorHeader::sizeHint() const
{
    // Its width is fixed; measuring the sections, as the base class does
    // again after every inserted row, would cost per row and tell nothing.
    return QSize(width(), defaultSectionSize());
}

QSize IndicatorHeader::sectionSizeFromContents(int) const
{
    return QSize(width(), defaultSectionSize());
}
