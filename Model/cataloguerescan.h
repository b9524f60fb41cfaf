#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class ResourceDataService;

// Rescans catalogues one after the other, returning to the event loop after each,
// so that a large library does not stop the window from drawing and taking input
// for the whole rescan. A catalogue destroyed meanwhile is skipped. GUI thread only.
class CatalogueRescan : public QObject
{
    Q_OBJECT

public:
    explicit CatalogueRescan(const QList<ResourceDataService *> &catalogues, QObject *parent = nullptr);
    ~CatalogueRescan() override;

    // Schedules the first catalogue; nothing is scanned before the event loop runs.
    void start();
    int total() const { return m_catalogues.size(); }
    int done() const { return m_next; }

signals:
    void progress(int done, int total);
    void finished();

private:
    void scanNext();

    QList<QPointer<ResourceDataService>> m_catalogues;
    int m_next = 0;
    bool m_started = false;
};
