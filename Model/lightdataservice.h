#pragma once

#include "Model/genericdataservice.h"

class LightSorter;

// ZBrush's lighting presets: light setups (".zli") and LightCaps (".zld") in one
// catalogue, with a toggle to show either type alone and three one-click actions
// that send the lighting files Kivara ships in its Resources folder.
class LightDataService : public GenericDataService
{
    Q_OBJECT
    // Mirrors of the toggles for the interface to restore them; writing one does not filter.
    Q_PROPERTY(bool lightFilter READ lightFilter WRITE setLightFilter NOTIFY lightFilterChanged)
    Q_PROPERTY(bool lightcapFilter READ lightcapFilter WRITE setLightcapFilter NOTIFY lightcapFilterChanged)

public:
    static constexpr const char *defaultLightsFile = "Default_Lights.ZLI";
    static constexpr const char *defaultLightCapFile = "Default_LightCap.zld";
    static constexpr const char *lightsOffFile = "Default_LightsOff.zli";

    LightDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                     bool setupNow, QSharedPointer<SystemDataService> systemService, QObject *parent = nullptr);
    ~LightDataService() override;

    bool lightFilter() const { return m_lightFilter; }
    void setLightFilter(bool lightFilter);
    bool lightcapFilter() const { return m_lightcapFilter; }
    void setLightcapFilter(bool lightcapFilter);

    Q_INVOKABLE void resetLights();
    Q_INVOKABLE void resetLightCaps();
    Q_INVOKABLE void turnOffLights();
    Q_INVOKABLE void filterLights(bool enable);
    Q_INVOKABLE void filterLightcap(bool enable);

signals:
    void lightFilterChanged();
    void lightcapFilterChanged();

private:
    LightSorter *lightSorter() const;
    void sendShippedFile(const QString &name, const char *fileName);

    bool m_lightFilter = false;
    bool m_lightcapFilter = false;
};
