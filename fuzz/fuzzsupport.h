#pragma once

// What the fuzz targets share: Qt kept quiet, an application object for those that
// need events, and scratch files in memory.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace FuzzSupport {

inline void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Bad input is expected to be logged; printing every message would only slow the fuzzer.
inline void silenceQt()
{
    static const bool silenced = (qInstallMessageHandler(quiet), true);
    Q_UNUSED(silenced)
}

// For targets whose code under test waits for queued events or the thread pool.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// The target's own folder, memory-backed when the system has /dev/shm: most inputs
// are written to a file once.
inline QString scratchFolder()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/kivara-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kivara-fuzz-XXXXXX"));
    if (!dir.isValid())
        abort();
    return dir.path();
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// A harness that cannot write its input has nothing to test: that is a failure of its own.
inline void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        abort();
}

} // namespace FuzzSupport
