// kivara-store-server: a store on this machine for Kivara's tests, benchmarks and demo.
//
//   kivara-store-server [--port N] [--fault ROUTE=KIND]... [--watch-stdin] CATALOGUE.json
//
// Prints the port it listens on (127.0.0.1) as the first line of its output, then
// serves until it is ended, or, with --watch-stdin, until its standard input closes.
// Point Kivara at it with KIVARA_STORE_URL=http://127.0.0.1:PORT.
#include "storeserver.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

int main(int argc, char *argv[])
{
    // QImage needs no display; the offscreen platform keeps it that way.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves a Kivara store catalogue on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port to listen on (0: any)."),
                                  QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption fault(QStringLiteral("fault"), QStringLiteral("Misbehave: ROUTE=KIND."),
                                   QStringLiteral("fault"));
    const QCommandLineOption watchStdin(QStringLiteral("watch-stdin"),
                                        QStringLiteral("Stop when standard input closes."));
    parser.addOptions({port, fault, watchStdin});
    parser.addPositionalArgument(QStringLiteral("catalogue"), QStringLiteral("The catalogue file (JSON)."));
    parser.process(app);

    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << parser.helpText();
        return 2;
    }
    StoreCatalogue catalogue;
    QString error;
    if (!catalogue.load(parser.positionalArguments().first(), &error)) {
        err << "Cannot read the catalogue: " << error << '\n';
        return 1;
    }
    StoreServer server(std::move(catalogue));
    for (const QString &text : parser.values(fault)) {
        const QStringList parts = text.split(QLatin1Char('='));
        if (parts.size() != 2 || !server.setFault(parts.at(0), parts.at(1))) {
            err << "Unknown fault: " << text << '\n';
            return 2;
        }
    }
    if (!server.listen(quint16(parser.value(port).toUInt()))) {
        err << "Cannot listen on port " << parser.value(port) << '\n';
        return 1;
    }
    QTextStream(stdout) << server.port() << Qt::endl;

    if (parser.isSet(watchStdin)) {
        auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof(buffer)) <= 0) {
                notifier->setEnabled(false);
                QCoreApplication::quit();
            }
        });
    }
    return app.exec();
}
