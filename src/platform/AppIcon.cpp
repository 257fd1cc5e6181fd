#include "platform/AppIcon.h"

#include "common/AppIdentity.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon AppIcon::icon() {
    static const QIcon cached = [] {
        QIcon icon;
        QSvgRenderer renderer(QStringLiteral(":/packaging/" QUON_APP_ID ".svg"));
        if (!renderer.isValid())
            return icon;
        for (int size : {16, 24, 32, 48, 64, 96, 128, 192, 256}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            renderer.render(&painter);
            painter.end();
            icon.addPixmap(pixmap);
        }
        return icon;
    }();
    return cached;
}
