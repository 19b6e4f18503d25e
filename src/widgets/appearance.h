#pragma once

class QApplication;

// The program's look: the Fusion style and a small sans-serif font, so that the
// fixed pixel layout of the windows holds on every desktop.
void ApplyProgramAppearance(QApplication &app);

class QWidget;

// The least width at which a window manager's title bar shows the window's whole
// title beside its icon and buttons, the title set in a bold title font.
int WidthForTitle(const QWidget &window);

// Places the window, frame included, in the middle of the free area of the screen
// that placedBy is on (the window's own screen without it). A window manager frames a
// window only after it is shown: until then the frame placedBy has stands in for the
// window's own, and once the window is framed it is centred again with its frame.
void CentreOnScreen(QWidget &window, const QWidget *placedBy = nullptr);
