// telv2-sim: the ТЕЛВ-2 station on a pseudo-terminal, for trying and training
// without a station on the bench.
#include "link/optionsfile.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "sim/operatorconsole.h"
#include "sim/ptyserver.h"
#include "sim/simoptions.h"
#include "sim/station.h"
#include "sim/stdinreader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <csignal>
#include <unistd.h>

namespace {

QString HexLine(const QByteArray &bytes)
{
    QStringList texts;
    for (char b : bytes) {
        texts.append(ByteToHexText(static_cast<std::uint8_t>(b)));
    }
    return texts.join(QLatin1Char(' '));
}

} // namespace

int main(int argc, char *argv[])
{
    // Started in the background of a terminal, reading or writing the terminal must
    // not stop the simulator (the read fails and the input is given up instead), and
    // a reader of its output going away must not end it.
    std::signal(SIGTTIN, SIG_IGN);
    std::signal(SIGTTOU, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("telv2-sim"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const ParsedSimOptions parsed = ParseSimOptions(QCoreApplication::arguments());
    if (!parsed.helpText.isEmpty()) {
        out << parsed.helpText << '\n' << OperatorConsole::helpText() << Qt::endl;
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        err << "telv2-sim: " << parsed.error << Qt::endl;
        return 2;
    }
    const SimOptions &options = parsed.options;

    PtyServer pty;
    QString error;
    if (!pty.open(&error)) {
        err << "telv2-sim: " << error << Qt::endl;
        return 1;
    }
    // Options.dat in the program's working directory names the port it opens at
    // start; the simulator works in that directory from here on. It is written before
    // the port is named, so that a program started on that line finds it.
    const bool optionsWritten = options.optionsDir.isEmpty()
        || (QDir::setCurrent(options.optionsDir) && OptionsFile::write(pty.slavePath()));
    // The first line is the port, for scripts and for the operator.
    out << pty.slavePath() << Qt::endl;
    if (!optionsWritten) {
        err << "telv2-sim: " << options.optionsDir << "/Options.dat не записан" << Qt::endl;
        return 1;
    }

    SystemClock clock;
    SimStation station(clock, { options.speed, options.alarm });
    QObject::connect(&pty, &PtyServer::received, &station, [&](const QByteArray &bytes) {
        if (options.logTraffic) {
            err << "ПК   > " << HexLine(bytes) << Qt::endl;
        }
        station.receive(bytes);
    });
    QObject::connect(&station, &SimStation::transmit, &pty, [&](const QByteArray &bytes) {
        if (options.logTraffic) {
            err << "ТЕЛВ > " << HexLine(bytes) << Qt::endl;
        }
        pty.write(bytes);
    });
    station.setAutoTest(options.autoTestSeconds);

    OperatorConsole console(station);
    StdinReader input(STDIN_FILENO);
    QObject::connect(&input, &StdinReader::lineRead, &console, &OperatorConsole::execute);
    QObject::connect(&console, &OperatorConsole::reply, &app,
        [&](const QString &text) { out << text << Qt::endl; });
    QObject::connect(&console, &OperatorConsole::quitRequested, &app, &QCoreApplication::quit);
    return app.exec();
}
