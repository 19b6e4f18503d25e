#include "blocks/windows/blocknumwindow.h"

#include "blocks/blocknumreport.h"
#include "records/windows/registereditors.h"
#include "reports/reportprepare.h"
#include "reports/reportrows.h"
#include "reports/windows/reportpreview.h"
#include "shared/clock.h"
#include "shared/operatormessages.h"
#include "widgets/recordgrid.h"
#include "widgets/recordnavigator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfBlockNum::TfBlockNum(
    Clock &clock, OperatorMessages &messages, const DatabaseLocation &database, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_clock(clock)
    , m_messages(messages)
    , m_register(database, clock, messages)
{
    setObjectName(QStringLiteral("TfBlockNum"));
    setWindowTitle(QStringLiteral("Заводские номера блоков"));
    resize(760, 420);

    TableEditModel &model = m_register.model();
    m_printGroup = new QGroupBox(QStringLiteral("Параметры печати"), this);
    m_printGroup->setObjectName(QStringLiteral("GroupBox1"));
    m_include = new QComboBox(m_printGroup);
    m_include->setObjectName(QStringLiteral("cbIncludeRecords"));
    m_include->addItems({ QStringLiteral("Выводить только текущие номера для каждого локомотива"),
        QStringLiteral("Выводить все номера ") });
    m_print = new QPushButton(QStringLiteral("Печать"), m_printGroup);
    m_print->setObjectName(QStringLiteral("bPrint"));
    auto *printRow = new QHBoxLayout(m_printGroup);
    printRow->addWidget(m_include, 1);
    printRow->addWidget(m_print);

    auto *fieldsLabel = new QLabel(QStringLiteral("Показать поля:"), this);
    fieldsLabel->setObjectName(QStringLiteral("Label1"));
    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("clbViewFields"));
    // Two columns: the items run down and wrap into the second one.
    m_fields->setFlow(QListView::TopToBottom);
    m_fields->setWrapping(true);
    m_fields->setResizeMode(QListView::Adjust);
    const int itemHeight = std::max(fontMetrics().height() + 4, 18);
    m_fields->setGridSize(QSize(125, itemHeight));
    m_fields->setFixedSize(262, 8 * itemHeight + 2 * m_fields->frameWidth());

    // Made after the print and field controls, so that it is last in the tab order.
    const RegisterEditors editors = CreateRegisterEditors(model, m_messages, this);
    m_navigator = editors.navigator;
    m_grid = editors.grid;

    // Block numbers are sixteen digits wide.
    const int blockWidth = fontMetrics().horizontalAdvance(QString(16, u'0')) + 10;
    for (int k = 1; k <= 8; ++k) {
        m_grid->setColumnWidth(model.columnOfField(QStringLiteral("Block%1").arg(k)), blockWidth);
    }

    auto *left = new QVBoxLayout;
    left->addWidget(m_navigator, 0, Qt::AlignLeft);
    left->addWidget(m_printGroup);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(fieldsLabel);
    right->addWidget(m_fields);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);

    connect(&model, &TableEditModel::stateChanged, this, &TfBlockNum::DataSource1StateChange);
    connect(m_print, &QPushButton::clicked, this, &TfBlockNum::bPrintClick);

    // FormCreate: the table, the first print choice, one check item per column.
    if (!m_register.open()) {
        m_messages.showError(OpenFailureText(m_register.table()));
    }
    m_include->setCurrentIndex(0);
    for (int c = 0; c < model.columnCount(); ++c) {
        auto *item = new QListWidgetItem(
            model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), m_fields);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(m_grid->isColumnHidden(c) ? Qt::Unchecked : Qt::Checked);
    }
    m_fields->setSpacing(0);
    connect(m_fields, &QListWidget::itemChanged, this, &TfBlockNum::clbViewFieldsClickCheck);
    DataSource1StateChange();
}

void TfBlockNum::iBlockNumClick()
{
    show();
    raise();
    activateWindow();
}

void TfBlockNum::clbViewFieldsClickCheck(QListWidgetItem *item)
{
    m_grid->setColumnHidden(m_fields->row(item), item->checkState() != Qt::Checked);
}

void TfBlockNum::DataSource1StateChange()
{
    m_print->setEnabled(!m_register.model().isEditing());
}

bool TfBlockNum::FormCloseQuery()
{
    raise();
    // The question's boxes take the activation while they are shown.
    m_asking = true;
    const bool mayClose = FinishRowInEdit(m_register.model(), m_messages);
    m_asking = false;
    return mayClose;
}

void TfBlockNum::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfBlockNum::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        FormDeactivate();
    }
    return QWidget::event(event);
}

void TfBlockNum::FormDeactivate()
{
    // A modal box (this window's question, the register's own question about
    // numbers that arrived, any other message) takes the activation too; that is no
    // leaving, and one question at a time.
    if (m_asking || QApplication::activeModalWidget() || !m_register.model().isEditing()) {
        return;
    }
    if (!FormCloseQuery()) {
        raise();
        activateWindow();
    }
}

void TfBlockNum::bPrintClick()
{
    QList<QStringList> rows;
    if (!m_register.printRows(m_include->currentIndex() == 0, &rows)) {
        m_messages.showError(m_register.errorText());
        return;
    }
    ReportRowList source(FactoryNumbersRegister::printFields(), rows);
    PreviewReport(TfBlockNumRep::layout(TfBlockNumRep::headerLine(m_clock.now())), source, {},
        m_clock, m_messages, this);
}
