#include "stats/windows/statisticswindow.h"

#include "records/browsercriteria.h"
#include "records/databasetable.h"
#include "shared/clock.h"
#include "shared/operatormessages.h"
#include "stats/windows/chartfiles.h"
#include "stats/windows/statisticscharts.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct ChartPage
{
    const char *objectName;
    const char *tab;
};

const ChartPage Pages[] = {
    { "chartTests", "Тесты РВ" },
    { "chartBands", "Диапазоны" },
    { "chartKinds", "Виды неисправностей" },
    { "chartLocos", "Локомотивы" },
    { "chartSelfTests", "Самоконтроль ТЕЛВ" },
};

QString share(qint64 part, qint64 whole)
{
    return whole ? QString::number(100.0 * double(part) / double(whole), 'f', 1) + u'%'
                 : QStringLiteral("—");
}

} // namespace

TFStats::TFStats(
    const DatabaseLocation &database, Clock &clock, OperatorMessages &messages, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_database(database)
    , m_clock(clock)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("TFStats"));
    setWindowTitle(QStringLiteral("Статистика"));
    resize(900, 620);
    buildControls();
    const QDate today = m_clock.now().date();
    setPeriod(QDate(today.year(), today.month(), 1).addMonths(-11), today, PeriodStep::Month);
}

void TFStats::buildControls()
{
    const auto dateEdit = [this](const char *name) {
        auto *edit = new QDateEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        return edit;
    };
    m_from = dateEdit("dtpFrom");
    m_to = dateEdit("dtpTo");
    auto *fromLabel = new QLabel(QStringLiteral("Период с"), this);
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(QStringLiteral("по"), this);
    toLabel->setBuddy(m_to);
    m_step = new QComboBox(this);
    m_step->setObjectName(QStringLiteral("cbStep"));
    m_step->setAccessibleName(QStringLiteral("Шаг"));
    m_step->addItems({ QStringLiteral("по неделям"), QStringLiteral("по месяцам") });
    m_byLocomotive = new QCheckBox(QStringLiteral("Только локомотив:"), this);
    m_byLocomotive->setObjectName(QStringLiteral("cbLoko"));
    m_locomotive = new QLineEdit(this);
    m_locomotive->setObjectName(QStringLiteral("eLoko"));
    m_locomotive->setAccessibleName(QStringLiteral("Номер локомотива"));
    m_locomotive->setMaxLength(8);
    m_locomotive->setEnabled(false);
    m_locomotive->setMaximumWidth(90);
    connect(m_byLocomotive, &QCheckBox::toggled, m_locomotive, &QWidget::setEnabled);
    m_show = new QPushButton(QStringLiteral("Показать"), this);
    m_show->setObjectName(QStringLiteral("bShow"));
    m_show->setDefault(true);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lSummary"));
    m_summary->setWordWrap(true);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcCharts"));
    for (const ChartPage &page : Pages) {
        auto *view = new QChartView(m_pages);
        view->setObjectName(QLatin1String(page.objectName));
        view->setAccessibleName(QString::fromUtf8(page.tab));
        view->setRenderHint(QPainter::Antialiasing);
        m_pages->addTab(view, QString::fromUtf8(page.tab));
        m_views.append(view);
    }

    m_save = new QPushButton(QStringLiteral("Сохранить график…"), this);
    m_save->setObjectName(QStringLiteral("bSaveChart"));
    m_print = new QPushButton(QStringLiteral("Печать графика…"), this);
    m_print->setObjectName(QStringLiteral("bPrintChart"));

    auto *criteria = new QHBoxLayout;
    criteria->addWidget(fromLabel);
    criteria->addWidget(m_from);
    criteria->addWidget(toLabel);
    criteria->addWidget(m_to);
    criteria->addWidget(m_step);
    criteria->addSpacing(12);
    criteria->addWidget(m_byLocomotive);
    criteria->addWidget(m_locomotive);
    criteria->addStretch();
    criteria->addWidget(m_show);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_print);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_show, &QPushButton::clicked, this, &TFStats::count);
    connect(m_save, &QPushButton::clicked, this, &TFStats::saveChart);
    connect(m_print, &QPushButton::clicked, this, &TFStats::printChart);
}

QChartView *TFStats::chartView(int index) const
{
    return m_views.value(index);
}

void TFStats::setPeriod(const QDate &from, const QDate &to, PeriodStep step)
{
    m_from->setDate(from);
    m_to->setDate(to);
    m_step->setCurrentIndex(step == PeriodStep::Week ? 0 : 1);
}

StatisticsRequest TFStats::request() const
{
    StatisticsRequest request;
    request.from = m_from->date();
    request.to = m_to->date();
    request.step = m_step->currentIndex() == 0 ? PeriodStep::Week : PeriodStep::Month;
    if (m_byLocomotive->isChecked()) {
        request.locomotive = PadLocomotiveNumber(m_locomotive->text());
    }
    return request;
}

void TFStats::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        count();
    }
}

void TFStats::setChart(int index, QChart *chart)
{
    QChart *old = m_views.at(index)->chart();
    m_views.at(index)->setChart(chart);
    delete old;
}

void TFStats::count()
{
    const StatisticsRequest wanted = request();
    if (wanted.from > wanted.to) {
        m_summary->setText(QStringLiteral("Начало периода позже его конца: ничего не посчитано."));
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList notes;
    RadioTestStatistics radio;
    {
        DatabaseTable table(m_database, Test23Schema());
        QString error;
        if (!table.open(DatabaseTable::OpenMode::ExistingOnly)) {
            notes.append(QStringLiteral("Тесты РВ: ") + table.errorText());
        } else if (!ReadRadioTestStatistics(table, wanted, &radio, &error)) {
            notes.append(QStringLiteral("Тесты РВ: ") + error);
            radio = {};
        }
    }
    SelfTestStatistics self;
    {
        DatabaseTable table(m_database, Tests1Schema());
        QString error;
        if (!table.open(DatabaseTable::OpenMode::ExistingOnly)) {
            notes.append(QStringLiteral("Самоконтроль: ") + table.errorText());
        } else if (!ReadSelfTestStatistics(table, wanted, &self, &error)) {
            notes.append(QStringLiteral("Самоконтроль: ") + error);
            self = {};
        }
    }
    if (radio.periods.isEmpty()) {
        // Empty charts still show the periods asked for.
        for (const QDate &start : PeriodStarts(wanted.from, wanted.to, wanted.step)) {
            radio.periods.append({ start, 0, 0 });
        }
        for (const char *band : { "ДМВ", "МВ", "ГМВ" }) {
            radio.bands.append({ QString::fromUtf8(band), 0 });
        }
    }
    if (self.periods.isEmpty()) {
        for (const QDate &start : PeriodStarts(wanted.from, wanted.to, wanted.step)) {
            self.periods.append({ start, 0, 0 });
        }
    }
    setChart(0, RadioTestsChart(radio, wanted.step));
    setChart(1, BandsChart(radio));
    setChart(2, FaultKindsChart(radio));
    setChart(3, LocomotivesChart(radio));
    setChart(4, SelfTestsChart(self, wanted.step));
    QGuiApplication::restoreOverrideCursor();

    QString text = QStringLiteral("Тестов РВ: %1, брак: %2 (%3). Самоконтроль ТЕЛВ: %4, брак: %5 (%6).")
                       .arg(radio.tests)
                       .arg(radio.faulty)
                       .arg(share(radio.faulty, radio.tests))
                       .arg(self.tests)
                       .arg(self.faulty)
                       .arg(share(self.faulty, self.tests));
    if (wanted.locomotive) {
        text += QStringLiteral(" Тесты РВ только локомотива %1.").arg(*wanted.locomotive);
    }
    if (!notes.isEmpty()) {
        text += QStringLiteral("\nНе удается прочитать данные: ") + notes.join(QStringLiteral("; "));
    }
    m_summary->setText(text);
}

void TFStats::saveChart()
{
    QChartView *view = m_views.at(m_pages->currentIndex());
    const QString suggested = QStringLiteral("%1 %2.png")
                                  .arg(m_pages->tabText(m_pages->currentIndex()),
                                      m_clock.now().date().toString(QStringLiteral("yyyy-MM-dd")));
    const QString path = m_choose(this, QStringLiteral("Сохранить график"), suggested,
        QStringLiteral("Рисунок PNG (*.png);;Документ PDF (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!SaveChart(*view, path, &error)) {
        m_messages.showError(error);
    }
}

void TFStats::printChart()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    PaintChartPage(*m_views.at(m_pages->currentIndex()), printer);
}
