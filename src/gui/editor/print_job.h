// One print job or preview of a view, from its start to its end: the time all its pages show,
// and word wrap switched on for its length when the view did not wrap (and off again after).
// The word-wrap setting of new views is not touched.
#pragma once

#include "printing/page_header.h"
#include "printing/page_printer.h"

class QPaintDevice;

namespace yomi6 {

class TextView;

class PrintJob {
public:
    explicit PrintJob(TextView& view);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    bool WrapWasOn() const { return m_wrapWasOn; }
    const JobTime& Time() const { return m_time; }

    // What the job prints on printer: the view's title and text in its printer font (or its
    // screen font scaled to the printer), with the page switches as they stand.
    PrintContent ContentFor(const QPaintDevice& printer) const;

private:
    TextView& m_view;
    JobTime m_time;
    bool m_wrapWasOn;
};

} // namespace yomi6
