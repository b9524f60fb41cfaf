#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// The folder of real files made by other programs, or an empty text when it is
// absent (tests then skip). The main checkout sits beside shared/, a worktree
// one level deeper.
inline QString realDataFolder()
{
    const QString source = qEnvironmentVariable("KIVARA_SOURCE_DIR");
    for (const QString &candidate : {source + QStringLiteral("/../shared/realdata"),
                                     source + QStringLiteral("/../../shared/realdata")}) {
        if (!source.isEmpty() && QFileInfo(candidate).isDir())
            return QDir(candidate).absolutePath();
    }
    return QString();
}
