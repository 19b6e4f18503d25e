#include "records/windows/browsernavigator.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace {

struct ButtonLook
{
    const char *name;
    QStyle::StandardPixmap picture;
    const char *hint;
};

const ButtonLook Looks[BrowserNavigator::ButtonCount] = {
    { "nbFirst", QStyle::SP_MediaSkipBackward, "Первая запись" },
    { "nbPrior", QStyle::SP_ArrowLeft, "Предыдущая запись" },
    { "nbNext", QStyle::SP_ArrowRight, "Следующая запись" },
    { "nbLast", QStyle::SP_MediaSkipForward, "Последняя запись" },
    { "nbDelete", QStyle::SP_DialogDiscardButton, "Удалить запись" },
    { "nbRefresh", QStyle::SP_BrowserReload, "Обновить данные" },
};

} // namespace

BrowserNavigator::BrowserNavigator(QAbstractItemView &view, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(Looks[i].name));
        b->setIcon(style()->standardIcon(Looks[i].picture));
        b->setToolTip(QString::fromUtf8(Looks[i].hint));
        b->setFixedSize(23, 23);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    const auto rows = [this] { return m_view.model() ? m_view.model()->rowCount() : 0; };
    connect(m_buttons[First], &QToolButton::clicked, this, [this] { moveTo(0); });
    connect(m_buttons[Prior], &QToolButton::clicked, this,
        [this] { moveTo(m_view.currentIndex().row() - 1); });
    connect(m_buttons[Next], &QToolButton::clicked, this,
        [this] { moveTo(m_view.currentIndex().row() + 1); });
    connect(m_buttons[Last], &QToolButton::clicked, this, [this, rows] { moveTo(rows() - 1); });
    connect(m_buttons[Delete], &QToolButton::clicked, this, &BrowserNavigator::deleteRequested);
    connect(m_buttons[Refresh], &QToolButton::clicked, this, &BrowserNavigator::refreshRequested);
    updateButtons();
}

void BrowserNavigator::moveTo(int row)
{
    QAbstractItemModel *model = m_view.model();
    if (!model || row < 0 || row >= model->rowCount()) {
        return;
    }
    const int column = std::max(m_view.currentIndex().column(), 0);
    m_view.setCurrentIndex(model->index(row, column));
    updateButtons();
}

void BrowserNavigator::updateButtons()
{
    const int rows = m_view.model() ? m_view.model()->rowCount() : 0;
    const int current = m_view.currentIndex().isValid() ? m_view.currentIndex().row() : -1;
    m_buttons[First]->setEnabled(current > 0);
    m_buttons[Prior]->setEnabled(current > 0);
    m_buttons[Next]->setEnabled(current >= 0 && current < rows - 1);
    m_buttons[Last]->setEnabled(current >= 0 && current < rows - 1);
    m_buttons[Delete]->setEnabled(current >= 0);
    m_buttons[Refresh]->setEnabled(m_view.model() != nullptr);
}
