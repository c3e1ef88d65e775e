#include "editor/print_job.h"

#include "editor/document.h"
#include "editor/text_view.h"
#include "printing/printer_font.h"
#include "speaking/app_context.h"

namespace yomi6 {

PrintJob::PrintJob(TextView& view)
    : m_view(view), m_time(JobTimeNow()), m_wrapWasOn(view.IsWordWrap()) {
    if (!m_wrapWasOn) {
        m_view.SetWordWrap(true);
    }
}

PrintJob::~PrintJob() {
    if (!m_wrapWasOn) {
        m_view.SetWordWrap(false);
    }
}

PrintContent PrintJob::ContentFor(const QPaintDevice& printer) const {
    PrintContent content;
    content.title = m_view.GetDocument()->Title();
    content.text = m_view.Text();
    content.bodyFont = BodyFontFor(m_view.PrinterFont(), m_view.ScreenFont(), printer);
    content.switches = PageSwitchesFromSettings(m_view.GetDocument()->Context().Settings());
    content.time = m_time;
    return content;
}

} // namespace yomi6
