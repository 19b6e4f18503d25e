#include "stats/windows/statisticscharts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

const QColor NormalBars { 70, 130, 180 };
const QColor FaultBars { 200, 40, 40 };

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis *countAxis(qint64 largest, const QString &title)
{
    auto *axis = new QValueAxis;
    const qint64 top = std::max<qint64>(largest, 1);
    axis->setRange(0, qreal(top));
    axis->setLabelFormat(QStringLiteral("%d"));
    if (top <= 10) {
        axis->setTickCount(int(top) + 1); // a tick for every whole test
    } else {
        axis->applyNiceNumbers();
    }
    axis->setTitleText(title);
    return axis;
}

// Colours a bar set; after its series joined the chart, whose theme colours it too.
void paint(QBarSet *set, const QColor &colour)
{
    set->setColor(colour);
    set->setBorderColor(colour.darker(120));
}

// Stacked bars of passed and failed tests per period.
QChart *periodChart(const QString &title, const QString &passedLabel, const QString &failedLabel,
    const QList<PeriodCount> &periods, PeriodStep step)
{
    QChart *chart = newChart(title);
    auto *passed = new QBarSet(passedLabel);
    auto *failed = new QBarSet(failedLabel);
    QStringList labels;
    qint64 largest = 0;
    for (const PeriodCount &period : periods) {
        labels.append(PeriodLabel(period.start, step));
        *passed << qreal(period.tests - period.faulty);
        *failed << qreal(period.faulty);
        largest = std::max(largest, period.tests);
    }
    auto *series = new QStackedBarSeries;
    series->append(passed);
    series->append(failed);
    chart->addSeries(series);
    paint(passed, NormalBars);
    paint(failed, FaultBars);
    auto *periodsAxis = new QBarCategoryAxis;
    periodsAxis->append(labels);
    periodsAxis->setLabelsAngle(labels.size() > 14 ? -90 : 0);
    chart->addAxis(periodsAxis, Qt::AlignBottom);
    series->attachAxis(periodsAxis);
    QValueAxis *counts = countAxis(largest, QStringLiteral("Тестов"));
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
    return chart;
}

// Horizontal bars of named counts, the first of the list on top.
QChart *rankingChart(
    const QString &title, const QString &setLabel, const QList<NamedCount> &counts)
{
    QChart *chart = newChart(title);
    auto *set = new QBarSet(setLabel);
    QStringList names;
    qint64 largest = 0;
    for (auto it = counts.crbegin(); it != counts.crend(); ++it) {
        names.append(it->name);
        *set << qreal(it->count);
        largest = std::max(largest, it->count);
    }
    auto *series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    chart->addSeries(series);
    paint(set, FaultBars);
    auto *namesAxis = new QBarCategoryAxis;
    namesAxis->append(names);
    chart->addAxis(namesAxis, Qt::AlignLeft);
    series->attachAxis(namesAxis);
    QValueAxis *values = countAxis(largest, QStringLiteral("Тестов"));
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    chart->legend()->hide();
    return chart;
}

} // namespace

QChart *RadioTestsChart(const RadioTestStatistics &statistics, PeriodStep step)
{
    QChart *chart = periodChart(QStringLiteral("Тесты РВ: всего %1, брак %2")
                                    .arg(statistics.tests)
                                    .arg(statistics.faulty),
        QStringLiteral("Норма"), QStringLiteral("Брак"), statistics.periods, step);

    auto *share = new QLineSeries;
    share->setName(QStringLiteral("Доля брака, %"));
    share->setPen(QPen(QColor(230, 140, 0), 2));
    share->setPointsVisible(true);
    for (qsizetype i = 0; i < statistics.periods.size(); ++i) {
        const PeriodCount &period = statistics.periods.at(i);
        share->append(qreal(i), period.tests ? 100.0 * qreal(period.faulty) / qreal(period.tests) : 0.0);
    }
    chart->addSeries(share);
    // The line's x values are the bar positions 0, 1, 2 … under the period axis.
    share->attachAxis(chart->axes(Qt::Horizontal).constFirst());
    auto *percent = new QValueAxis;
    percent->setRange(0, 100);
    percent->setLabelFormat(QStringLiteral("%d%%"));
    percent->setTitleText(QStringLiteral("Доля брака"));
    chart->addAxis(percent, Qt::AlignRight);
    share->attachAxis(percent);
    return chart;
}

QChart *BandsChart(const RadioTestStatistics &statistics)
{
    return rankingChart(QStringLiteral("Неисправности по диапазонам"),
        QStringLiteral("Тестов с неисправностью"), statistics.bands);
}

QChart *FaultKindsChart(const RadioTestStatistics &statistics)
{
    return rankingChart(QStringLiteral("Виды неисправностей"), QStringLiteral("Тестов"),
        statistics.faultKinds);
}

QChart *LocomotivesChart(const RadioTestStatistics &statistics)
{
    return rankingChart(QStringLiteral("Локомотивы с наибольшим числом тестов «Брак»"),
        QStringLiteral("Тестов «Брак»"), statistics.locomotives);
}

QChart *SelfTestsChart(const SelfTestStatistics &statistics, PeriodStep step)
{
    return periodChart(QStringLiteral("Самоконтроль ТЕЛВ: всего %1, брак %2")
                           .arg(statistics.tests)
                           .arg(statistics.faulty),
        QStringLiteral("Норма"), QStringLiteral("Брак"), statistics.periods, step);
}
