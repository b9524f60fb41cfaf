// kivara-demo: writes the demo ZBrush installation, or tells whether the user's
// Wine prefix holds a real one.
//   kivara-demo <folder> [--template <brushes.db>]
//   kivara-demo --find
#include "demoinstallation.h"

#include "appfolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

// The ZBrush application folders of the current Wine prefix, found the way the
// program's set-up finds them: the uninstall registry, then Program Files.
QStringList installedZBrushFolders()
{
    QStringList candidates;
    const QStringList versions = AppFolders::knownZBrushVersions();
    for (const QString &version : versions)
        candidates.append(AppFolders::installLocationFor(version));
    candidates.append(AppFolders::pixologicFolders());
    QStringList found;
    for (const QString &candidate : qAsConst(candidates)) {
        const QString folder = QDir::cleanPath(candidate);
        if (!candidate.isEmpty() && QFileInfo(folder + QStringLiteral("/ZStartup")).isDir() && !found.contains(folder))
            found.append(folder);
    }
    return found;
}

int usage(QTextStream &err)
{
    err << "usage: kivara-demo <folder> [--template <brushes.db>]\n"
           "       kivara-demo --find\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Images are drawn and encoded without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);

    if (arguments == QStringList{QStringLiteral("--find")}) {
        const QStringList folders = installedZBrushFolders();
        for (const QString &folder : folders)
            out << folder << '\n';
        return folders.isEmpty() ? 1 : 0;
    }

    QString templatePath;
    const int templateAt = arguments.indexOf(QStringLiteral("--template"));
    if (templateAt >= 0) {
        if (templateAt + 1 >= arguments.size())
            return usage(err);
        templatePath = arguments.takeAt(templateAt + 1);
        arguments.removeAt(templateAt);
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1Char('-')))
        return usage(err);

    QElapsedTimer timer;
    timer.start();
    DemoInstallation demo(arguments.first());
    QString error;
    if (!demo.writePrefix(&error) || (!templatePath.isEmpty() && !demo.writeLibrary(templatePath, &error))) {
        err << "kivara-demo: " << error << '\n';
        return 1;
    }
    out << "Demo ZBrush 2022 written in " << timer.elapsed() << " ms: " << demo.content().files().size()
        << " files in the Wine prefix " << demo.prefix() << '\n';
    if (!templatePath.isEmpty())
        out << "Its library database: " << demo.databasePath() << '\n';
    return 0;
}
