#pragma once

#include <QDialog>

class QLabel;

// "Сведения о программе": the program, its version, the maker and where the tables lie.
class TAboutBox final : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    // Names where the tables are, as DescribeLocation puts it.
    void setDatabase(const QString &description);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Label2Click();
    void Label3Click();

    QLabel *m_mail = nullptr;
    QLabel *m_web = nullptr;
    QLabel *m_tables = nullptr;
};
