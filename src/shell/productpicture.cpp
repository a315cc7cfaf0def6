#include "productpicture.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap ProductPicture(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient background(frame.topLeft(), frame.bottomRight());
    background.setColorAt(0, QColor(30, 72, 125));
    background.setColorAt(1, QColor(88, 148, 204));
    p.setPen(QColor(20, 50, 90));
    p.setBrush(background);
    p.drawRoundedRect(frame, 12, 12);

    // A stack of coins beside the name.
    const double unit = size.height() / 240.0;
    for (int i = 0; i < 4; ++i) {
        const QRectF coin(28 * unit, (150 - i * 18) * unit, 70 * unit, 26 * unit);
        p.setPen(QPen(QColor(150, 110, 20), 1.5 * unit));
        p.setBrush(QColor(240, 196, 64));
        p.drawEllipse(coin);
    }

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(int(40 * unit));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(115 * unit, 60 * unit, size.width() - 125 * unit, 60 * unit), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Dromvel.Pro"));
    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(int(15 * unit));
    p.setFont(subtitle);
    p.setPen(QColor(225, 235, 250));
    p.drawText(QRectF(118 * unit, 120 * unit, size.width() - 128 * unit, 50 * unit), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Házipénztár nyilvántartás"));
    return pixmap;
}

QIcon ProgramIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 72, 125));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(QColor(150, 110, 20), 2));
    p.setBrush(QColor(240, 196, 64));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QRectF(12, 39 - i * 8, 40, 14));
    return QIcon(pixmap);
}
