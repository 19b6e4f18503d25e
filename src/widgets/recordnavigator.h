#pragma once

#include <QWidget>

class OperatorMessages;
class QToolButton;
class TableEditModel;

// A row of small buttons that move through the rows of a TableEditModel and edit
// them: first, prior, next, last, insert, delete, edit, post, cancel. The buttons
// take no focus, so pressing one leaves the grid's row in edit as it is. Failures
// and refusals are shown through the operator messages; deleting asks first.
class RecordNavigator final : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, ButtonCount };

    RecordNavigator(TableEditModel &model, OperatorMessages &messages, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons[which]; }
    void click(Button which);

    static QString deleteQuestion();

Q_SIGNALS:
    // The insert button made a new row, current and in edit.
    void inserted();

private:
    void moveTo(int row);
    void report(bool ok);
    void updateButtons();

    TableEditModel &m_model;
    OperatorMessages &m_messages;
    QToolButton *m_buttons[ButtonCount] = {};
};
