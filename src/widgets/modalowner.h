#pragma once

class QDialog;
class QWidget;

// Runs a dialog that several windows share modally over the window of opener: while
// it is open the dialog belongs to that window, so the window manager keeps it over
// that window and gives the focus back to it afterwards. The dialog's own parent,
// which owns it, is restored when it closes.
int ExecOwnedBy(QDialog &dialog, QWidget *opener);
