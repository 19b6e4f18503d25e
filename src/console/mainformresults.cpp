// What the test sequences and the direct commands show in the results area.
#include "console/mainform.h"
#include "sequences/windows/radiotestpanel.h"
#include "sequences/windows/selftestpanel.h"
#include "widgets/gauges.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TMainForm::showRadioTest1(const QString &header, const QString &locoLine, int durationSeconds)
{
    m_ui.Label25->setText(header);
    m_ui.Label27->setText(locoLine);
    m_ui.Label27->show();
    m_ui.Gauge4->setMaximum(durationSeconds);
    m_ui.Gauge4->setPosition(0);
    m_ui.Gauge4->show();
    m_ui.BitBtn5->show();
}

void TMainForm::showRadioTest1Elapsed(int seconds)
{
    m_ui.Gauge4->setPosition(seconds);
}

void TMainForm::showRadioTest1Ended()
{
    m_ui.BitBtn5->hide();
    m_ui.Gauge4->hide();
    m_ui.Label27->hide();
    m_ui.Label25->setText(QStringLiteral("Результаты тестирования"));
}

void TMainForm::resetTestGauges()
{
    for (Gauge *gauge :
        std::initializer_list<Gauge *> { m_ui.Panel4->Gauge2, m_ui.Panel5->Gauge3, m_ui.Gauge4 }) {
        gauge->setPosition(0);
    }
}

bool TMainForm::amplifierAlarmShown() const
{
    return !m_ui.LBadUM_MW->isHidden() || !m_ui.LBadUM_GMW->isHidden();
}

void TMainForm::hideAmplifierAlarms()
{
    m_ui.LBadUM_MW->hide();
    m_ui.LBadUM_GMW->hide();
}

void TMainForm::showTechnologicalMode(const QString &header, bool liuField)
{
    // The self-test's panel, when shown, stays as it is.
    if (m_ui.Panel4->isHidden()) {
        ResetResultsPanel();
    }
    m_ui.LLIU->setVisible(liuField);
    m_ui.ELIU->setVisible(liuField);
    m_ui.Label25->setText(header);
}
