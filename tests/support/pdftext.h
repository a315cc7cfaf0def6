#pragma once

#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QtTest>
#include <algorithm>

// PDF files as the report tests read them back: through pdftotext (Debian poppler-utils).

// The text of a PDF file, pages separated by form feeds; a null string when pdftotext is missing.
inline QString PdfText(const QString &path, const QStringList &options = {})
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, QStringList(options) << path << QStringLiteral("-"));
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Pages of the text pdftotext gives: each page ends with a form feed.
inline int PdfPageCount(const QString &text)
{
    return int(text.count(QLatin1Char('\f')));
}

// What is missing to check a PDF's text and positions: pdftotext, or the Tahoma the layouts name.
inline QString MissingPdfTools()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return QStringLiteral("pdftotext is not installed");
    if (!QFileInfo::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) &&
        !QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return QStringLiteral("no Tahoma font (fonts-wine)");
    return QString();
}

// Skips the test when the PDF tools are missing, but fails it on the build machine (CI set), where they must be.
#define REQUIRE_PDF_TOOLS()                                                                                            \
    do {                                                                                                               \
        const QString missing = MissingPdfTools();                                                                     \
        if (!missing.isEmpty()) {                                                                                      \
            if (qEnvironmentVariableIsSet("CI"))                                                                       \
                QFAIL(qPrintable(missing));                                                                            \
            QSKIP(qPrintable(missing));                                                                                \
        }                                                                                                              \
    } while (false)

// A word of a PDF page as pdftotext -bbox places it, in millimetres from the sheet's top-left corner.
struct PdfWord
{
    QString text;
    QRectF box;
};

inline QList<PdfWord> PdfWords(const QString &path, int page)
{
    const QString xml = PdfText(path, {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                       QStringLiteral("-l"), QString::number(page)});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    const double mm = 25.4 / 72;
    QList<PdfWord> words;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QPointF topLeft(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm);
        const QPointF bottomRight(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm);
        words.append(
            {m.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&")), QRectF(topLeft, bottomRight)});
    }
    return words;
}

// The lines of a PDF page: its words, left to right and joined by blanks, grouped by where they stand, top to
// bottom.
inline QStringList PdfLines(const QString &path, int page)
{
    QList<PdfWord> words = PdfWords(path, page);
    std::stable_sort(words.begin(), words.end(), [](const PdfWord &a, const PdfWord &b) {
        return qAbs(a.box.top() - b.box.top()) > 0.5 ? a.box.top() < b.box.top() : a.box.left() < b.box.left();
    });
    QStringList lines;
    double top = -1;
    for (const PdfWord &w : words) {
        if (lines.isEmpty() || qAbs(w.box.top() - top) > 0.5) {
            lines.append(w.text);
            top = w.box.top();
        } else {
            lines.last() += QLatin1Char(' ') + w.text;
        }
    }
    return lines;
}
