#include "widgets/LayoutHeight.h"

#include <QLayout>

int LayoutHeight::forWidth(const QLayout& layout, int width) {
    return layout.hasHeightForWidth() ? layout.totalHeightForWidth(width)
                                      : layout.totalSizeHint().height();
}
