#include "wineprefix.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

WinePrefix::WinePrefix()
    : m_root(qEnvironmentVariable("WINEPREFIX"))
{
    if (m_root.isEmpty())
        m_root = QDir::homePath() + QStringLiteral("/.wine");
}

WinePrefix::WinePrefix(const QString &root)
    : m_root(root)
{
}

QString WinePrefix::root() const
{
    return m_root;
}

QString WinePrefix::publicDocumentsFolder() const
{
    return m_root + QStringLiteral("/drive_c/users/Public/Documents");
}

QString WinePrefix::programFilesFolder() const
{
    return m_root + QStringLiteral("/drive_c/Program Files");
}

QString WinePrefix::systemRegistryFile() const
{
    return m_root + QStringLiteral("/system.reg");
}

bool WinePrefix::isDrivePath(const QString &path)
{
    if (path.size() < 2 || !path.at(0).isLetter() || path.at(0).unicode() > 0x7f || path.at(1) != QLatin1Char(':'))
        return false;
    return path.size() == 2 || path.at(2) == QLatin1Char('\\') || path.at(2) == QLatin1Char('/');
}

QString WinePrefix::toLocalPath(const QString &windowsPath) const
{
    if (!isDrivePath(windowsPath))
        return windowsPath;
    const QString link = m_root + QStringLiteral("/dosdevices/") + windowsPath.at(0).toLower() + QLatin1Char(':');
    // Show the drive's real folder when the link resolves, as Wine itself would open it.
    QString drive = QFileInfo(link).canonicalFilePath();
    if (drive.isEmpty())
        drive = link;
    // Wine's z: is the root folder.
    if (drive.endsWith(QLatin1Char('/')))
        drive.chop(1);
    QString rest = windowsPath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!rest.startsWith(QLatin1Char('/')))
        rest.prepend(QLatin1Char('/'));
    return drive + rest;
}
