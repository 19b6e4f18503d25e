#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair in raw mode: the program opens the slave's path like a
// serial port, the test plays the station on the master.
class Pty
{
public:
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    void write(const QByteArray &bytes);

    // What the program wrote, read without blocking.
    QByteArray readAvailable();

    // Reads until at least n bytes have come or timeoutMs has passed, running the
    // event loop meanwhile.
    QByteArray readAtLeast(int n, int timeoutMs = 3000);

    // Closes the master: the slave side sees a hang-up.
    void close();

private:
    int m_master = -1;
    QString m_slavePath;
};
