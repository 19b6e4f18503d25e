#pragma once

#include <QDialog>

class QGroupBox;
class QRadioButton;

// The report options dialog, one for the whole program: which rows a result report
// includes and in which format it prints. The choices are kept between uses.
class TForm2 final : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    // With no row selected only "Все записи" makes sense: it is chosen and the group
    // disabled. Otherwise the group is enabled with its last choice.
    void setRowsSelected(bool anySelected);

    bool selectedOnly() const;
    bool expanded() const;

private:
    QGroupBox *m_include;
    QRadioButton *m_all;
    QRadioButton *m_selected;
    QRadioButton *m_compressed;
    QRadioButton *m_expanded;
};
