#include "gui/pdf_words.h"

#include <QProcess>
#include <QRegularExpression>

namespace yomi6::test {

std::vector<PdfWord> PdfText::OnPage(int page) const {
    std::vector<PdfWord> result;
    for (const PdfWord& w : words) {
        if (w.page == page) {
            result.push_back(w);
        }
    }
    return result;
}

std::vector<PdfWord> PdfText::Find(int page, const QString& text) const {
    std::vector<PdfWord> result;
    for (const PdfWord& w : words) {
        if (w.page == page && w.text == text) {
            result.push_back(w);
        }
    }
    return result;
}

PdfText ReadPdfWords(const QString& path) {
    PdfText result;
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0) {
        return result;
    }
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" "
                       "xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++result.pageCount;
            continue;
        }
        PdfWord w;
        w.page = result.pageCount;
        w.xMin = m.captured(1).toDouble();
        w.yMin = m.captured(2).toDouble();
        w.xMax = m.captured(3).toDouble();
        w.yMax = m.captured(4).toDouble();
        w.text = m.captured(5)
                     .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                     .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                     .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        result.words.push_back(w);
    }
    result.ok = true;
    return result;
}

} // namespace yomi6::test
