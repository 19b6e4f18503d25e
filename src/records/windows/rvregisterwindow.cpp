#include "records/windows/rvregisterwindow.h"

#include "records/rvlocalcopy.h"
#include "records/windows/registereditors.h"
#include "reports/reportrows.h"
#include "reports/rvreport.h"
#include "reports/windows/reportpreview.h"
#include "shared/operatormessages.h"
#include "widgets/recordgrid.h"
#include "widgets/recordnavigator.h"

#include <QCloseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int LocoColumnCharacters = 15;

} // namespace

TFDBRV::TFDBRV(
    Clock &clock, OperatorMessages &messages, const DatabaseLocation &database, QWidget *parent)
    : QDialog(parent)
    , m_clock(clock)
    , m_messages(messages)
    , m_register(database)
{
    setObjectName(QStringLiteral("TFDBRV"));
    setWindowTitle(QStringLiteral("Данные о локомотивных РС"));
    resize(427, 375);

    m_report = new QToolButton(this);
    m_report->setObjectName(QStringLiteral("BitBtn1"));
    m_report->setToolTip(QStringLiteral("Отчет"));
    m_report->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_report->setFixedSize(25, 25);

    const RegisterEditors editors = CreateRegisterEditors(m_register.model(), m_messages, this);
    m_navigator = editors.navigator;
    m_grid = editors.grid;
    m_grid->setColumnWidth(
        0, m_grid->fontMetrics().horizontalAdvance(u'0') * LocoColumnCharacters + 6);
    m_grid->setColumnWidth(1, 144);
    m_grid->setColumnWidth(2, 165);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_report, 0, Qt::AlignLeft);
    layout->addWidget(m_navigator, 0, Qt::AlignLeft);
    // The grid grows with the window's height only.
    m_grid->setFixedWidth(
        width() - layout->contentsMargins().left() - layout->contentsMargins().right());
    layout->addWidget(m_grid, 1, Qt::AlignLeft);

    connect(m_report, &QToolButton::clicked, this, &TFDBRV::BitBtn1Click);

    if (!m_register.open()) {
        m_messages.showError(OpenFailureText(m_register.table()));
    }
    if (database.onServer()) {
        m_copy = std::make_unique<RvLocalCopy>(m_register, clock);
        m_copy->refresh();
        // Every change reloads the rows; the copy follows.
        connect(&m_register.model(), &QAbstractItemModel::modelReset, m_copy.get(),
            [this] { m_copy->refresh(); });
    }
}

TFDBRV::~TFDBRV() = default;

AttenuationLookup &TFDBRV::attenuationLookup()
{
    if (m_copy) {
        return *m_copy;
    }
    return m_register;
}

bool TFDBRV::FormCloseQuery()
{
    return FinishRowInEdit(m_register.model(), m_messages);
}

void TFDBRV::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery()) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

void TFDBRV::reject()
{
    if (FormCloseQuery()) {
        QDialog::reject();
    }
}

bool TFDBRV::reportRows(QList<QStringList> *rows)
{
    TableEditModel &model = m_register.model();
    if (!model.checkBrowseMode()) {
        m_messages.showError(model.errorText());
        return false;
    }
    if (!m_register.reportRows(rows)) {
        m_messages.showError(m_register.errorText());
        return false;
    }
    return true;
}

void TFDBRV::BitBtn1Click()
{
    QList<QStringList> rows;
    if (!reportRows(&rows)) {
        return;
    }
    ReportRowList source(RvRegister::reportFields(), rows);
    PreviewReport(TQRRV::layout(), source, TQRRV::hooks(m_clock), m_clock, m_messages, this);
}

void TFDBRV::closeTable()
{
    if (!m_register.close()) {
        m_messages.showError(m_register.errorText());
    }
}
