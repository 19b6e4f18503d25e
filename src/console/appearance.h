#pragma once

class QApplication;

// The program's look: the Fusion style and a small sans-serif font, so that the
// fixed pixel layout of the windows holds on every desktop.
void ApplyProgramAppearance(QApplication &app);
