#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The text of a PDF as poppler's pdftotext reads it: every word with its box, and
// the page's text laid out in lines. Lengths are in millimetres from the top left
// corner of the paper.
struct PdfWord
{
    QString text;
    QRectF boxMm;
};

struct PdfPage
{
    QSizeF sizeMm;
    QList<PdfWord> words;
    QString layoutText;

    // The words equal to text, top to bottom.
    QList<PdfWord> find(const QString &text) const;
};

// Reads the pages of the PDF; fails the calling test (QVERIFY) through an empty
// list when pdftotext cannot read it.
QList<PdfPage> ReadPdf(const QString &path);

// The fonts embedded in the PDF, as pdffonts names them.
QStringList PdfFontNames(const QString &path);
