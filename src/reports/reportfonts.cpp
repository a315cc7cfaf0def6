#include "reportfonts.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>

namespace Report {

namespace {

constexpr double MeasureDpi = 1200;
constexpr double MmPerInch = 25.4;

// Fonts are measured against a device of printer resolution, so hinting at screen sizes does not creep in.
const QImage &MeasureDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_Mono);
        const int dotsPerMeter = qRound(MeasureDpi / MmPerInch * 1000);
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

QFontMetricsF Metrics(const Font &font)
{
    EnsureReportFonts();
    return QFontMetricsF(ToQFont(font), &MeasureDevice());
}

double ToMm(double dots)
{
    return dots / MeasureDevice().logicalDpiX() * MmPerInch;
}

} // namespace

void EnsureReportFonts()
{
    static const bool done = [] {
        // Only the regular face: the outlines of the wine bold face are as thin as the regular ones (its
        // weight lives in screen bitmaps), so bold Tahoma is better emboldened from the regular outlines.
        const QString path = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        // The program may have added it already at start-up, or the system may have a Tahoma of its own.
        if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")) && QFileInfo::exists(path))
            QFontDatabase::addApplicationFont(path);
        return true;
    }();
    Q_UNUSED(done);
}

QFont ToQFont(const Font &font)
{
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // Sensible stand-ins should a named family be missing altogether.
    if (font.family.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::TypeWriter);
    else if (font.family.startsWith(QLatin1String("Times"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::Serif);
    else
        f.setStyleHint(QFont::SansSerif);
    return f;
}

double TextWidth(const Font &font, const QString &text)
{
    return ToMm(Metrics(font).horizontalAdvance(text));
}

double LineHeight(const Font &font)
{
    return ToMm(Metrics(font).height());
}

double WrappedHeight(const Font &font, double width, const QString &text)
{
    const double dots = width / MmPerInch * MeasureDevice().logicalDpiX();
    return ToMm(Metrics(font).boundingRect(QRectF(0, 0, dots, 1e7), Qt::TextWordWrap, text).height());
}

} // namespace Report
