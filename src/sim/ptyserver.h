#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The station's end of a pseudo-terminal pair. The program opens the slave device
// as its serial port; the simulator reads and writes the master. The simulator
// keeps a slave descriptor of its own open, so that the program closing its port
// does not hang up the line, and the program can reopen it at any time.
//
// Holding the slave open also keeps the terminal's exclusive mode, which a serial
// port library sets on open and clears on close. A program that ends without
// closing its port (a crash) would leave it set and could not open the port again,
// so every close of the slave device clears it.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens the pair in raw mode without echo. On failure returns false with the
    // reason in error.
    bool open(QString *error);

    QString slavePath() const { return m_slavePath; }

    // Bytes the line cannot take are lost, as on a serial line that nobody reads:
    // the queue fills only while the program has its port closed, and what a
    // closed port missed must not reach it later.
    void write(const QByteArray &bytes);

Q_SIGNALS:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    void slaveClosed();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    int m_closeWatch = -1; // inotify descriptor watching closes of the slave device
    QSocketNotifier *m_readNotifier = nullptr;
};
