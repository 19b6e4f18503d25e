#pragma once

class QApplication;

// The program's look: the Fusion style and a small sans-serif font, so that the
// fixed pixel layout of the windows holds on every desktop.
void ApplyProgramAppearance(QApplication &app);

class QWidget;

// The least width at which a window manager's title bar shows the window's whole
// title beside its icon and buttons, the title set in a bold title font.
int WidthForTitle(const QWidget &window);

// Places the window in the middle of its screen's free area.
void CentreOnScreen(QWidget &window);
