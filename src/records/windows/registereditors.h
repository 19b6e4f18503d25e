#pragma once

class OperatorMessages;
class QWidget;
class RecordGrid;
class RecordNavigator;
class TableEditModel;

// The navigator and the grid of a register window that edits its table in place.
struct RegisterEditors
{
    RecordNavigator *navigator = nullptr;
    RecordGrid *grid = nullptr;
};

// Makes both as children of the window: rows one line of its font high, columns the
// operator can widen, a grid failure shown as an error, the grid's delete key
// acting as the navigator's delete button, and a row inserted by the navigator
// taking what is typed, from its first column.
RegisterEditors CreateRegisterEditors(
    TableEditModel &model, OperatorMessages &messages, QWidget *window);

// Whether a window holding a row still in edit may close: asks whether to save it
// (yes posts it, no drops it, cancel keeps the window open). A failed post is shown
// and keeps the window open.
bool FinishRowInEdit(TableEditModel &model, OperatorMessages &messages);
