#include "console/trafficwindow.h"

#include "link/trafficlog.h"
#include "shared/codecs.h"
#include "widgets/help.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int CellSize = 20;

QTableWidget *byteGrid(QWidget *parent, const char *name, int x)
{
    auto *grid = new QTableWidget(TFevery::Rows, TFevery::BytesPerRow, parent);
    grid->setObjectName(QLatin1String(name));
    grid->setGeometry(x, 30, 252, 268);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->horizontalHeader()->setDefaultSectionSize(CellSize);
    grid->horizontalHeader()->setMinimumSectionSize(CellSize);
    grid->verticalHeader()->setDefaultSectionSize(CellSize);
    grid->verticalHeader()->setMinimumSectionSize(CellSize);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QFont small = grid->font();
    small.setPixelSize(9);
    grid->setFont(small);
    grid->horizontalHeader()->setFont(small);
    grid->verticalHeader()->setFont(small);
    QStringList columns;
    for (int c = 0; c < TFevery::BytesPerRow; ++c) {
        columns.append(QString::number(c));
    }
    QStringList rows;
    for (int r = 0; r < TFevery::Rows; ++r) {
        rows.append(QString::number(r * TFevery::BytesPerRow));
    }
    grid->setHorizontalHeaderLabels(columns);
    grid->setVerticalHeaderLabels(rows);
    // Row labels run up to "990": they get the room around them that a byte has in
    // its cell.
    const QFontMetrics metrics(small);
    grid->verticalHeader()->setFixedWidth(metrics.horizontalAdvance(rows.constLast()) + CellSize
        - metrics.horizontalAdvance(QStringLiteral("FF")));
    return grid;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, int x)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(13);
    label->setFont(font);
    label->move(x, 8);
    return label;
}

// Cells beyond the log's bytes keep what an earlier filling wrote: a log never shrinks.
void fillGrid(QTableWidget *grid, const TrafficLog &log)
{
    const QByteArray bytes = log.bytes();
    for (int n = 0; n < bytes.size(); ++n) {
        const auto text = ByteToHexText(static_cast<std::uint8_t>(bytes[n]));
        const int row = n / TFevery::BytesPerRow;
        const int column = n % TFevery::BytesPerRow;
        if (QTableWidgetItem *item = grid->item(row, column)) {
            item->setText(text);
        } else {
            grid->setItem(row, column, new QTableWidgetItem(text));
        }
    }
}

} // namespace

TFevery::TFevery(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FEvery"));
    setWindowTitle(QStringLiteral("Команды и сообщения"));
    setFixedSize(526, 344);
    Help::setTopic(this, 5);

    caption(this, "Label1", QStringLiteral("Принятые сообщения"), 8);
    m_received = byteGrid(this, "StringGrid1", 8);
    caption(this, "Label7", QStringLiteral("Посланные команды"), 266);
    m_sent = byteGrid(this, "StringGrid2", 266);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(220, 308, 86, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TFevery::fill(const TrafficLog &received, const TrafficLog &sent)
{
    fillGrid(m_received, received);
    fillGrid(m_sent, sent);
}

void TFevery::showTraffic(const TrafficLog &received, const TrafficLog &sent)
{
    fill(received, sent);
    if (parentWidget()) {
        move(parentWidget()->geometry().center() - rect().center());
    }
    exec();
}
