#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Lines typed on standard input. At the end of the input the reader goes quiet
// and the simulator runs on: started in the background, it has no input at all.
class StdinReader : public QObject
{
    Q_OBJECT
public:
    explicit StdinReader(int fd, QObject *parent = nullptr);

Q_SIGNALS:
    void lineRead(const QString &line);

private:
    void readAvailable();

    int m_fd;
    QSocketNotifier *m_notifier;
    QByteArray m_partial;
};
