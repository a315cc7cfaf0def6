#include "reportdocument.h"

#include "reportfonts.h"

#include <QPageSize>

namespace Report {

Element Label(const QString &text, double left, double top, const Font &font, double width, Qt::Alignment alignment)
{
    Element e;
    e.text = text;
    e.font = font;
    e.alignment = alignment;
    e.box = QRectF(left, top, width > 0 ? width : TextWidth(font, text), LineHeight(font));
    return e;
}

Element FittedLabel(const QString &text, double left, double top, const Font &font, double width,
                    Qt::Alignment alignment, double minPointSize)
{
    Font fitted = font;
    while (fitted.pointSize - 0.5 >= minPointSize && TextWidth(fitted, text) > width)
        fitted.pointSize -= 0.5;
    Element e = Label(text, left, top, fitted, width, alignment);
    e.clip = true;
    return e;
}

Element WrappedText(const QString &text, const QRectF &box, const Font &font, Qt::Alignment alignment)
{
    Element e;
    e.text = text;
    e.font = font;
    e.alignment = alignment;
    e.box = box;
    e.wordWrap = true;
    e.clip = true;
    return e;
}

Element Frame(double left, double top, double width, double height)
{
    Element e;
    e.kind = Kind::Frame;
    e.box = QRectF(left, top, width, height);
    return e;
}

Element HorizontalLine(double left, double top, double length)
{
    Element e;
    e.kind = Kind::Line;
    e.box = QRectF(left, top, length, 0);
    return e;
}

QSizeF PageSetup::printableSize() const
{
    QSizeF size = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape)
        size.transpose();
    return {size.width() - margins.left() - margins.right(), size.height() - margins.top() - margins.bottom()};
}

QPageLayout PageSetup::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Millimeter);
}

Element &Band::add(Element element, const QString &name)
{
    if (!name.isEmpty())
        element.name = name;
    elements.append(std::move(element));
    return elements.last();
}

void Band::addCopy(const QList<Element> &copyElements, double dy, int copy)
{
    for (Element e : copyElements) {
        e.box.translate(0, dy);
        e.copy = copy;
        elements.append(std::move(e));
    }
}

void Band::hideCopy(int copy)
{
    for (Element &e : elements)
        if (e.copy == copy)
            e.visible = false;
}

namespace {

void Place(Page &page, const QList<Element> &elements, double top)
{
    for (Element e : elements) {
        e.box.translate(0, top);
        page.elements.append(std::move(e));
    }
}

} // namespace

Document BandedReport::layout() const
{
    struct Placed
    {
        const Band *band;
        double top;
    };
    struct PagePlan
    {
        QList<Placed> bands;
        PageInfo info;
    };

    const double top = pageHeader.height;
    const double bottom = setup.printableSize().height() - pageFooter.height;
    QList<PagePlan> plans(1);
    double y = top;
    auto place = [&](const Band &band) {
        // A band taller than a whole page still goes on a page of its own rather than nowhere.
        if (y + band.height > bottom + 1e-9 && !plans.last().bands.isEmpty()) {
            plans.append(PagePlan());
            plans.last().info.firstDetail =
                plans[plans.size() - 2].info.firstDetail + plans[plans.size() - 2].info.detailCount;
            y = top;
        }
        plans.last().bands.append({&band, y});
        y += band.height;
    };
    for (const Band &band : details) {
        place(band);
        ++plans.last().info.detailCount;
    }
    if (summary.height > 0 || !summary.elements.isEmpty())
        place(summary);

    Document doc;
    doc.title = title;
    doc.fileName = fileName;
    doc.setup = setup;
    for (int i = 0; i < plans.size(); ++i) {
        PageInfo info = plans.at(i).info;
        info.number = i + 1;
        info.count = int(plans.size());
        Page page;
        if (pageHeader.build)
            Place(page, pageHeader.build(info), 0);
        for (const Placed &p : plans.at(i).bands)
            Place(page, p.band->elements, p.top);
        if (pageFooter.build)
            Place(page, pageFooter.build(info), bottom);
        doc.pages.append(std::move(page));
    }
    return doc;
}

} // namespace Report
