#pragma once

#include <QString>

class QLabel;
class QPushButton;

// Pieces the result panels share.

// A header line: white bold text on the dark blue of an active caption.
void StyleAsPanelHeader(QLabel *label);

// The verdict in black, or in red for a fault.
void ShowVerdict(QLabel *label, const QString &text, bool fault);

// The panel button: "Отмена" while a wait runs, "OK" once it has ended.
void SetWaitButton(QPushButton *button, bool waiting);
