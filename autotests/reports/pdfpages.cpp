#include "pdfpages.h"

#include <QProcess>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

constexpr qreal MmPerPoint = 25.4 / 72.0;

QByteArray Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    return process.readAllStandardOutput();
}

QList<PdfPage> ParseBbox(const QByteArray &xhtml)
{
    QList<PdfPage> pages;
    QXmlStreamReader xml(xhtml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto number = [&](const char *name) {
            return xml.attributes().value(QLatin1String(name)).toDouble() * MmPerPoint;
        };
        if (xml.name() == u"page") {
            pages.append(PdfPage { QSizeF(number("width"), number("height")), {}, {} });
        } else if (xml.name() == u"word" && !pages.isEmpty()) {
            const QRectF box(
                QPointF(number("xMin"), number("yMin")), QPointF(number("xMax"), number("yMax")));
            pages.last().words.append(PdfWord { xml.readElementText(), box });
        }
    }
    return pages;
}

} // namespace

QList<PdfWord> PdfPage::find(const QString &text) const
{
    QList<PdfWord> found;
    std::copy_if(words.cbegin(), words.cend(), std::back_inserter(found),
        [&](const PdfWord &w) { return w.text == text; });
    std::sort(found.begin(), found.end(),
        [](const PdfWord &a, const PdfWord &b) { return a.boxMm.top() < b.boxMm.top(); });
    return found;
}

QList<PdfPage> ReadPdf(const QString &path)
{
    QList<PdfPage> pages = ParseBbox(Run("pdftotext", { "-bbox", path, "-" }));
    const QList<QByteArray> texts = Run("pdftotext", { "-layout", path, "-" }).split('\f');
    for (int i = 0; i < pages.size() && i < texts.size(); ++i) {
        pages[i].layoutText = QString::fromUtf8(texts.at(i));
    }
    return pages;
}

QStringList PdfFontNames(const QString &path)
{
    // pdffonts prints two heading lines, then one font a line, its name first.
    const QList<QByteArray> lines = Run("pdffonts", { path }).split('\n');
    QStringList names;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArray name = lines.at(i).trimmed().split(' ').value(0);
        if (!name.isEmpty()) {
            names.append(QString::fromUtf8(name));
        }
    }
    return names;
}
