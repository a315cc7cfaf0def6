#include "maintenancepicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Dark(30, 72, 125);
const QColor Light(88, 148, 204);

// A wrench lying from lower left to upper right inside the square.
void PaintWrench(QPainter &p, const QRectF &square)
{
    const double u = square.width() / 64.0;
    p.save();
    p.translate(square.center());
    p.rotate(-45);
    p.setPen(QPen(QColor(70, 70, 80), 1.2 * u));
    p.setBrush(QColor(225, 228, 235));
    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-22 * u, -4 * u, 36 * u, 8 * u), 3 * u, 3 * u);
    QPainterPath head;
    head.addEllipse(QPointF(17 * u, 0), 10 * u, 10 * u);
    QPainterPath jaw;
    jaw.addRect(QRectF(15 * u, -4 * u, 14 * u, 8 * u));
    p.drawPath(wrench.united(head).subtracted(jaw));
    p.restore();
}

} // namespace

QPixmap MaintenancePicture(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size.width(), 0);
    background.setColorAt(0, Dark);
    background.setColorAt(1, Light);
    p.fillRect(pixmap.rect(), background);
    const double h = size.height();
    PaintWrench(p, QRectF(h * 0.15, h * 0.1, h * 0.8, h * 0.8));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(int(h * 0.42));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const QRectF text(h * 1.15, 0, size.width() - h * 1.3, h * 0.62);
    p.drawText(text, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Dromvel.Pro"));
    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(int(h * 0.22));
    p.setFont(subtitle);
    p.setPen(QColor(225, 235, 250));
    p.drawText(QRectF(text.left() + 2, h * 0.62, text.width(), h * 0.35), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("adatbázis karbantartás"));
    return pixmap;
}

QIcon MaintenanceIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Dark);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    PaintWrench(p, QRectF(4, 4, 56, 56));
    return QIcon(pixmap);
}
