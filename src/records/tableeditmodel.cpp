#include "records/tableeditmodel.h"

#include "records/fieldvalues.h"

#include <QDate>
#include <QTime>

#include <limits>

QVariant TypedFieldValue(const FieldDef &field, const QVariant &stored)
{
    if (stored.isNull()) {
        return field.type == FieldType::Text ? QVariant(QString()) : QVariant();
    }
    switch (field.type) {
    case FieldType::Text:
        return stored.toString();
    case FieldType::ShortInteger:
        return StoredInteger(stored);
    case FieldType::Date: {
        const QDate date
            = QDate::fromString(stored.toString(), QLatin1StringView(StoredDateFormat));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FieldType::Time: {
        const QTime time
            = QTime::fromString(stored.toString(), QLatin1StringView(StoredTimeFormat));
        return time.isValid() ? QVariant(time) : QVariant();
    }
    }
    return {};
}

QString FieldValueText(const FieldDef &field, const QVariant &typed)
{
    if (typed.isNull()) {
        return {};
    }
    switch (field.type) {
    case FieldType::Date:
        return typed.toDate().toString(QLatin1StringView(TableEditModel::DateFormat));
    case FieldType::Time:
        return typed.toTime().toString(QLatin1StringView(TableEditModel::TimeFormat));
    case FieldType::Text:
    case FieldType::ShortInteger:
        break;
    }
    return typed.toString();
}

bool ParseFieldText(const FieldDef &field, const QString &text, QVariant *typed)
{
    if (field.type == FieldType::Text) {
        *typed = text;
        return true;
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *typed = QVariant();
        return true;
    }
    switch (field.type) {
    case FieldType::ShortInteger: {
        bool ok = false;
        const int number = trimmed.toInt(&ok);
        if (!ok || number < std::numeric_limits<qint16>::min()
            || number > std::numeric_limits<qint16>::max()) {
            return false;
        }
        *typed = number;
        return true;
    }
    case FieldType::Date: {
        const QDate date
            = QDate::fromString(trimmed, QLatin1StringView(TableEditModel::DateFormat));
        *typed = date;
        return date.isValid();
    }
    case FieldType::Time: {
        QTime time = QTime::fromString(trimmed, QLatin1StringView(TableEditModel::TimeFormat));
        if (!time.isValid()) {
            time = QTime::fromString(trimmed, QStringLiteral("HH:mm"));
        }
        *typed = time;
        return time.isValid();
    }
    case FieldType::Text:
        break;
    }
    return false;
}

TableEditModel::TableEditModel(DatabaseTable &table, QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_columns(std::move(columns))
{
    for (const Column &column : std::as_const(m_columns)) {
        m_fieldIndex.append(column.calculated ? -1 : m_table.schema().fieldIndex(column.field));
    }
}

void TableEditModel::setNewRowDefaults(std::function<void(QVariantList &)> fill)
{
    m_newRowDefaults = std::move(fill);
}

void TableEditModel::setBeforePost(std::function<void(QVariantList &)> adjust)
{
    m_beforePost = std::move(adjust);
}

void TableEditModel::setEditRefusal(std::function<QString(const QVariantList &)> refusal)
{
    m_editRefusal = std::move(refusal);
}

bool TableEditModel::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool TableEditModel::reload()
{
    return reloadAt(0, m_current);
}

bool TableEditModel::reloadAt(qint64 rowid, int fallbackRow)
{
    QList<TableRow> stored;
    const bool ok = !m_table.isOpen() || m_table.readAll(&stored);
    beginResetModel();
    m_rows.clear();
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    const QList<FieldDef> &fields = m_table.schema().fields;
    int found = -1;
    for (const TableRow &row : std::as_const(stored)) {
        Row typed { row.rowid, {} };
        for (int i = 0; i < fields.size(); ++i) {
            typed.values.append(TypedFieldValue(fields.at(i), row.values.value(i)));
        }
        if (rowid != 0 && row.rowid == rowid) {
            found = int(m_rows.size());
        }
        m_rows.append(std::move(typed));
    }
    endResetModel();
    const int last = int(m_rows.size()) - 1;
    m_current = -2; // makes setCurrent announce the row even when its number stays
    setCurrent(found >= 0 ? found : std::min(std::max(fallbackRow, 0), last));
    Q_EMIT stateChanged(m_state);
    return ok || fail(m_table.errorText());
}

const QVariantList &TableEditModel::valuesOf(int row) const
{
    return isEditing() && row == m_current ? m_buffer : m_rows.at(row).values;
}

void TableEditModel::setState(State state)
{
    if (m_state != state) {
        m_state = state;
        Q_EMIT stateChanged(state);
    }
    Q_EMIT headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
}

void TableEditModel::setCurrent(int row)
{
    if (row == m_current) {
        return;
    }
    m_current = m_rows.isEmpty() ? -1 : row;
    Q_EMIT headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
    Q_EMIT currentRowChanged(m_current);
}

void TableEditModel::emitRowChanged(int row)
{
    if (row >= 0 && row < rowCount()) {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

bool TableEditModel::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) {
        return false;
    }
    if (isEditing() && row != m_current) {
        return fail(QStringLiteral("Строка не сохранена"));
    }
    setCurrent(row);
    return true;
}

const FieldDef *TableEditModel::fieldOfColumn(int column) const
{
    const int field = m_fieldIndex.value(column, -1);
    return field < 0 ? nullptr : &m_table.schema().fields.at(field);
}

int TableEditModel::columnOfField(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns.at(c).field == field) {
            return c;
        }
    }
    return -1;
}

QString TableEditModel::titleOfField(const QString &field) const
{
    const int column = columnOfField(field);
    return column < 0 ? field : m_columns.at(column).title.trimmed();
}

QString TableEditModel::keyViolationText(const QVariantList &values) const
{
    const TableSchema &schema = m_table.schema();
    QStringList key;
    for (const QString &name : schema.primaryKey) {
        const int i = schema.fieldIndex(name);
        const QString text = FieldValueText(schema.fields.at(i), values.at(i));
        if (!text.isEmpty()) { // an empty part of the key says nothing to the operator
            key.append(titleOfField(name) + u' ' + text);
        }
    }
    return QStringLiteral("Запись не сохранена: в таблице %1 уже есть запись с теми же "
                          "значениями (%2)")
        .arg(schema.fileName, key.join(QStringLiteral(", ")));
}

QVariant TableEditModel::value(int row, const QString &field) const
{
    const int i = m_table.schema().fieldIndex(field);
    if (row < 0 || row >= rowCount() || i < 0) {
        return {};
    }
    return valuesOf(row).value(i);
}

bool TableEditModel::setValue(const QString &field, const QVariant &value)
{
    const int i = m_table.schema().fieldIndex(field);
    if (!isEditing() || i < 0) {
        return false;
    }
    if (m_buffer.at(i) != value || m_buffer.at(i).isNull() != value.isNull()) {
        m_buffer[i] = value;
        m_modified = true;
        emitRowChanged(m_current);
    }
    return true;
}

bool TableEditModel::edit()
{
    if (isEditing()) {
        return true;
    }
    if (!m_table.isOpen()) {
        return fail(m_table.errorText().isEmpty()
                ? QStringLiteral("Таблица %1 не открыта").arg(m_table.schema().fileName)
                : m_table.errorText());
    }
    if (m_current < 0) {
        return fail(QStringLiteral("Нет записи для редактирования"));
    }
    if (m_editRefusal) {
        const QString refusal = m_editRefusal(m_rows.at(m_current).values);
        if (!refusal.isEmpty()) {
            return fail(refusal);
        }
    }
    m_buffer = m_rows.at(m_current).values;
    m_modified = false;
    setState(State::Edit);
    return true;
}

bool TableEditModel::beginNewRow(int at)
{
    if (!checkBrowseMode()) {
        return false;
    }
    if (!m_table.isOpen()) {
        return fail(m_table.errorText().isEmpty()
                ? QStringLiteral("Таблица %1 не открыта").arg(m_table.schema().fileName)
                : m_table.errorText());
    }
    const QList<FieldDef> &fields = m_table.schema().fields;
    Row row;
    for (const FieldDef &field : fields) {
        row.values.append(field.type == FieldType::Text ? QVariant(QString()) : QVariant());
    }
    if (m_newRowDefaults) {
        m_newRowDefaults(row.values);
    }
    at = std::clamp(at, 0, rowCount());
    beginInsertRows({}, at, at);
    m_rows.insert(at, row);
    endInsertRows();
    m_buffer = row.values; // the new row's stored values are the same until typed into
    m_modified = false;
    m_current = -2;
    setCurrent(at);
    setState(State::Insert);
    return true;
}

bool TableEditModel::insert()
{
    return beginNewRow(m_current < 0 ? rowCount() : m_current);
}

bool TableEditModel::append()
{
    return beginNewRow(rowCount());
}

bool TableEditModel::post()
{
    Q_EMIT closeEditors(true);
    if (!isEditing()) {
        return true;
    }
    QVariantList values = m_buffer;
    if (m_beforePost) {
        m_beforePost(values);
        if (values != m_buffer) {
            m_buffer = values;
            emitRowChanged(m_current);
        }
    }
    const QList<FieldDef> &fields = m_table.schema().fields;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).required && values.at(i).toString().isEmpty()) {
            return fail(QStringLiteral("Запись не сохранена: не заполнено обязательное поле «%1»")
                            .arg(titleOfField(fields.at(i).name)));
        }
    }
    qint64 rowid = m_rows.at(m_current).rowid;
    const bool written
        = m_state == State::Insert ? m_table.insert(values, &rowid) : m_table.update(rowid, values);
    if (!written) {
        return fail(m_table.keyViolation() ? keyViolationText(values) : m_table.errorText());
    }
    return reloadAt(rowid, m_current);
}

void TableEditModel::cancel()
{
    Q_EMIT closeEditors(false);
    if (m_state == State::Insert) {
        // Browse before the row goes: a view that moves its current row off the
        // removed one must not take that for leaving a row in edit.
        const int row = m_current;
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
        Q_EMIT stateChanged(m_state);
        m_current = -2;
        setCurrent(std::min(row, rowCount() - 1));
    } else if (m_state == State::Edit) {
        m_buffer.clear();
        m_modified = false;
        setState(State::Browse);
        emitRowChanged(m_current);
    }
}

bool TableEditModel::checkBrowseMode()
{
    Q_EMIT closeEditors(true);
    if (!isEditing()) {
        return true;
    }
    if (m_modified) {
        return post();
    }
    cancel();
    return true;
}

void TableEditModel::dropUnchangedInsert()
{
    if (m_state == State::Insert && !m_modified) {
        cancel();
    }
}

bool TableEditModel::deleteCurrent()
{
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    Q_EMIT closeEditors(false);
    if (m_current < 0) {
        return fail(QStringLiteral("Нет записи для удаления"));
    }
    const int row = m_current;
    if (!m_table.deleteRow(m_rows.at(row).rowid)) {
        return fail(m_table.errorText());
    }
    return reloadAt(0, row);
}

bool TableEditModel::locate(const std::function<bool(const QVariantList &)> &match)
{
    if (isEditing()) {
        return false;
    }
    for (int row = 0; row < m_rows.size(); ++row) {
        if (match(m_rows.at(row).values)) {
            setCurrent(row);
            return true;
        }
    }
    return false;
}

int TableEditModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TableEditModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TableEditModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const Column &column = m_columns.at(index.column());
    if (role == Qt::TextAlignmentRole) {
        return int(column.alignment);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const QVariantList &values = valuesOf(index.row());
    if (column.calculated) {
        return column.calculated(values);
    }
    const FieldDef *field = fieldOfColumn(index.column());
    return field ? FieldValueText(*field, values.value(m_fieldIndex.at(index.column())))
                 : QString();
}

bool TableEditModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const FieldDef *field = index.isValid() ? fieldOfColumn(index.column()) : nullptr;
    if (role != Qt::EditRole || !field) {
        return false;
    }
    if (!isEditing()) {
        if (index.row() != m_current && !setCurrentRow(index.row())) {
            return false;
        }
        if (!edit()) {
            return false;
        }
    }
    if (index.row() != m_current) {
        return false;
    }
    QVariant typed;
    if (!ParseFieldText(*field, value.toString(), &typed)) {
        return fail(QStringLiteral("Поле %1: \"%2\" не является допустимым значением")
                        .arg(field->name, value.toString()));
    }
    return setValue(field->name, typed);
}

Qt::ItemFlags TableEditModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && fieldOfColumn(index.column())) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant TableEditModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The tooltip gives the whole title of a column too narrow to show it.
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
        return section >= 0 && section < m_columns.size() ? m_columns.at(section).title : QString();
    }
    if (role != Qt::DisplayRole || orientation != Qt::Vertical) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    // The row indicator: which row is current and whether it is in edit.
    if (section != m_current) {
        return QString();
    }
    switch (m_state) {
    case State::Browse:
        return QStringLiteral("▶");
    case State::Edit:
        return QStringLiteral("I");
    case State::Insert:
        return QStringLiteral("*");
    }
    return {};
}
