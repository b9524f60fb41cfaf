#pragma once

#include <QFile>
#include <QMutex>
#include <QString>
#include <QtGlobal>

// The program's global logger: one file appender, fed by Qt's message functions.
//
// Every qDebug/qInfo/qWarning/qCritical of the process, from any thread, lands in
// the file as "[%{type:-7}] <%{Function}> %{message}\n". QT_MESSAGELOGCONTEXT is
// defined for all our code, so the function is the caller's Q_FUNC_INFO.
class Logger
{
public:
    static Logger &instance();

    // Deletes the file, opens it anew and routes Qt's messages into it.
    bool startFileAppender(const QString &path);
    // Restores Qt's previous handler and closes the file.
    void stop();

    QString filePath() const;

    static QString levelName(QtMsgType type);
    static QString formatLine(QtMsgType type, const char *function, const QString &message);

private:
    Logger() = default;
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    void write(QtMsgType type, const QMessageLogContext &context, const QString &message);

    mutable QMutex m_mutex;
    QFile m_file;
    QtMessageHandler m_previous = nullptr;
    bool m_installed = false;
};
