#pragma once

#include "records/databasetable.h"

#include <QAbstractTableModel>
#include <QList>
#include <QVariantList>

#include <functional>

// The rows of one table for a grid that edits them in place, one row at a time, as
// a record set does: browse, edit the current row or insert a new one, then post it
// (written at once, in its own transaction) or cancel it. The rows are read in key
// order when the table is loaded and again after every change, so the grid always
// shows what the table holds plus the one row in edit.
//
// Values are held typed: texts as QString, short integers as int, dates as QDate,
// times as QTime, an empty value as a null QVariant. The grid edits texts: the
// display text of a cell is also its edit text, and setData parses it back.
class TableEditModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class State { Browse, Edit, Insert };

    struct Column
    {
        QString field; // a field of the table, or the name of a calculated column
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        // Set for a calculated column: its text from the row's values (read-only).
        std::function<QString(const QVariantList &values)> calculated;
    };

    static constexpr char DateFormat[] = "dd.MM.yyyy";
    static constexpr char TimeFormat[] = "HH:mm:ss";

    TableEditModel(DatabaseTable &table, QList<Column> columns, QObject *parent = nullptr);

    // Fills the values of a row being inserted (before the operator types).
    void setNewRowDefaults(std::function<void(QVariantList &values)> fill);
    // Adjusts the values of a row just before it is written; the adjusted values
    // stay in the row even when writing fails.
    void setBeforePost(std::function<void(QVariantList &values)> adjust);
    // Says why the row may not be edited, or nothing when it may.
    void setEditRefusal(std::function<QString(const QVariantList &values)> refusal);

    // Reads every row of the table; without an open table the model is empty.
    bool reload();

    DatabaseTable &table() { return m_table; }
    const QString &errorText() const { return m_error; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state != State::Browse; }
    bool isModified() const { return m_modified; }

    int currentRow() const { return m_current; }
    // Moves to another row; while a row is in edit only that row can be current.
    bool setCurrentRow(int row);

    // The schema field shown in a column, or nullptr for a calculated column.
    const FieldDef *fieldOfColumn(int column) const;
    int columnOfField(const QString &field) const;

    // A value of a row by field name (the edited values for the row in edit).
    QVariant value(int row, const QString &field) const;
    // Sets a value of the row in edit; false in browse or for an unknown field.
    bool setValue(const QString &field, const QVariant &value);

    // Puts the current row into edit; false with errorText() when refused.
    bool edit();
    // A new row before the current one (at the end when there is none).
    bool insert();
    // A new row after the last one.
    bool append();
    // Writes the row in edit; on failure it stays in edit, with errorText().
    bool post();
    // Drops the changes of the row in edit (a new row disappears).
    void cancel();
    // Posts a changed row, cancels an unchanged one.
    bool checkBrowseMode();
    // Cancels a new row that nothing has been typed into.
    void dropUnchangedInsert();
    // Deletes the current row (a row being inserted is just dropped).
    bool deleteCurrent();
    // Makes the first row that matches current; browse only.
    bool locate(const std::function<bool(const QVariantList &values)> &match);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void stateChanged(TableEditModel::State state);
    void currentRowChanged(int row);
    // Open cell editors must hand over their text (commit) or be dropped before the
    // row is written or cancelled.
    void closeEditors(bool commit);

private:
    struct Row
    {
        qint64 rowid = 0; // 0 for a row not yet written
        QVariantList values;
    };

    bool fail(const QString &text);
    // The column's title for a field, as the operator knows it (the field's name when
    // no column shows it).
    QString titleOfField(const QString &field) const;
    // The refusal of a row whose key another row has, with the key's values.
    QString keyViolationText(const QVariantList &values) const;
    const QVariantList &valuesOf(int row) const;
    bool beginNewRow(int at);
    void setState(State state);
    void setCurrent(int row);
    bool reloadAt(qint64 rowid, int fallbackRow);
    void emitRowChanged(int row);

    DatabaseTable &m_table;
    QList<Column> m_columns;
    QList<int> m_fieldIndex; // per column: the schema index, -1 when calculated
    std::function<void(QVariantList &)> m_newRowDefaults;
    std::function<void(QVariantList &)> m_beforePost;
    std::function<QString(const QVariantList &)> m_editRefusal;

    QList<Row> m_rows;
    State m_state = State::Browse;
    QVariantList m_buffer; // the values of the row in edit
    bool m_modified = false;
    int m_current = -1;
    QString m_error;
};

// The typed value of a field from its stored form, and the text a grid shows for it.
QVariant TypedFieldValue(const FieldDef &field, const QVariant &stored);
QString FieldValueText(const FieldDef &field, const QVariant &typed);
// The typed value of a field from a text typed into the grid; false when the text
// is no value of the field's type. An empty text is no value (null).
bool ParseFieldText(const FieldDef &field, const QString &text, QVariant *typed);
