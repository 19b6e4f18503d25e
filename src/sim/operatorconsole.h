#pragma once

#include <QObject>
#include <QString>

class SimStation;

// The simulator's own commands, one per line on standard input: make the station
// report a test on its own, inject a fault, stop answering, send line noise.
class OperatorConsole : public QObject
{
    Q_OBJECT
public:
    explicit OperatorConsole(SimStation &station, QObject *parent = nullptr);

    // Runs one command line and emits its reply.
    void execute(const QString &line);

    static QString helpText();

Q_SIGNALS:
    void reply(const QString &text);
    void quitRequested();

private:
    QString run(const QStringList &words);

    SimStation &m_station;
};
