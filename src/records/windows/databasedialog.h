#pragma once

#include "records/databaselocation.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// "База данных": where the tables are now, and the choice between the tables
// directory of this PC ("Каталог") and a PostgreSQL server shared by several PCs
// ("Сервер PostgreSQL"). A server is saved only after it answered; the choice
// holds from the next start of the program.
class TDatabaseDialog final : public QDialog
{
    Q_OBJECT
public:
    TDatabaseDialog(const DatabaseLocation &current, QWidget *parent = nullptr);

    // Shows the alias as recorded now, then the dialog.
    int exec() override;

private:
    std::optional<ServerAddress> chosenServer() const;
    void showChoice();
    void testConnection();
    void save();

    DatabaseLocation m_current;
    QLabel *m_where = nullptr;
    QRadioButton *m_directory = nullptr;
    QRadioButton *m_server = nullptr;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLabel *m_status = nullptr;
};
