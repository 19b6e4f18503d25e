#include "widgets/recordnavigator.h"

#include "records/tableeditmodel.h"
#include "shared/operatormessages.h"

#include <QHBoxLayout>
#include <QToolButton>

#include <algorithm>

namespace {

struct ButtonLook
{
    const char *name;
    const char16_t *glyph;
    const char16_t *hint;
};

// The hints are the program's own; three of them have two spaces.
const ButtonLook Looks[RecordNavigator::ButtonCount] = {
    { "nbFirst", u"|◀", u"Первая запись" },
    { "nbPrior", u"◀", u"Предыдущая запись" },
    { "nbNext", u"▶", u"Следующая запись" },
    { "nbLast", u"▶|", u"Последняя запись" },
    { "nbInsert", u"+", u"Вставить  запись" },
    { "nbDelete", u"−", u"Удалить  запись" },
    { "nbEdit", u"▲", u"Редактировать  запись" },
    { "nbPost", u"✓", u"Запомнить изменения" },
    { "nbCancel", u"✕", u"Отменить изменения" },
};

} // namespace

RecordNavigator::RecordNavigator(TableEditModel &model, OperatorMessages &messages, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_messages(messages)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(Looks[i].name));
        button->setText(QString::fromUtf16(Looks[i].glyph));
        button->setToolTip(QString::fromUtf16(Looks[i].hint));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(25, 25);
        row->addWidget(button);
        m_buttons[i] = button;
        connect(button, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
    }
    connect(&m_model, &TableEditModel::stateChanged, this, &RecordNavigator::updateButtons);
    connect(&m_model, &TableEditModel::currentRowChanged, this, &RecordNavigator::updateButtons);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &RecordNavigator::updateButtons);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &RecordNavigator::updateButtons);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &RecordNavigator::updateButtons);
    updateButtons();
}

QString RecordNavigator::deleteQuestion()
{
    return QStringLiteral("Удалить запись?");
}

void RecordNavigator::click(Button which)
{
    switch (which) {
    case First:
        moveTo(0);
        break;
    case Prior:
        moveTo(m_model.currentRow() - 1);
        break;
    case Next:
        moveTo(m_model.currentRow() + 1);
        break;
    case Last:
        moveTo(m_model.rowCount() - 1);
        break;
    case Insert:
        if (m_model.insert()) {
            Q_EMIT inserted();
        } else {
            report(false);
        }
        break;
    case Delete:
        if (m_messages.ask(deleteQuestion(), false) == OperatorMessages::Answer::Yes) {
            report(m_model.deleteCurrent());
        }
        break;
    case Edit:
        report(m_model.edit());
        break;
    case Post:
        report(m_model.post());
        break;
    case Cancel:
        m_model.cancel();
        break;
    case ButtonCount:
        break;
    }
}

void RecordNavigator::moveTo(int row)
{
    if (!m_model.checkBrowseMode()) {
        report(false);
        return;
    }
    if (m_model.rowCount() > 0) {
        m_model.setCurrentRow(std::clamp(row, 0, m_model.rowCount() - 1));
    }
}

void RecordNavigator::report(bool ok)
{
    if (!ok) {
        m_messages.showError(m_model.errorText());
    }
}

void RecordNavigator::updateButtons()
{
    const int rows = m_model.rowCount();
    const int current = m_model.currentRow();
    const bool editing = m_model.isEditing();
    const bool open = m_model.table().isOpen();
    m_buttons[First]->setEnabled(current > 0);
    m_buttons[Prior]->setEnabled(current > 0);
    m_buttons[Next]->setEnabled(current >= 0 && current < rows - 1);
    m_buttons[Last]->setEnabled(current >= 0 && current < rows - 1);
    m_buttons[Insert]->setEnabled(open);
    m_buttons[Delete]->setEnabled(open && rows > 0);
    m_buttons[Edit]->setEnabled(open && rows > 0 && !editing);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
}
