#include "wineprefixbuilder.h"

#include <QDir>
#include <QFile>

WinePrefixBuilder::WinePrefixBuilder(const QString &root)
    : m_root(root)
{
    QDir().mkpath(publicDocuments());
    QDir().mkpath(programFiles());
    QDir().mkpath(m_root + QStringLiteral("/dosdevices"));
    // Wine links c: relatively.
    QFile::link(QStringLiteral("../drive_c"), m_root + QStringLiteral("/dosdevices/c:"));
}

WinePrefixBuilder::~WinePrefixBuilder()
{
    if (m_current) {
        qunsetenv("WINEPREFIX");
        qunsetenv("PROGRAMFILES");
    }
}

void WinePrefixBuilder::makeCurrent()
{
    qputenv("WINEPREFIX", QFile::encodeName(m_root));
    qunsetenv("PROGRAMFILES");
    m_current = true;
}

bool WinePrefixBuilder::addDrive(QChar letter, const QString &target)
{
    return QFile::link(target, m_root + QStringLiteral("/dosdevices/") + letter + QLatin1Char(':'));
}

bool WinePrefixBuilder::makeFolder(const QString &path)
{
    return QDir().mkpath(path);
}

bool WinePrefixBuilder::writeSystemRegistry(const QString &sections)
{
    QFile file(m_root + QStringLiteral("/system.reg"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
        + sections.toUtf8();
    return file.write(text) == text.size();
}
