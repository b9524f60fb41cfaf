#pragma once

#include "sorters/resourcesorter.h"

// The light catalogue's view: light setups (".zli") and LightCaps (".zld") share one
// list; either type can be shown alone. With both types chosen, both show.
class LightSorter : public ResourceSorter
{
    Q_OBJECT

public:
    explicit LightSorter(QAbstractItemModel *source, QObject *parent = nullptr);

    void setLightsOnly(bool lightsOnly);
    bool lightsOnly() const { return m_lightsOnly; }
    void setLightCapsOnly(bool lightCapsOnly);
    bool lightCapsOnly() const { return m_lightCapsOnly; }

    void resetFilters() override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool m_lightsOnly = false;
    bool m_lightCapsOnly = false;
};
