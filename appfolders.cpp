#include "appfolders.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString &programFolderOverride()
{
    static QString folder;
    return folder;
}

const QString databaseFileName = QStringLiteral("brushes.db");

} // namespace

namespace AppFolders {

QString programFolder()
{
    const QString &overridden = programFolderOverride();
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void setProgramFolderForTesting(const QString &folder)
{
    programFolderOverride() = folder;
}

QString resourcesFolder()
{
    return programFolder() + QStringLiteral("/Resources/");
}

QString databaseTemplatePath()
{
    return resourcesFolder() + databaseFileName;
}

QString databasePath()
{
    const QFileInfo resources(resourcesFolder());
    if (resources.isDir() && resources.isWritable())
        return databaseTemplatePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/')
        + databaseFileName;
}

bool databaseNeedsTemplate()
{
    const QString path = databasePath();
    return path != databaseTemplatePath() && !QFileInfo::exists(path);
}

QString scriptPluginSource()
{
    return resourcesFolder() + QStringLiteral("kiv.zsc");
}

QStringList knownZBrushVersions()
{
    QStringList names{QStringLiteral("ZBrush 4R7"), QStringLiteral("ZBrush 4R8"),
                      QStringLiteral("ZBrush 2018"), QStringLiteral("ZBrush 2019"),
                      QStringLiteral("ZBrush 2020")};
    const auto entries = Platform::uninstallEntries();
    for (const auto &entry : entries) {
        if (entry.displayName.startsWith(QLatin1String("ZBrush"), Qt::CaseInsensitive)
            && !names.contains(entry.displayName))
            names.append(entry.displayName);
    }
    return names;
}

QString installLocationFor(const QString &displayName)
{
    const auto entries = Platform::uninstallEntries();
    for (const auto &entry : entries) {
        if (entry.displayName == displayName)
            return entry.installLocation;
    }
    return QString();
}

QStringList pixologicFolders()
{
    const QString folder = Platform::programFilesFolder() + QStringLiteral("/Pixologic");
    const QDir dir(folder);
    QStringList found;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                              QDir::Name | QDir::IgnoreCase);
    for (const QString &entry : entries) {
        if (entry.contains(QLatin1String("ZBrush"), Qt::CaseInsensitive))
            found.append(dir.filePath(entry));
    }
    return found;
}

QStringList zbrushDataFolders()
{
    const QString documents = Platform::publicDocumentsFolder();
    QStringList names{QStringLiteral("ZBrushData"), QStringLiteral("ZBrushData2018"),
                      QStringLiteral("ZBrushData2019"), QStringLiteral("ZBrushData2020")};
    const QStringList entries = QDir(documents).entryList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                                          QDir::Name | QDir::IgnoreCase);
    for (const QString &entry : entries) {
        if (entry.startsWith(QLatin1String("ZBrushData"), Qt::CaseInsensitive) && !names.contains(entry))
            names.append(entry);
    }
    QStringList folders;
    folders.reserve(names.size());
    for (const QString &name : qAsConst(names))
        folders.append(documents + QLatin1Char('/') + name + QLatin1Char('/'));
    return folders;
}

QString defaultLibraryFolder()
{
    return zbrushDataFolders().constLast() + QStringLiteral("ZPluginData/KIVData/KIVSource");
}

void raiseWindow(const QString &title)
{
    const Platform::WindowId titled = Platform::findWindow(QString(), title);
    if (!titled)
        return;
    const qint64 process = Platform::windowProcess(titled);
    // A window that names no process can only stand for itself.
    const QList<Platform::WindowId> candidates = process ? Platform::topLevelWindows()
                                                         : QList<Platform::WindowId>{titled};
    for (const Platform::WindowId window : candidates) {
        if ((process && Platform::windowProcess(window) != process) || !Platform::isWindowVisible(window))
            continue;
        if (Platform::isWindowMinimized(window))
            Platform::restoreWindow(window);
        Platform::setForegroundWindow(window);
        return;
    }
}

} // namespace AppFolders
