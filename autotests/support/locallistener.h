#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A listening socket of the test's own, for a probe or a database client to connect
// to. One that nobody accepts from stands for a host that never answers: a client
// that got in waits for its whole time limit, and the connections it took can be
// counted. One whose backlog is full drops further connection requests unanswered,
// as a host that is down does.
class LocalListener
{
public:
    // Bound to a free port of 127.0.0.1, not yet listening: connections are refused.
    static LocalListener tcp();
    // Listening on a Unix socket at path, in place of whatever was there.
    static LocalListener unixSocket(const QString &path);

    LocalListener(LocalListener &&other) noexcept;
    ~LocalListener();
    LocalListener(const LocalListener &) = delete;
    LocalListener &operator=(const LocalListener &) = delete;

    bool listen(int backlog);
    // Listens with the smallest backlog and fills it: the kernel then drops every
    // further connection request to the port.
    bool listenFull();

    int port() const { return m_port; }

    // The connections made to it so far, taken and closed.
    int takeConnections();

private:
    explicit LocalListener(int fd);

    int m_fd = -1;
    int m_port = 0;
    QByteArray m_path;
    QList<int> m_fillers;
};
