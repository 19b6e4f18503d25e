#include "widgets/appearance.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>

namespace {

// Icon, buttons and margins of a usual title bar, and a title font somewhat larger
// than the program's own.
constexpr int TitleBarFurniture = 110;
constexpr qreal TitleFontScale = 1.2;

// The frame a window manager put around the window; none before it is shown.
QMargins frameOf(const QWidget &window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return { inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
        outer.bottom() - inner.bottom() };
}

// A window manager frames a window a moment after it is shown; once the frame is
// known, the window is centred again with it, once.
class CentreWhenFramed final : public QObject
{
public:
    explicit CentreWhenFramed(QWidget &window)
        : QObject(&window)
        , m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The frame comes with no event of its own; the paint after it is the first sure one.
        if (event->type() == QEvent::Paint && !frameOf(m_window).isNull()) {
            m_window.removeEventFilter(this);
            deleteLater();
            CentreOnScreen(m_window);
        }
        return false;
    }

private:
    QWidget &m_window;
};

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

void CentreOnScreen(QWidget &window, const QWidget *placedBy)
{
    const QWidget &reference = placedBy != nullptr ? *placedBy : window;
    const QScreen *screen
        = reference.screen() != nullptr ? reference.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    if (window.layout() != nullptr) {
        window.layout()->activate(); // a window not shown yet takes its size first
    }
    QMargins frame = frameOf(window);
    if (frame.isNull()) {
        if (placedBy != nullptr) {
            frame = frameOf(*placedBy);
        }
        new CentreWhenFramed(window);
    }
    QRect outer = QRect(QPoint(), window.size()).marginsAdded(frame);
    outer.moveCenter(screen->availableGeometry().center());
    // The window's own rectangle: a position with the frame would be taken without it
    // by a window not framed yet.
    window.setGeometry(outer.marginsRemoved(frame));
}
