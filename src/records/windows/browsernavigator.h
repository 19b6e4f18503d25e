#pragma once

#include <QWidget>

class QAbstractItemView;
class QToolButton;

// The navigator of a result browser: first, prior, next and last row of the grid,
// delete and refresh. Moving is done here on the grid's current row; deleting and
// refreshing are asked of the owner through signals.
class BrowserNavigator final : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Delete, Refresh, ButtonCount };

    explicit BrowserNavigator(QAbstractItemView &view, QWidget *parent = nullptr);

    QToolButton *button(Button which) const { return m_buttons[which]; }

    // Enables the buttons that can act on the grid's rows and current row now.
    void updateButtons();

Q_SIGNALS:
    void deleteRequested();
    void refreshRequested();

private:
    void moveTo(int row);

    QAbstractItemView &m_view;
    QToolButton *m_buttons[ButtonCount] = {};
};
