#pragma once

#include "reportdocument.h"
#include "reportheadings.h"
#include "sqlexportsource.h"

#include <QDateTime>
#include <memory>

class Engine;

// The frame the list reports share (period reports, the cash report, grid printing): the page footer with the
// page number and the report's names, the owner block of the page header, and the cells of their rows.
namespace ListFrame {

inline const Report::Font Tahoma8{QStringLiteral("Tahoma"), 8};
inline const Report::Font Tahoma8Bold{QStringLiteral("Tahoma"), 8, true};
inline const Report::Font Tahoma8Italic{QStringLiteral("Tahoma"), 8, false, true};
inline const Report::Font Tahoma9{QStringLiteral("Tahoma"), 9};
inline const Report::Font Tahoma9Bold{QStringLiteral("Tahoma"), 9, true};
inline const Report::Font Tahoma9Italic{QStringLiteral("Tahoma"), 9, false, true};
inline const Report::Font Tahoma10{QStringLiteral("Tahoma"), 10};
inline const Report::Font Tahoma10Bold{QStringLiteral("Tahoma"), 10, true};
inline const Report::Font Tahoma16Bold{QStringLiteral("Tahoma"), 16, true};

constexpr double FooterHeight = 14.6;
// Where the owner block starts from the right edge: room for a long firm name beside the report's heading.
constexpr double OwnerWidth = 90.0;

// What every list prints besides its rows.
struct Context
{
    OwnerHeading owner;
    QString formatFt; // amount format of the rows
    QDateTime printedAt;
};
Context CurrentContext(Engine &engine, const QString &formatFt);

// The page footer: a line on top; "Dromvel.Pro" at the left, the time of printing and under it the title at the
// right; on the bottom line "oldal: " and the page number, the maker's web page centred, the report's own name
// at the right. Courier New of the given size, as wide as the printable area.
Report::PageBand Footer(const Report::PageSetup &setup, double pointSize, const QString &title,
                        const QString &reportName, const QDateTime &printedAt);

// The top of a period list's page header: the title (Tahoma 16 bold) at 0, 1.3, the till's name (Tahoma 10 bold)
// at 0, 7.9 in the given width, the owner block at the right.
QList<Report::Element> TitleBlock(const QString &title, const QString &tillName, double tillNameWidth,
                                  const OwnerHeading &owner, double right);

// TitleBlock with the period's line (Tahoma 10 bold) at 0, 11.9.
QList<Report::Element> PeriodTitleBlock(const QString &title, const QString &tillName, const QDate &from,
                                        const QDate &to, const OwnerHeading &owner, double right);

// The owner's name (Tahoma 10 bold), address line and phone (Tahoma 10), right-aligned to the right edge.
QList<Report::Element> OwnerBlock(const OwnerHeading &owner, double right);

// A one-line value of a row, cut at its box. lineHeight is the font's, measured once by the caller: rows are
// many and measuring is not free.
Report::Element Cell(const QString &text, double left, double top, double width, const Report::Font &font,
                     double lineHeight, Qt::Alignment alignment = Qt::AlignLeft);

// The totals band of a period list: lines above and below it, "Összesen" at its left; the report adds the sums.
Report::Band TotalsBand(double height, double width);

// "yyyy.mm.dd - yyyy.mm.dd"
QString PeriodLine(const QDate &from, const QDate &to);

// The voucher number of a listed row: empty when the row has no letter code (the opening row of a till).
QString Sorszam(const QVariant &betujel, const QVariant &ssz);
// The rows of a report's statement, read anew whenever they are painted or exported, with the calculated sorszam
// after the statement's own fields; numbers in the amount format.
std::shared_ptr<SqlExportSource> ListRows(Engine &engine, const QStringList &sql, const QVariantMap &bindings,
                                          const QString &formatFt);

} // namespace ListFrame
