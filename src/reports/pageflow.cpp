#include "pageflow.h"

namespace Report {

PageFlow::PageFlow(const PageSetup &setup, PageBand header, PageBand footer, Sink sink)
    : m_header(std::move(header)), m_footer(std::move(footer)), m_sink(std::move(sink)), m_top(m_header.height),
      m_bottom(setup.printableSize().height() - m_footer.height)
{
    m_info.number = 0;
    m_info.count = 0;
}

void PageFlow::startPage()
{
    m_page = Page();
    ++m_info.number;
    m_info.firstDetail += m_info.detailCount;
    m_info.detailCount = 0;
    if (m_header.build)
        m_page.add(m_header.build(m_info), 0);
    m_y = m_top;
    m_open = true;
    m_empty = true;
}

bool PageFlow::handOn()
{
    if (m_footer.build)
        m_page.add(m_footer.build(m_info), m_bottom);
    m_open = false;
    m_stopped = !m_sink(std::move(m_page), m_info);
    return !m_stopped;
}

bool PageFlow::add(const Band &band)
{
    if (m_stopped)
        return false;
    if (!m_open) {
        startPage();
    } else if (m_y + band.height > m_bottom + 1e-9 && !m_empty) {
        // A band taller than a whole page still goes on a page of its own rather than nowhere.
        if (!handOn())
            return false;
        startPage();
    }
    m_page.add(band.elements, m_y);
    m_y += band.height;
    m_empty = false;
    return true;
}

bool PageFlow::addDetail(const Band &band)
{
    if (!add(band))
        return false;
    ++m_info.detailCount;
    return true;
}

bool PageFlow::finish(const Band &summary)
{
    if (m_stopped)
        return false;
    if ((summary.height > 0 || !summary.elements.isEmpty()) && !add(summary))
        return false;
    if (!m_open)
        startPage();
    return handOn();
}

} // namespace Report
