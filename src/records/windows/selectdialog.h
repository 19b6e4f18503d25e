#pragma once

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QFrame;
class QLineEdit;
class QPushButton;

// The record selection dialog "Выбор записей", one for the whole program: the
// locomotive and the date criteria of the result browsers. Ticks, the typed number
// and the two days are kept from one use to the next.
class TFSelectDlg final : public QDialog
{
    Q_OBJECT
public:
    // locoNumber: the current locomotive number, the edit's first text.
    TFSelectDlg(
        const QString &locoNumber, QWidget *parent = nullptr, QDate today = QDate::currentDate());

    // Called before showing: without the locomotive criterion its box is cleared and
    // disabled.
    void setLocomotiveAvailable(bool available);

    bool locomotiveChosen() const;
    QString locomotiveText() const;
    bool daysChosen() const;
    QDate fromDay() const;
    QDate toDay() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updatePanels();

    QCheckBox *m_locoBox;
    QFrame *m_locoPanel;
    QLineEdit *m_locoEdit;
    QCheckBox *m_dateBox;
    QFrame *m_datePanel;
    QDateEdit *m_from;
    QDateEdit *m_to;
};
