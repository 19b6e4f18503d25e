#include "legacy/windows/legacyimportdialogs.h"

#include <QDir>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

QString LegacyImportTitle()
{
    return QStringLiteral("Импорт таблиц прежней программы");
}

LegacyImportDialogs::LegacyImportDialogs(QWidget *parent)
    : m_parent(parent)
{ }

LegacyImportDialogs::~LegacyImportDialogs()
{
    closeProgress();
}

QProgressDialog &LegacyImportDialogs::progressDialog()
{
    if (m_progress.isNull()) {
        m_progress = new QProgressDialog(m_parent);
        m_progress->setObjectName(QStringLiteral("LegacyImportProgress"));
        m_progress->setWindowTitle(LegacyImportTitle());
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        m_progress->setMinimumWidth(420);
        auto *cancel = new QPushButton(QStringLiteral("Отмена"));
        cancel->setObjectName(QStringLiteral("LegacyImportCancel"));
        m_progress->setCancelButton(cancel);
    }
    return *m_progress;
}

void LegacyImportDialogs::closeProgress()
{
    delete m_progress.data();
}

bool LegacyImportDialogs::progress(const QString &fileName, qint64 done, qint64 total)
{
    QProgressDialog &dialog = progressDialog();
    dialog.setLabelText(QStringLiteral("Чтение %1…").arg(QDir::toNativeSeparators(fileName)));
    // Whole thousands keep the range within an int for any table.
    dialog.setMaximum(int(std::max<qint64>(total / 1000, 1)));
    dialog.setValue(int(done / 1000)); // runs the event loop: "Отмена" is seen here
    return !dialog.wasCanceled();
}

void LegacyImportDialogs::writing()
{
    QProgressDialog &dialog = progressDialog();
    dialog.setLabelText(QStringLiteral("Запись в таблицы…"));
    if (auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("LegacyImportCancel"))) {
        cancel->setEnabled(false);
    }
    // Painted at once: no events are handled until the rows are written.
    dialog.repaint();
}

int LegacyImportDialogs::chooseCodePage(const QString &fileName)
{
    QMessageBox box(QMessageBox::Question, LegacyImportTitle(),
        QStringLiteral("В заголовке файла %1 не указана кодовая страница русских текстов. "
                       "В какой кодировке записаны тексты?")
            .arg(QDir::toNativeSeparators(fileName)),
        QMessageBox::NoButton, m_progress.isNull() ? m_parent : m_progress.data());
    box.setObjectName(QStringLiteral("LegacyCodePageQuestion"));
    QPushButton *dos = box.addButton(QStringLiteral("866 (DOS)"), QMessageBox::AcceptRole);
    dos->setObjectName(QStringLiteral("CodePage866"));
    QPushButton *windows = box.addButton(QStringLiteral("1251 (Windows)"), QMessageBox::AcceptRole);
    windows->setObjectName(QStringLiteral("CodePage1251"));
    QPushButton *skip = box.addButton(QStringLiteral("Не переносить"), QMessageBox::RejectRole);
    skip->setObjectName(QStringLiteral("CodePageSkip"));
    box.setDefaultButton(windows);
    box.exec();
    if (box.clickedButton() == dos) {
        return 866;
    }
    return box.clickedButton() == windows ? 1251 : 0;
}

bool LegacyImportDialogs::confirm(const QString &question)
{
    QMessageBox box(QMessageBox::Question, LegacyImportTitle(), question,
        QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setObjectName(QStringLiteral("LegacyConversionQuestion"));
    box.button(QMessageBox::Yes)->setObjectName(QStringLiteral("LegacyConversionYes"));
    box.button(QMessageBox::No)->setObjectName(QStringLiteral("LegacyConversionNo"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void LegacyImportDialogs::showSummary(const QString &text, bool succeeded)
{
    closeProgress();
    QMessageBox box(succeeded ? QMessageBox::Information : QMessageBox::Warning,
        LegacyImportTitle(), text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("LegacyImportSummary"));
    box.exec();
}
