#include "speech_session/analyzer_message.h"

#include "analysis/analyzer_loader.h"
#include "platform/message_box.h"

namespace yomi6 {

namespace {

constexpr const char* kAnalyzerFailure =
    "漢字を読むための解析辞書を読み込めません。この文章は辞書だけで読みます。\n%1";

} // namespace

QString AnalyzerFailureText(const AnalyzerLoader& analyzer) {
    return QString::fromUtf8(kAnalyzerFailure)
        .arg(QString::fromStdString(analyzer.DictionaryFolder()));
}

void AnalyzerMessageCollector::ShowMessage(std::string_view, MessageBoxType) {
    // The core's text is for the command line, in English; the editor says it in its own words.
    messages.append(AnalyzerFailureText(m_analyzer));
}

void AnalyzerMessageBox::ShowMessage(std::string_view, MessageBoxType type) {
    yomi6::ShowMessage(m_parent, AnalyzerFailureText(m_analyzer), type);
}

} // namespace yomi6
