#include "reports/reportfonts.h"

#include <QFontDatabase>

namespace {

struct Substitute
{
    const char *family;
    const char *standIn;
};

constexpr Substitute MetricCompatible[] = {
    { "Arial", "Liberation Sans" },
    { "Times New Roman", "Liberation Serif" },
    { "Courier New", "Liberation Mono" },
};

void InsertSubstitutesOnce()
{
    static const bool done = [] {
        for (const Substitute &s : MetricCompatible) {
            const QString family = QString::fromLatin1(s.family);
            const QString standIn = QString::fromLatin1(s.standIn);
            if (!QFontDatabase::hasFamily(family) && QFontDatabase::hasFamily(standIn)) {
                QFont::insertSubstitution(family, standIn);
            }
        }
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

QFont ReportQFont(const ReportFont &font)
{
    InsertSubstitutesOnce();
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    // Unhinted outlines give the same text widths on screen, in a PDF and on paper.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}
