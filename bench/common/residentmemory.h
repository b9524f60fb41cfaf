#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>

// Current (VmRSS) and peak (VmHWM) resident memory of this process in KiB, from /proc.
inline QPair<qint64, qint64> residentMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    qint64 rss = 0;
    qint64 peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts.at(0) == "VmRSS:")
                rss = parts.at(1).toLongLong();
            else if (parts.size() >= 2 && parts.at(0) == "VmHWM:")
                peak = parts.at(1).toLongLong();
        }
    }
    return {rss, peak};
}
