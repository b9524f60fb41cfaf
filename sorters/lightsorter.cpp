#include "lightsorter.h"

#include "Model/resourceroles.h"

using ResourceRoles::GenericRole;

LightSorter::LightSorter(QAbstractItemModel *source, QObject *parent)
    : ResourceSorter(source, parent)
{
}

void LightSorter::setLightsOnly(bool lightsOnly)
{
    if (m_lightsOnly == lightsOnly)
        return;
    m_lightsOnly = lightsOnly;
    invalidateFilter();
}

void LightSorter::setLightCapsOnly(bool lightCapsOnly)
{
    if (m_lightCapsOnly == lightCapsOnly)
        return;
    m_lightCapsOnly = lightCapsOnly;
    invalidateFilter();
}

void LightSorter::resetFilters()
{
    const bool wasSet = clearBaseFilters() || m_lightsOnly || m_lightCapsOnly;
    m_lightsOnly = false;
    m_lightCapsOnly = false;
    if (wasSet)
        invalidateFilter();
}

bool LightSorter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_lightsOnly != m_lightCapsOnly) {
        const QString path = sourceModel()->index(sourceRow, 0, sourceParent).data(GenericRole::Path).toString();
        const QLatin1String suffix(m_lightsOnly ? ".zli" : ".zld");
        if (!path.endsWith(suffix, Qt::CaseInsensitive))
            return false;
    }
    return ResourceSorter::filterAcceptsRow(sourceRow, sourceParent);
}
