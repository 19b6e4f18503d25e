#pragma once

#include <QDialog>

class QTableWidget;
class TrafficLog;

// "Команды и сообщения": the last 1000 bytes received and sent, in hex, ten a row.
class TFevery final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int BytesPerRow = 10;
    static constexpr int Rows = 100;

    explicit TFevery(QWidget *parent = nullptr);

    // Fills both grids from the logs, oldest byte first, and shows the window modally.
    void showTraffic(const TrafficLog &received, const TrafficLog &sent);

    // Fills both grids without showing the window.
    void fill(const TrafficLog &received, const TrafficLog &sent);

private:
    QTableWidget *m_received = nullptr;
    QTableWidget *m_sent = nullptr;
};
