#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The station's end of a pseudo-terminal pair. The program opens the slave device
// as its serial port; the simulator reads and writes the master. The simulator
// keeps a slave descriptor of its own open, so that the program closing its port
// does not hang up the line, and the program can reopen it at any time.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    // Bytes waiting for a reader beyond this are dropped, oldest first: nobody has
    // the port open, and a long-closed line is not worth replaying.
    static constexpr qsizetype MaxPending = 64 * 1024;

    explicit PtyServer(QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens the pair in raw mode without echo. On failure returns false with the
    // reason in error.
    bool open(QString *error);

    QString slavePath() const { return m_slavePath; }

    void write(const QByteArray &bytes);

Q_SIGNALS:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    void flush();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QByteArray m_pending;
};
