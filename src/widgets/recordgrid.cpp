#include "widgets/recordgrid.h"

#include "records/tableeditmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>

#include <limits>

QWidget *FieldEditDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    const auto *model = qobject_cast<const TableEditModel *>(index.model());
    auto *line = qobject_cast<QLineEdit *>(editor);
    const FieldDef *field = model ? model->fieldOfColumn(index.column()) : nullptr;
    if (!line || !field) {
        return editor;
    }
    line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
    if (field->type == FieldType::Text) {
        line->setMaxLength(field->width);
    } else if (field->type == FieldType::ShortInteger) {
        line->setValidator(new QIntValidator(
            std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), line));
    }
    return editor;
}

RecordGrid::RecordGrid(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new FieldEditDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    connect(qApp, &QApplication::focusChanged, this, &RecordGrid::onFocusChanged);
}

void RecordGrid::setEditModel(TableEditModel *model)
{
    m_model = model;
    setModel(model);
    connect(model, &TableEditModel::closeEditors, this, &RecordGrid::closeOpenEditor);
    connect(model, &TableEditModel::currentRowChanged, this, &RecordGrid::showModelRow);
    connect(model, &QAbstractItemModel::modelReset, this,
        [this] { showModelRow(m_model->currentRow()); });
    showModelRow(model->currentRow());
}

bool RecordGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opens = m_model && index.isValid() && state() != EditingState
        && (m_model->flags(index) & Qt::ItemIsEditable)
        && (trigger == AllEditTriggers || (editTriggers() & trigger));
    if (opens && !m_model->isEditing()) {
        if (index.row() != m_model->currentRow()) {
            m_model->setCurrentRow(index.row());
        }
        if (!m_model->edit()) {
            Q_EMIT failed(m_model->errorText());
            return false;
        }
    }
    if (opens && index.row() != m_model->currentRow()) {
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

void RecordGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_model || m_syncing || !current.isValid() || current.row() == m_model->currentRow()) {
        return;
    }
    const int wanted = current.row();
    const int column = current.column();
    if (m_model->isEditing() && !m_model->checkBrowseMode()) {
        Q_EMIT failed(m_model->errorText());
        showModelRow(m_model->currentRow());
        return;
    }
    m_model->setCurrentRow(std::min(wanted, m_model->rowCount() - 1));
    const QModelIndex target = m_model->index(m_model->currentRow(), column);
    if (target.isValid() && currentIndex() != target) {
        m_syncing = true;
        setCurrentIndex(target);
        m_syncing = false;
    }
}

void RecordGrid::showModelRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount()) {
        return;
    }
    const int column = std::max(currentIndex().column(), 0);
    const QModelIndex target = m_model->index(row, column);
    if (currentIndex() != target) {
        m_syncing = true;
        setCurrentIndex(target);
        m_syncing = false;
    }
}

void RecordGrid::editCurrentRowFromStart()
{
    if (!m_model || m_model->currentRow() < 0) {
        return;
    }
    setFocus(Qt::OtherFocusReason);
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int column = horizontalHeader()->logicalIndex(visual);
        const QModelIndex cell = m_model->index(m_model->currentRow(), column);
        if (!isColumnHidden(column) && (m_model->flags(cell) & Qt::ItemIsEditable)) {
            m_syncing = true;
            setCurrentIndex(cell);
            m_syncing = false;
            scrollTo(cell);
            edit(cell, AllEditTriggers, nullptr);
            return;
        }
    }
}

void RecordGrid::closeOpenEditor(bool commit)
{
    if (state() != EditingState) {
        return;
    }
    QWidget *editor = indexWidget(currentIndex());
    if (!editor) {
        return;
    }
    if (commit) {
        commitData(editor);
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void RecordGrid::keyPressEvent(QKeyEvent *event)
{
    if (m_model && state() != EditingState) {
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
            Q_EMIT deleteRequested();
            return;
        }
        if (event->key() == Qt::Key_Escape && m_model->isEditing()) {
            m_model->cancel();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void RecordGrid::onFocusChanged(QWidget *old, QWidget *now)
{
    const auto inside = [this](QWidget *w) { return w && (w == this || isAncestorOf(w)); };
    if (m_model && inside(old) && !inside(now)) {
        m_model->dropUnchangedInsert();
    }
}
