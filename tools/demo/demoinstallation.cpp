#include "demoinstallation.h"

#include "Model/databaseservice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtConcurrent>

#include <atomic>

const QString DemoInstallation::markerName = QStringLiteral(".kivara-demo");

namespace {

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("Cannot make the folder of ") + path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

// Wine's machine registry: the uninstall entry ZBrush's installer leaves.
QByteArray systemRegistry()
{
    return "WINE REGISTRY Version 2\n"
           ";; All keys relative to \\\\Machine\n"
           "\n"
           "#arch=win64\n"
           "\n"
           "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\ZBrush 2022] 1640995200\n"
           "#time=1d7fe9c1a2b3c4d\n"
           "\"DisplayIcon\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 2022\\\\ZBrush.exe\"\n"
           "\"DisplayName\"=\"ZBrush 2022\"\n"
           "\"DisplayVersion\"=\"2022.0.2\"\n"
           "\"InstallLocation\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 2022\\\\\"\n"
           "\"Publisher\"=\"Pixologic\"\n"
           "\"UninstallString\"=\"C:\\\\Program Files\\\\Pixologic\\\\ZBrush 2022\\\\Uninstall\\\\uninstall.exe\"\n"
           "\n";
}

} // namespace

DemoInstallation::DemoInstallation(const QString &root)
    : m_root(QDir(root).absolutePath())
{
}

QString DemoInstallation::prefix() const
{
    return m_root + QStringLiteral("/wine");
}

QString DemoInstallation::zbrushFolder() const
{
    return prefix() + QLatin1Char('/') + DemoContent::zbrushFolder;
}

QString DemoInstallation::dataFolder() const
{
    return prefix() + QLatin1Char('/') + DemoContent::dataFolder;
}

QString DemoInstallation::libraryFolder() const
{
    return prefix() + QLatin1Char('/') + DemoContent::libraryFolder;
}

QString DemoInstallation::programFolder() const
{
    return m_root + QStringLiteral("/kivara");
}

QString DemoInstallation::databasePath() const
{
    return programFolder() + QStringLiteral("/Resources/brushes.db");
}

bool DemoInstallation::writePrefix(QString *error)
{
    return clearOldPrefix(error) && writeSkeleton(error) && writeFiles(error);
}

bool DemoInstallation::clearOldPrefix(QString *error)
{
    QDir old(prefix());
    if (!old.exists())
        return true;
    if (!QFileInfo::exists(old.filePath(markerName))) {
        if (old.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            return true;
        *error = prefix() + QStringLiteral(" exists and is not a demo installation; it is left alone.");
        return false;
    }
    if (!old.removeRecursively()) {
        *error = QStringLiteral("Cannot remove the old demo installation in ") + prefix();
        return false;
    }
    return true;
}

bool DemoInstallation::writeSkeleton(QString *error)
{
    const QString root = prefix();
    if (!writeFile(root + QLatin1Char('/') + markerName, "Kivara's demo ZBrush installation\n", error)
        || !writeFile(root + QStringLiteral("/system.reg"), systemRegistry(), error))
        return false;
    // Wine links its drives relatively; ZBrush's folders and the empty ones it makes.
    const QString devices = root + QStringLiteral("/dosdevices");
    if (!QDir().mkpath(devices) || !QFile::link(QStringLiteral("../drive_c"), devices + QStringLiteral("/c:"))) {
        *error = QStringLiteral("Cannot link drive c: in ") + devices;
        return false;
    }
    const QStringList folders{zbrushFolder() + QStringLiteral("/ZStartup/ZPlugs64"),
                              dataFolder() + QStringLiteral("/ZPluginData/KIVData/KIVSource")};
    for (const QString &folder : folders) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("Cannot make ") + folder;
            return false;
        }
    }
    return true;
}

bool DemoInstallation::writeFiles(QString *error)
{
    // Every file is drawn and written on its own; the bytes do not depend on the order.
    const QVector<DemoContent::File> &files = m_content.files();
    std::atomic<bool> failed{false};
    QString firstError;
    QMutex errorLock;
    QtConcurrent::blockingMap(files, [&](const DemoContent::File &file) {
        if (failed)
            return;
        QString fileError;
        if (!writeFile(prefix() + QLatin1Char('/') + file.path, file.bytes(), &fileError)) {
            QMutexLocker locker(&errorLock);
            if (!failed.exchange(true))
                firstError = fileError;
        }
    });
    if (failed)
        *error = firstError;
    return !failed;
}

bool DemoInstallation::writeLibrary(const QString &templatePath, QString *error)
{
    const QString path = databasePath();
    if (!QFileInfo(templatePath).isFile()) {
        *error = QStringLiteral("No template database at ") + templatePath;
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || (QFile::exists(path) && !QFile::remove(path))
        || !QFile::copy(templatePath, path)
        || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther)) {
        *error = QStringLiteral("Cannot make the demo's library database ") + path;
        return false;
    }
    {
        DatabaseService database(path, QStringLiteral("demo-library"), true);
        if (!database.isOpen()) {
            *error = QStringLiteral("Cannot open the demo's library database ") + path;
            return false;
        }
        database.writeSetting(DatabaseService::ZBrushPath, zbrushFolder());
        if (database.readSetting(DatabaseService::ZBrushPath).toString() != zbrushFolder()) {
            *error = QStringLiteral("Cannot store the ZBrush folder in ") + path;
            return false;
        }
    }
    return true;
}
