#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>

// The layout half of a report: pages of positioned elements in millimetres. Nothing here paints; the same
// pages go to the printer, the preview and PDF files, and tests compare them with the layout tables.
namespace Report {

struct Font
{
    QString family; // as the layouts name it: "Arial", "Tahoma", "Times New Roman", "Courier New"
    double pointSize = 8;
    bool bold = false;
    bool italic = false;

    bool operator==(const Font &) const = default;
};

enum class Kind { Text, Frame, Line };

// One thing on a page. The box is in millimetres from the top-left corner of the printable area (inside a band:
// from the band's top-left). A line runs from the box's top-left to its bottom-right.
struct Element
{
    Kind kind = Kind::Text;
    QRectF box;
    QString text;
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft; // horizontal; text always hangs from the top of its box
    bool wordWrap = false;
    // Text wider than its box is cut at the box; otherwise it runs on away from the aligned edge.
    bool clip = false;
    QString name; // lets report code and tests find the element
    int copy = 0; // the copy of a multi-copy band it belongs to; 0 for none
    bool visible = true;
};

// One line of text, as tall as the font's line. A width of 0 makes the box as wide as the text.
Element Label(const QString &text, double left, double top, const Font &font, double width = 0,
              Qt::Alignment alignment = Qt::AlignLeft);
// A one-line value in a box of fixed width: the font shrinks in half points (not below minPointSize) until the
// text fits; what still does not fit is cut at the box, so it never runs into its neighbours.
Element FittedLabel(const QString &text, double left, double top, const Font &font, double width,
                    Qt::Alignment alignment = Qt::AlignLeft, double minPointSize = 6);
// Text wrapped at word boundaries inside the box, cut at its bottom.
Element WrappedText(const QString &text, const QRectF &box, const Font &font, Qt::Alignment alignment = Qt::AlignLeft);
Element Frame(double left, double top, double width, double height);
Element HorizontalLine(double left, double top, double length);

struct Page
{
    QList<Element> elements;

    // Appends the elements moved down by top.
    void add(const QList<Element> &placed, double top);
};

struct PageSetup
{
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // mm: left, top, right, bottom

    // A4 less the margins, in mm.
    QSizeF printableSize() const;
    QPageLayout pageLayout() const;
};

struct Document
{
    QString title;    // the print job's name
    QString fileName; // proposed when saved as PDF (without ".pdf"); the title when empty
    PageSetup setup;
    QList<Page> pages;
    // A document too long to hold at once lays its pages out anew whenever it is painted: stream hands them to
    // the visitor one by one and stops when it returns false. When set, it takes the place of pages.
    std::function<void(const std::function<bool(const Page &)> &)> stream;

    // Every page in order, from the stream or from pages, until the visitor returns false.
    void forEachPage(const std::function<bool(const Page &)> &visit) const;
};

// A horizontal strip of elements placed as one piece.
struct Band
{
    double height = 0;
    QList<Element> elements;

    Element &add(Element element, const QString &name = QString());
    // Appends the elements moved down by dy and tagged as the given copy.
    void addCopy(const QList<Element> &elements, double dy, int copy);
    // Hides every element of the copy; the band keeps its height.
    void hideCopy(int copy);
};

struct PageInfo
{
    int number = 1; // from 1
    int count = 1;
    int firstDetail = 0; // index of the first detail band on the page
    int detailCount = 0;
};

// Header and footer are built per page once the page count is known, so they can print "oldal: n" and sums of
// the page's rows.
struct PageBand
{
    double height = 0;
    std::function<QList<Element>(const PageInfo &)> build;
};

// Bands flowed over pages: the page header at the top and the page footer at the bottom of every page, the
// detail bands one under the other, the summary after the last detail. A band that does not fit in what is left
// of a page starts the next page. There is always at least one page, even without details.
struct BandedReport
{
    QString title;
    QString fileName;
    PageSetup setup;
    PageBand pageHeader;
    PageBand pageFooter;
    QList<Band> details;
    Band summary; // height 0: none

    Document layout() const;
};

} // namespace Report
