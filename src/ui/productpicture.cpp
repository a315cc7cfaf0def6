#include "productpicture.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Dark(30, 72, 125);
const QColor Light(88, 148, 204);

// Four coins stacked in the square.
void PaintCoins(QPainter &p, const QRectF &square)
{
    const double s = square.width();
    p.setPen(QPen(QColor(150, 110, 20), s / 36));
    p.setBrush(QColor(240, 196, 64));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QRectF(square.left() + s * 0.125, square.top() + s * (0.6 - i * 0.16), s * 0.75, s * 0.3));
}

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

void PaintEmblem(QPainter &p, const QRectF &square, ProductProgram program)
{
    if (program == ProductProgram::Maintenance)
        PaintWrench(p, square);
    else
        PaintCoins(p, square);
}

QString Subtitle(ProductProgram program)
{
    return program == ProductProgram::Maintenance ? QStringLiteral("adatbázis karbantartás")
                                                  : QStringLiteral("Házipénztár nyilvántartás");
}

// The largest pixel size up to `largest` at which the text fits the width.
int FittingPixelSize(QFont font, const QString &text, double width, int largest)
{
    font.setPixelSize(largest);
    const double needed = QFontMetricsF(font).horizontalAdvance(text);
    return needed <= width ? largest : std::max(1, int(largest * width / needed));
}

} // namespace

QPixmap ProductPicture(const QSize &size, ProductProgram program, double cornerRadius)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient background(frame.topLeft(), frame.bottomRight());
    background.setColorAt(0, Dark);
    background.setColorAt(1, Light);
    if (cornerRadius > 0) {
        p.setPen(QColor(20, 50, 90));
        p.setBrush(background);
        p.drawRoundedRect(frame, cornerRadius, cornerRadius);
    } else {
        p.fillRect(pixmap.rect(), background);
    }

    // The emblem in a square at the left, as large as the height allows on a band and a fifth of a card's width.
    const double w = size.width(), h = size.height();
    const double side = std::min(h * 0.8, w * 0.22);
    const QRectF emblem(side * 0.2, (h - side) / 2, side, side);
    PaintEmblem(p, emblem, program);

    // The name and the line under it, as large as fits beside the emblem, centred in the height.
    const double left = emblem.right() + side * 0.25;
    const double width = w - left - side * 0.4;
    QFont title(QStringLiteral("Arial"));
    title.setBold(true);
    const QString name = QStringLiteral("Dromvel.Pro");
    title.setPixelSize(FittingPixelSize(title, name, width, int(h * 0.42)));
    QFont subtitle(QStringLiteral("Arial"));
    const QString line = Subtitle(program);
    subtitle.setPixelSize(FittingPixelSize(subtitle, line, width, std::max(1, title.pixelSize() / 2)));
    const double titleHeight = title.pixelSize() * 1.25, subtitleHeight = subtitle.pixelSize() * 1.4;
    const double top = (h - titleHeight - subtitleHeight) / 2;
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(left, top, width, titleHeight), Qt::AlignLeft | Qt::AlignBottom, name);
    p.setFont(subtitle);
    p.setPen(QColor(225, 235, 250));
    p.drawText(QRectF(left + 2, top + titleHeight, width, subtitleHeight), Qt::AlignLeft | Qt::AlignTop, line);
    return pixmap;
}

QIcon ProgramIcon(ProductProgram program)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Dark);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    PaintEmblem(p, QRectF(4, 4, 56, 56), program);
    return QIcon(pixmap);
}
