#pragma once

#include "reportdocument.h"

#include <functional>

namespace Report {

// Lays bands out one under the other and hands every page on as soon as it is full, so a report of any length
// holds one page at a time. A page starts with its header when its first band arrives (or at the end, for a
// report without bands) and gets its footer when it is handed on. The page count is not known while the pages
// flow: PageInfo::count is 0 for the header and footer built here.
class PageFlow
{
public:
    // The sink takes each finished page with its numbers; returning false stops the flow.
    using Sink = std::function<bool(Page &&page, const PageInfo &info)>;

    PageFlow(const PageSetup &setup, PageBand header, PageBand footer, Sink sink);

    // A band that does not fit in what is left of the page starts the next one. False once the sink has stopped.
    bool add(const Band &band);
    // A detail band: counted in the page's PageInfo.
    bool addDetail(const Band &band);
    // Places the summary (unless it has neither height nor elements) and hands on the last page. There is
    // always at least one page. False when the sink stopped.
    bool finish(const Band &summary = Band());

private:
    void startPage();
    bool handOn();

    PageBand m_header;
    PageBand m_footer;
    Sink m_sink;
    double m_top;
    double m_bottom;
    Page m_page;
    PageInfo m_info;
    double m_y = 0;
    bool m_open = false;
    bool m_empty = true; // no band on the open page yet
    bool m_stopped = false;
};

} // namespace Report
