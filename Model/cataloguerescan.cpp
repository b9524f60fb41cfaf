#include "cataloguerescan.h"

#include "Model/resourcedataservice.h"

#include <QMetaObject>

CatalogueRescan::CatalogueRescan(const QList<ResourceDataService *> &catalogues, QObject *parent)
    : QObject(parent)
{
    for (ResourceDataService *catalogue : catalogues)
        m_catalogues.append(catalogue);
}

CatalogueRescan::~CatalogueRescan() = default;

void CatalogueRescan::start()
{
    if (m_started)
        return;
    m_started = true;
    // Queued, so that a view can show that the rescan runs before the first scan.
    QMetaObject::invokeMethod(this, &CatalogueRescan::scanNext, Qt::QueuedConnection);
}

void CatalogueRescan::scanNext()
{
    if (m_next >= m_catalogues.size()) {
        emit finished();
        return;
    }
    if (ResourceDataService *catalogue = m_catalogues.at(m_next))
        catalogue->scanAll();
    ++m_next;
    emit progress(m_next, m_catalogues.size());
    QMetaObject::invokeMethod(this, &CatalogueRescan::scanNext, Qt::QueuedConnection);
}
