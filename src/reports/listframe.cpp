#include "listframe.h"

#include "ledgerops.h"
#include "makerinfo.h"
#include "reportfonts.h"

#include <QLocale>

using namespace Report;

namespace ListFrame {

Context CurrentContext(Engine &engine, const QString &formatFt)
{
    return {ReadOwnerHeading(engine), formatFt.isEmpty() ? QStringLiteral("### ### ##0") : formatFt,
            QDateTime::currentDateTime()};
}

PageBand Footer(const PageSetup &setup, double pointSize, const QString &title, const QString &reportName,
                const QDateTime &printedAt)
{
    const double width = setup.printableSize().width();
    const Font font{QStringLiteral("Courier New"), pointSize};
    const QString printed = QLocale().toString(printedAt, QLocale::ShortFormat);
    PageBand footer;
    footer.height = FooterHeight;
    footer.build = [=](const PageInfo &info) {
        const double line = LineHeight(font);
        const double top = 1.3;
        const double bottom = FooterHeight - 1.3 - line;
        Band b;
        b.add(HorizontalLine(0, 0, width), QStringLiteral("lablec_vonal"));
        b.add(Label(QStringLiteral("Dromvel.Pro"), 0, top, font), QStringLiteral("lablec_program"));
        b.add(Label(printed, 0, top, font, width, Qt::AlignRight), QStringLiteral("lablec_nyomtatva"));
        b.add(Label(title, 0, top + line, font, width, Qt::AlignRight), QStringLiteral("lablec_cim"));
        b.add(Label(QStringLiteral("oldal: %1").arg(info.number), 0, bottom, font), QStringLiteral("lablec_oldal"));
        b.add(Label(QString::fromUtf8(MakerInfo::HomePage), 0, bottom, font, width, Qt::AlignHCenter),
              QStringLiteral("lablec_honlap"));
        b.add(Label(reportName, 0, bottom, font, width, Qt::AlignRight), QStringLiteral("lablec_nev"));
        return b.elements;
    };
    return footer;
}

QList<Element> TitleBlock(const QString &title, const QString &tillName, double tillNameWidth,
                          const OwnerHeading &owner, double right)
{
    Band b;
    b.add(Label(title, 0, 1.3, Tahoma16Bold), QStringLiteral("cim"));
    b.add(FittedLabel(tillName, 0, 7.9, Tahoma10Bold, tillNameWidth), QStringLiteral("kassza_nev"));
    b.elements << OwnerBlock(owner, right);
    return b.elements;
}

QList<Element> PeriodTitleBlock(const QString &title, const QString &tillName, const QDate &from, const QDate &to,
                                const OwnerHeading &owner, double right)
{
    Band b;
    b.elements = TitleBlock(title, tillName, right - OwnerWidth, owner, right);
    b.add(Label(PeriodLine(from, to), 0, 11.9, Tahoma10Bold), QStringLiteral("idoszak"));
    return b.elements;
}

QList<Element> OwnerBlock(const OwnerHeading &owner, double right)
{
    const double left = right - OwnerWidth;
    Band b;
    b.add(FittedLabel(owner.tulajdonos, left, 1.3, Tahoma10Bold, OwnerWidth, Qt::AlignRight),
          QStringLiteral("tulajdonos"));
    b.add(FittedLabel(owner.irszvaros, left, 5.6, Tahoma10, OwnerWidth, Qt::AlignRight), QStringLiteral("irszvaros"));
    b.add(FittedLabel(owner.telefon, left, 9.9, Tahoma10, OwnerWidth, Qt::AlignRight), QStringLiteral("telefon"));
    return b.elements;
}

Element Cell(const QString &text, double left, double top, double width, const Font &font, double lineHeight,
             Qt::Alignment alignment)
{
    Element e;
    e.text = text;
    e.font = font;
    e.alignment = alignment;
    e.box = QRectF(left, top, width, lineHeight);
    e.clip = true;
    return e;
}

Band TotalsBand(double height, double width)
{
    Band b;
    b.height = height;
    b.add(HorizontalLine(0, 0, width), QStringLiteral("osszesen_vonal"));
    b.add(Label(QStringLiteral("Összesen"), 7.9, 1.3, Tahoma8), QStringLiteral("osszesen"));
    b.add(HorizontalLine(0, height, width), QStringLiteral("osszesen_vonal_alul"));
    return b;
}

QString PeriodLine(const QDate &from, const QDate &to)
{
    const QString format = QStringLiteral("yyyy.MM.dd");
    return from.toString(format) + QStringLiteral(" - ") + to.toString(format);
}

QString Sorszam(const QVariant &betujel, const QVariant &ssz)
{
    return betujel.isNull() ? QString() : LedgerOps::VoucherNumber(betujel, ssz);
}

std::shared_ptr<SqlExportSource> ListRows(Engine &engine, const QStringList &sql, const QVariantMap &bindings,
                                          const QString &formatFt)
{
    auto rows = std::make_shared<SqlExportSource>(engine, sql.join(QLatin1Char('\n')), bindings);
    rows->setNumberFormat(formatFt).addCalculated(
        QStringLiteral("sorszam"), QStringLiteral("sorszam"), ExportKind::Text, [](const StoredRow &row) {
            return Sorszam(row.value(QStringLiteral("betujel")), row.value(QStringLiteral("ssz")));
        });
    return rows;
}

} // namespace ListFrame
