// What the editor says when the automatic reading's analyzer cannot be loaded: in Japanese,
// like every other box of the editor, with the folder it looked in.
#pragma once

#include "io/message_sink.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace yomi6 {

class AnalyzerLoader;

// "The analyzer dictionary cannot be loaded; this text is read with the dictionary", naming the
// folder analyzer was looked for in.
QString AnalyzerFailureText(const AnalyzerLoader& analyzer);

// Collects the reading's messages as the editor's own text, to be shown after the command that
// read (the reading reports only a failure to load analyzer).
class AnalyzerMessageCollector : public IMessageSink {
public:
    explicit AnalyzerMessageCollector(const AnalyzerLoader& analyzer) : m_analyzer(analyzer) {}
    void ShowMessage(std::string_view text, MessageBoxType type) override;
    QStringList messages;

private:
    const AnalyzerLoader& m_analyzer;
};

// Shows the reading's messages at once, in a box over parent.
class AnalyzerMessageBox : public IMessageSink {
public:
    AnalyzerMessageBox(QWidget* parent, const AnalyzerLoader& analyzer)
        : m_parent(parent), m_analyzer(analyzer) {}
    void ShowMessage(std::string_view text, MessageBoxType type) override;

private:
    QWidget* m_parent;
    const AnalyzerLoader& m_analyzer;
};

} // namespace yomi6
