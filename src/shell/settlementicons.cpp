#include "settlementicons.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

namespace SettlementIcons {

QIcon NoSettlement()
{
    static const QIcon icon = [] {
        QPixmap pixmap = Canvas();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(170, 170, 170), 1.5));
        p.drawLine(QPointF(4, 8), QPointF(12, 8));
        return QIcon(pixmap);
    }();
    return icon;
}

QIcon Settled()
{
    static const QIcon icon = [] {
        QPixmap pixmap = Canvas();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(46, 139, 87));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
        return QIcon(pixmap);
    }();
    return icon;
}

QIcon Awaiting()
{
    static const QIcon icon = [] {
        QPixmap pixmap = Canvas();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 126, 34));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 4), QPointF(8, 8.5));
        p.drawLine(QPointF(8, 8.5), QPointF(11, 10));
        return QIcon(pixmap);
    }();
    return icon;
}

} // namespace SettlementIcons
