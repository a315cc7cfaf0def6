#include "reportdocument.h"

#include "pageflow.h"
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

void Page::add(const QList<Element> &placed, double top)
{
    for (Element e : placed) {
        e.box.translate(0, top);
        elements.append(std::move(e));
    }
}

void Document::forEachPage(const std::function<bool(const Page &)> &visit) const
{
    if (stream) {
        stream(visit);
        return;
    }
    for (const Page &page : pages)
        if (!visit(page))
            return;
}

Document BandedReport::layout() const
{
    Document doc;
    doc.title = title;
    doc.fileName = fileName;
    doc.setup = setup;
    QList<PageInfo> infos;
    // Header and footer are added once the page count is known.
    PageFlow flow(setup, {pageHeader.height, {}}, {pageFooter.height, {}}, [&](Page &&page, const PageInfo &info) {
        doc.pages.append(std::move(page));
        infos.append(info);
        return true;
    });
    for (const Band &band : details)
        flow.addDetail(band);
    flow.finish(summary);

    const double bottom = setup.printableSize().height() - pageFooter.height;
    for (int i = 0; i < doc.pages.size(); ++i) {
        PageInfo info = infos.at(i);
        info.count = int(doc.pages.size());
        Page page;
        if (pageHeader.build)
            page.add(pageHeader.build(info), 0);
        page.elements.append(doc.pages.at(i).elements);
        if (pageFooter.build)
            page.add(pageFooter.build(info), bottom);
        doc.pages[i] = std::move(page);
    }
    return doc;
}

} // namespace Report
