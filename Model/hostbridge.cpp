#include "hostbridge.h"

#include "Model/zvrwriter.h"
#include "appfolders.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString hostWindowName = QStringLiteral("ZBrush");
const QString pluginsFolder = QStringLiteral("/ZStartup/ZPlugs64/");
const QString scriptFileName = QStringLiteral("kiv.zsc");
const QString libraryFileName = QStringLiteral("Dirtool64.dll");

// Shift+Ctrl+Alt+9 exactly as Windows would deliver it; the script plug-in owns this chord.
const QList<Platform::KeyMessage> activationChord{
    {Platform::KeyMessageType::KeyDown, 0x10, 0x202A0001},
    {Platform::KeyMessageType::KeyDown, 0x11, 0x001D0001},
    {Platform::KeyMessageType::KeyDown, 0x12, 0x20380001},
    {Platform::KeyMessageType::KeyDown, 0x39, 0x200A0001},
    {Platform::KeyMessageType::KeyUp, 0x39, 0xE00A0001},
    {Platform::KeyMessageType::KeyUp, 0x10, 0xC02A0001},
    {Platform::KeyMessageType::SystemKeyUp, 0x11, 0xE01D0001},
    {Platform::KeyMessageType::KeyUp, 0x12, 0xC0380001},
};

bool sameDirectory(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    const Qt::CaseSensitivity cs =
#ifdef Q_OS_WIN
        Qt::CaseInsensitive;
#else
        Qt::CaseSensitive;
#endif
    if (first.exists() && second.exists())
        return first.canonicalFilePath().compare(second.canonicalFilePath(), cs) == 0;
    return QDir::cleanPath(first.absoluteFilePath()).compare(QDir::cleanPath(second.absoluteFilePath()), cs) == 0;
}

} // namespace

const QString HostBridge::dataSubFolder = QStringLiteral("/ZPluginData/KIVData/");
const QString HostBridge::commandFileName = QStringLiteral("kiv.zvr");
const QString HostBridge::launchFileName = QStringLiteral("kivLaunch.zvr");
const QString HostBridge::colorsFileName = QStringLiteral("kiv_uicolors.zvr");

HostBridge::HostBridge(QObject *parent)
    : QObject(parent)
{
    const QStringList candidates = AppFolders::zbrushDataFolders();
    for (const QString &folder : candidates) {
        if (QFileInfo(folder).isDir())
            m_hostDataFolders.append(folder);
    }
    for (const QString &folder : qAsConst(m_hostDataFolders)) {
        const QString sub = folder + dataSubFolder;
        if (!QFileInfo(sub).isDir() && !QDir().mkpath(sub))
            qWarning() << "Cannot create" << sub;
    }
    writeLaunchFiles();
}

HostBridge::~HostBridge() = default;

QString HostBridge::bridgeFile(const QString &dataFolder, const QString &fileName) const
{
    return dataFolder + dataSubFolder + fileName;
}

void HostBridge::writeLaunchFiles() const
{
    // Tells the script plug-in how to start the Kivara that ran last.
    ZvrWriter launch;
    launch.addText(QDir::fromNativeSeparators(QCoreApplication::applicationDirPath()));
    launch.addText(QDir::fromNativeSeparators(QCoreApplication::applicationFilePath()));
    for (const QString &folder : m_hostDataFolders)
        launch.writeTo(bridgeFile(folder, launchFileName));
}

void HostBridge::activate(const QString &name, const QString &path, HostCommandKind kind, bool focusHost)
{
    writeCommand(kind, name, path);
    sendActivationKeys();
    if (focusHost)
        bringHostToFront();
}

void HostBridge::writeCommand(HostCommandKind kind, const QString &name, const QString &path)
{
    HostCommand command;
    if (!HostCommand::forKind(kind, path, m_bprOnly, &command))
        return;
    ZvrWriter file;
    file.addFloat(command.actionCode);
    file.addText(command.word + name);
    file.addText(path);
    // A folder that cannot be written is skipped; the others still get the command.
    for (const QString &folder : qAsConst(m_hostDataFolders))
        file.writeTo(bridgeFile(folder, commandFileName));
}

void HostBridge::sendActivationKeys()
{
    const Platform::WindowId window = Platform::findWindow(hostWindowName, hostWindowName);
    if (window)
        Platform::sendKeyMessages(window, activationChord);
}

void HostBridge::bringHostToFront()
{
    AppFolders::raiseWindow(hostWindowName);
}

bool HostBridge::isHostRunning() const
{
    return Platform::findWindow(hostWindowName, hostWindowName) != 0;
}

HostCommandKind HostBridge::commandKindForType(const QString &typeWord)
{
    static const QList<QPair<QString, HostCommandKind>> kinds{
        {QStringLiteral("brush"), HostCommandKind::Brush},
        {QStringLiteral("alpha"), HostCommandKind::Alpha},
        {QStringLiteral("uiLayout"), HostCommandKind::UILayout},
        {QStringLiteral("project"), HostCommandKind::Project},
        {QStringLiteral("material"), HostCommandKind::Material},
        {QStringLiteral("tool"), HostCommandKind::Tool},
        {QStringLiteral("fiber"), HostCommandKind::Fiber},
        {QStringLiteral("texture"), HostCommandKind::Texture},
        {QStringLiteral("light"), HostCommandKind::Light},
        {QStringLiteral("grid"), HostCommandKind::Grid},
        {QStringLiteral("renderpreset"), HostCommandKind::RenderPreset},
        {QStringLiteral("spotlight"), HostCommandKind::Spotlight},
        {QStringLiteral("array"), HostCommandKind::MeshArray},
        {QStringLiteral("document"), HostCommandKind::Document},
    };
    for (const auto &kind : kinds) {
        if (kind.first == typeWord)
            return kind.second;
    }
    return HostCommandKind::Brush;
}

bool HostBridge::setHostPath(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || !QFileInfo(folder + QStringLiteral("/ZStartup")).isDir())
        return false;
    m_hostPath = folder;
    return true;
}

bool HostBridge::isPluginInstalled() const
{
    if (m_hostPath.isEmpty())
        return false;
    return QFileInfo::exists(m_hostPath + pluginsFolder + scriptFileName)
        && QFileInfo::exists(m_hostPath + pluginsFolder + QStringLiteral("KIVData/") + libraryFileName);
}

bool HostBridge::isPluginCurrent() const
{
    const QFileInfo installed(m_hostPath + pluginsFolder + scriptFileName);
    if (m_hostPath.isEmpty() || !installed.exists())
        return false;
    // Without a shipped copy there is nothing newer: reinstalling would only
    // delete the working plug-in.
    const QFileInfo shipped(AppFolders::scriptPluginSource());
    return !shipped.exists() || installed.lastModified() >= shipped.lastModified();
}

bool HostBridge::shipsScriptPlugin()
{
    return QFileInfo(AppFolders::scriptPluginSource()).isFile();
}

bool HostBridge::isInstallationComplete() const
{
    if (shipsScriptPlugin())
        return isPluginInstalled() && isPluginCurrent();
    return !m_hostPath.isEmpty()
        && QFileInfo::exists(m_hostPath + pluginsFolder + QStringLiteral("KIVData/") + libraryFileName);
}

bool HostBridge::installPluginFiles(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    const bool withScript = shipsScriptPlugin();
    bool scriptCopied = true;
    if (withScript) {
        // QFile::copy never overwrites, so the old copy goes first.
        const QString script = folder + pluginsFolder + scriptFileName;
        if (QFileInfo::exists(script))
            QFile::remove(script);
        QDir().mkpath(folder + pluginsFolder);
        scriptCopied = QFile::copy(AppFolders::scriptPluginSource(), script);
        if (!scriptCopied)
            qWarning() << "Cannot copy" << AppFolders::scriptPluginSource() << "to" << script;
    }

    const QString libraryFolder = folder + pluginsFolder + QStringLiteral("KIVData/");
    if (!QFileInfo(libraryFolder).isDir())
        QDir().mkpath(libraryFolder);
    const QString library = libraryFolder + libraryFileName;
    if (QFileInfo::exists(library))
        QFile::remove(library);
    if (!scriptCopied)
        return false;
    const QString shippedLibrary = AppFolders::resourcesFolder() + libraryFileName;
    if (!QFile::copy(shippedLibrary, library)) {
        qWarning() << "Cannot copy" << shippedLibrary << "to" << library;
        return false;
    }
    return true;
}

QString HostBridge::newestUiColorsFile() const
{
    QString newest;
    QDateTime newestTime;
    for (const QString &folder : m_hostDataFolders) {
        const QFileInfo file(bridgeFile(folder, colorsFileName));
        if (!file.exists())
            continue;
        // Only a strictly later file wins: the first one found keeps a tie.
        if (newest.isEmpty() || file.lastModified() > newestTime) {
            newest = file.filePath();
            newestTime = file.lastModified();
        }
    }
    return newest;
}

QList<QPair<QString, QString>> HostBridge::hostLocations() const
{
    QList<QPair<QString, QString>> locations;
    QStringList registryLocations;
    const QStringList versions = AppFolders::knownZBrushVersions();
    for (const QString &name : versions) {
        const QString location = AppFolders::installLocationFor(name);
        if (location.isEmpty())
            continue;
        locations.append(qMakePair(location, name));
        registryLocations.append(location);
    }
    const QStringList folders = AppFolders::pixologicFolders();
    for (const QString &folder : folders) {
        const bool known = std::any_of(registryLocations.cbegin(), registryLocations.cend(),
                                       [&folder](const QString &location) { return sameDirectory(folder, location); });
        if (!known)
            locations.append(qMakePair(folder, QFileInfo(folder).fileName()));
    }
    return locations;
}
