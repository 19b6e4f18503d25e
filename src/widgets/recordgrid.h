#pragma once

#include "records/tableeditmodel.h"

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

// Cell editors that keep to their field: texts no longer than the field's width,
// short integers within their range.
class FieldEditDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
};

// A grid that edits a TableEditModel in place. Opening a cell editor puts the row
// into edit (or is refused); moving to another row saves a changed row first and
// stays on it when saving fails; leaving the grid drops a new row nothing was typed
// into. Refusals and failures are announced, never shown here.
class RecordGrid final : public QTableView
{
    Q_OBJECT
public:
    explicit RecordGrid(QWidget *parent = nullptr);

    void setEditModel(TableEditModel *model);
    TableEditModel *editModel() const { return m_model; }

    using QTableView::edit;

    // Takes the focus with the current row's first shown column current and its
    // editor open, so that what the operator types goes into the row.
    void editCurrentRowFromStart();

Q_SIGNALS:
    // The row may not be edited, or could not be saved: the text to show.
    void failed(const QString &text);
    // Ctrl+Delete: the current row should be deleted after asking.
    void deleteRequested();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void closeOpenEditor(bool commit);
    void showModelRow(int row);
    void onFocusChanged(QWidget *old, QWidget *now);

    // Focus changes still arrive while the owning window tears down, after its model is gone.
    QPointer<TableEditModel> m_model;
    bool m_syncing = false;
};
