#include "logger.h"

#include <cstdio>

Logger &Logger::instance()
{
    static Logger logger;
    return logger;
}

bool Logger::startFileAppender(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    if (m_file.isOpen())
        m_file.close();
    QFile::remove(path);
    m_file.setFileName(path);
    const bool ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    if (!m_installed) {
        m_previous = qInstallMessageHandler(&Logger::handleMessage);
        m_installed = true;
    }
    return ok;
}

void Logger::stop()
{
    QMutexLocker lock(&m_mutex);
    if (m_installed) {
        qInstallMessageHandler(m_previous);
        m_installed = false;
        m_previous = nullptr;
    }
    m_file.close();
}

QString Logger::filePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_file.fileName();
}

QString Logger::levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug");
    case QtInfoMsg:
        return QStringLiteral("Info");
    case QtWarningMsg:
        return QStringLiteral("Warning");
    case QtCriticalMsg:
        return QStringLiteral("Error");
    case QtFatalMsg:
        return QStringLiteral("Fatal");
    }
    return QStringLiteral("Debug");
}

QString Logger::formatLine(QtMsgType type, const char *function, const QString &message)
{
    return QStringLiteral("[%1] <%2> %3\n")
        .arg(levelName(type), -7)
        .arg(QString::fromUtf8(function ? function : ""), message);
}

void Logger::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    instance().write(type, context, message);
}

void Logger::write(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray line = formatLine(type, context.function, message).toUtf8();
    {
        QMutexLocker lock(&m_mutex);
        if (m_file.isOpen()) {
            m_file.write(line);
            // Flushed per line: the log must survive a crash.
            m_file.flush();
        }
    }
    if (type >= QtWarningMsg && type != QtInfoMsg) {
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
    }
    if (type == QtFatalMsg)
        std::abort();
}
