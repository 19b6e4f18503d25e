#include "params/windows/reservewindow.h"

#include "widgets/okcancelrow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

TFReserv::TFReserv(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FReserv"));
    setWindowTitle(QStringLiteral("FReserv"));
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    m_test21 = checkBox(this, "CBTest21", QStringLiteral("Тест 21"));
    m_test22 = checkBox(this, "CBTest22", QStringLiteral("Тест 22"));
    m_test32 = checkBox(this, "CBTest32", QStringLiteral("Тест 32"));
    m_dvx = checkBox(this, "CBDVX", QStringLiteral("DVX"));
    m_tone = new QComboBox(this);
    m_tone->setObjectName(QStringLiteral("CBTon"));
    m_tone->addItems({ QStringLiteral("700   Гц"), QStringLiteral("1000 Гц"),
        QStringLiteral("1400 Гц"), QString() });
    auto *toneLabel = new QLabel(QStringLiteral("Тон:"), this);
    toneLabel->setBuddy(m_tone);

    auto *tests = new QHBoxLayout;
    tests->addWidget(m_test21);
    tests->addWidget(m_test22);
    tests->addWidget(m_test32);
    tests->addStretch();
    auto *tone = new QHBoxLayout;
    tone->addWidget(m_dvx);
    tone->addSpacing(24);
    tone->addWidget(toneLabel);
    tone->addWidget(m_tone);
    tone->addStretch();

    QHBoxLayout *buttons = OkCancelRow(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tests);
    layout->addLayout(tone);
    layout->addStretch();
    layout->addLayout(buttons);
}

void TFReserv::fill(const ReserveSettings &settings)
{
    m_test21->setChecked(settings.test21);
    m_test22->setChecked(settings.test22);
    m_test32->setChecked(settings.test32);
    m_dvx->setChecked(settings.dvx);
    m_tone->setCurrentIndex(settings.tone);
}

ReserveSettings TFReserv::settings() const
{
    ReserveSettings settings;
    settings.test21 = m_test21->isChecked();
    settings.test22 = m_test22->isChecked();
    settings.test32 = m_test32->isChecked();
    settings.dvx = m_dvx->isChecked();
    settings.tone = m_tone->currentIndex();
    return settings;
}
