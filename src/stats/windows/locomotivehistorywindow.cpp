#include "stats/windows/locomotivehistorywindow.h"

#include "records/databasetable.h"
#include "shared/clock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QTableWidget *grid(QWidget *parent, const char *name, const QStringList &titles)
{
    auto *table = new QTableWidget(0, int(titles.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QString when(const QDate &date, const QTime &time)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy"))
            + (time.isValid() ? time.toString(QStringLiteral(" HH:mm")) : QString())
                          : QString();
}

void setRow(QTableWidget *table, int row, const QStringList &texts, const QColor &colour = {})
{
    for (int c = 0; c < texts.size(); ++c) {
        auto *item = new QTableWidgetItem(texts.at(c));
        if (colour.isValid() && c == texts.size() - 1) {
            item->setForeground(colour);
        }
        table->setItem(row, c, item);
    }
}

} // namespace

TFLocoHistory::TFLocoHistory(const DatabaseLocation &database, Clock &clock, QWidget *parent)
    : QDialog(parent)
    , m_database(database)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("TFLocoHistory"));
    resize(760, 520);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lNote"));
    m_note->setWordWrap(true);
    m_tests = grid(this, "gridTests",
        { QStringLiteral("Дата"), QStringLiteral("Режим"), QStringLiteral("Итог"),
            QStringLiteral("Код ошибки"), QStringLiteral("Неисправности") });
    QStringList blockTitles { QStringLiteral("Внесены"), QStringLiteral("Подтверждены") };
    for (int i = 1; i <= 8; ++i) {
        blockTitles.append(QStringLiteral("Блок%1").arg(i));
    }
    m_blocks = grid(this, "gridBlocks", blockTitles);
    m_print = new QPushButton(QStringLiteral("Печать…"), this);
    m_print->setObjectName(QStringLiteral("bPrint"));
    m_close = new QPushButton(QStringLiteral("Закрыть"), this);
    m_close->setObjectName(QStringLiteral("bClose"));

    auto *blocksLabel = new QLabel(QStringLiteral("Заводские номера блоков:"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_tests, 3);
    layout->addWidget(blocksLabel);
    layout->addWidget(m_blocks, 1);
    layout->addLayout(buttons);

    connect(m_print, &QPushButton::clicked, this, &TFLocoHistory::print);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

void TFLocoHistory::load(const QString &locomotive)
{
    setWindowTitle(QStringLiteral("История локомотива ") + locomotive);
    m_history = { locomotive, {}, {} };
    QStringList problems;
    QString error;
    {
        DatabaseTable tests(m_database, Test23Schema());
        if (!tests.open(DatabaseTable::OpenMode::ExistingOnly)
            || !ReadTestHistory(tests, locomotive, &m_history, &error)) {
            problems.append(error.isEmpty() ? tests.errorText() : error);
        }
    }
    error.clear();
    {
        DatabaseTable blocks(m_database, BlockNumSchema());
        if (!blocks.open(DatabaseTable::OpenMode::ExistingOnly)
            || !ReadBlockHistory(blocks, locomotive, &m_history, &error)) {
            problems.append(error.isEmpty() ? blocks.errorText() : error);
        }
    }
    QString note = QStringLiteral("Локомотив %1: тестов %2, наборов заводских номеров %3.")
                       .arg(locomotive)
                       .arg(m_history.tests.size())
                       .arg(m_history.blocks.size());
    if (!problems.isEmpty()) {
        note += QStringLiteral("\nНе удается прочитать данные: ") + problems.join(QStringLiteral("; "));
    }
    m_note->setText(note);
    showHistory();
}

void TFLocoHistory::showHistory()
{
    m_tests->setRowCount(int(m_history.tests.size()));
    for (int row = 0; row < m_history.tests.size(); ++row) {
        const HistoryTest &test = m_history.tests.at(row);
        setRow(m_tests, row,
            { when(test.date, test.time), test.event, test.verdict, test.code,
                test.faults.join(QStringLiteral("; ")) },
            test.faults.isEmpty() ? QColor() : QColor(255, 0, 0));
    }
    m_blocks->setRowCount(int(m_history.blocks.size()));
    for (int row = 0; row < m_history.blocks.size(); ++row) {
        const HistoryBlocks &blocks = m_history.blocks.at(row);
        setRow(m_blocks, row,
            QStringList { when(blocks.entered, blocks.enteredTime),
                when(blocks.confirmed, blocks.confirmedTime) }
                + blocks.blocks);
    }
    m_tests->resizeColumnsToContents();
    m_blocks->resizeColumnsToContents();
    m_tests->scrollToBottom();
}

void TFLocoHistory::print()
{
    QTextDocument document;
    document.setHtml(LocomotiveHistoryHtml(m_history, m_clock.now()));
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("HistoryPreview"));
    preview.setWindowTitle(windowTitle());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
        [&document](QPrinter *target) { document.print(target); });
    preview.exec();
}
