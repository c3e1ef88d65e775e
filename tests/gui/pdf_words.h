// The words of a PDF file with their positions, read back with pdftotext -bbox (poppler-utils).
#pragma once

#include <QString>

#include <vector>

namespace yomi6::test {

struct PdfWord {
    int page = 0; // from 1
    QString text;
    double xMin = 0; // points from the page's top-left corner
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

struct PdfText {
    bool ok = false; // pdftotext ran and read the file
    int pageCount = 0;
    std::vector<PdfWord> words;

    std::vector<PdfWord> OnPage(int page) const;
    // The words of a page whose text is exactly text.
    std::vector<PdfWord> Find(int page, const QString& text) const;
};

PdfText ReadPdfWords(const QString& path);

} // namespace yomi6::test
