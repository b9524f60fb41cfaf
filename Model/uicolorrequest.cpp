#include "uicolorrequest.h"

#include "zuicolor.h"

#include <QFileInfo>
#include <QTimerEvent>

#include <utility>

UiColorRequest::UiColorRequest(ZUiColor *colors, NewestFile newestFile, AskHost askHost,
                               QObject *parent)
    : QObject(parent)
    , m_colors(colors)
    , m_newestFile(std::move(newestFile))
    , m_askHost(std::move(askHost))
{
}

UiColorRequest::~UiColorRequest() = default;

void UiColorRequest::request(bool askHost)
{
    const QString newest = m_newestFile ? m_newestFile() : QString();
    if (!newest.isEmpty())
        m_seenTime = QFileInfo(newest).lastModified();
    if (askHost && m_askHost)
        m_askHost();
    m_requestTime.start();

    stopPolling();
    m_pollTimer = startTimer(m_pollInterval, Qt::CoarseTimer);
}

void UiColorRequest::setPollInterval(int milliseconds)
{
    m_pollInterval = milliseconds;
}

void UiColorRequest::setGiveUpAfter(int milliseconds)
{
    m_giveUpAfter = milliseconds;
}

void UiColorRequest::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_pollTimer)
        poll();
    else
        QObject::timerEvent(event);
}

void UiColorRequest::poll()
{
    const QString newest = m_newestFile ? m_newestFile() : QString();
    if (!newest.isEmpty()) {
        const QDateTime modified = QFileInfo(newest).lastModified();
        if (!m_seenTime.isValid() || modified > m_seenTime) {
            stopPolling();
            if (m_colors)
                m_colors->load(newest);
            Q_EMIT colorsLoaded(newest);
        }
        return;
    }
    if (m_requestTime.hasExpired(m_giveUpAfter)) {
        stopPolling();
        Q_EMIT gaveUp();
    }
}

void UiColorRequest::stopPolling()
{
    if (m_pollTimer != 0) {
        killTimer(m_pollTimer);
        m_pollTimer = 0;
    }
}
