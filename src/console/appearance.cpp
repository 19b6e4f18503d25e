#include "console/appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace {

// Icon, buttons and margins of a usual title bar, and a title font somewhat larger
// than the program's own.
constexpr int TitleBarFurniture = 110;
constexpr qreal TitleFontScale = 1.2;

} // namespace

void ApplyProgramAppearance(QApplication &app)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    app.setFont(font);
}

int WidthForTitle(const QWidget &window)
{
    QFont font = window.font();
    font.setBold(true);
    font.setPixelSize(qRound(font.pixelSize() > 0 ? font.pixelSize() * TitleFontScale : 13));
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + TitleBarFurniture;
}

void CentreOnScreen(QWidget &window)
{
    const QScreen *screen
        = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    if (window.layout() != nullptr) {
        window.layout()->activate(); // a window not shown yet takes its size first
    }
    QRect frame = window.frameGeometry(); // before the first showing, without the frame
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}
