#include "htmlpagewriter.h"

#include "devicebuffer.h"

#include <QIODevice>
#include <cmath>

namespace {

// Percent of the grid's width, rounded to the nearest whole number with halves to even.
int Percent(int width, int gridWidth, int visibleCount)
{
    if (gridWidth <= 0)
        return visibleCount > 0 ? int(std::nearbyint(100.0 / visibleCount)) : 0;
    return int(std::nearbyint(width * 100.0 / gridWidth));
}

QString AlignPrefix(const ExportColumn &column)
{
    if (column.alignment() & Qt::AlignRight)
        return QStringLiteral("<p align=\"right\">");
    if (column.alignment() & Qt::AlignHCenter)
        return QStringLiteral("<p align=\"center\">");
    return {};
}

} // namespace

QString HtmlPageWriter::Escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&':
            result += QStringLiteral("&amp;");
            break;
        case '<':
            result += QStringLiteral("&lt;");
            break;
        case '>':
            result += QStringLiteral("&gt;");
            break;
        case '"':
            result += QStringLiteral("&quot;");
            break;
        default:
            result += c;
        }
    }
    return result;
}

qint64 HtmlPageWriter::write(ExportSource &source, QIODevice &device, const ExportControl &control)
{
    const QList<ExportColumn> all = source.columns();
    // The page keeps the grid's column order, which may differ from the field order.
    const QList<int> shown = ShownColumns(all);
    QStringList widths, prefixes;
    for (int i : shown) {
        widths.append(QString::number(Percent(all.at(i).width, source.gridWidth(), int(shown.size()))));
        prefixes.append(AlignPrefix(all.at(i)));
    }

    DeviceBuffer out(device);
    auto line = [&](const QString &text) {
        m_encoder.append(out.bytes(), text);
        out.bytes() += "\r\n";
        out.flushWhenFull();
    };
    const QString title = Escaped(m_title);

    line(QStringLiteral("<html>"));
    line({});
    line(QStringLiteral("<head>"));
    line(QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"));
    line(QStringLiteral("<title>") + title + QStringLiteral("</title>"));
    line(QStringLiteral("<meta name=\"GENERATOR\" content=\"Velmora Bt. Grid2Html\">"));
    line(QStringLiteral("</head>"));
    line({});
    line(QStringLiteral("<body>"));
    line(QStringLiteral("<p><strong><font face=\"Verdana\" size=\"2\">") + title +
         QStringLiteral("</font></strong></p>"));
    line(QStringLiteral("<p><strong><font face=\"Verdana\" size=\"1\"></font></strong></p>"));
    line(QStringLiteral("<div align=\"center\"><center>"));
    line({});
    line(QStringLiteral("<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">"));
    line(QStringLiteral("  <tr>"));
    for (qsizetype c = 0; c < shown.size(); ++c)
        line(QStringLiteral("    <td width=\"") + widths.at(c) +
             QStringLiteral("%\" bgcolor=\"#C0C0C0\"><font face=\"Verdana\" size=\"1\"><strong>") + prefixes.at(c) +
             Escaped(all.at(shown.at(c)).label) + QStringLiteral("</strong></font></td>"));
    line(QStringLiteral("  </tr>"));

    qint64 written = 0;
    source.read([&](const ExportRow &row) {
        if (control.stopped())
            return false;
        line(QStringLiteral("  <tr>"));
        for (qsizetype c = 0; c < shown.size(); ++c)
            line(QStringLiteral("    <td width=\"") + widths.at(c) +
                 QStringLiteral("%\"><font face=\"Verdana\" size=\"1\">") + prefixes.at(c) +
                 Escaped(row.text(shown.at(c))) + QStringLiteral("</font></td>"));
        line(QStringLiteral("  </tr>"));
        control.written(++written);
        return true;
    });

    line(QStringLiteral("</table>"));
    line(QStringLiteral("</center></div>"));
    line({});
    line(QStringLiteral("<p><font face=\"Verdana\" size=\"1\">Összesen %1 sor.</font></p>").arg(written));
    line({});
    line(QStringLiteral("<p><font face=\"Verdana\" size=\"1\">") +
         m_writtenAt.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss")) + QStringLiteral("</font></p>"));
    line({});
    line(QStringLiteral("<p><font face=\"Courier New\" size=\"1\">Dromvel.Pro 1.0.0.1</font></p>"));
    line({});
    line(QStringLiteral("</body>"));
    line(QStringLiteral("</html>"));
    out.flush();
    return written;
}
