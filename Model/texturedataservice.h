#pragma once

#include "Model/genericdataservice.h"

// ZBrush's textures: ordinary images in ZBrush's three texture folders, the store
// folder and the user's locations. An image's "_ico" and "_alpha" companions are
// not textures of their own. A texture is its own thumbnail, drawn by the alpha
// image provider.
class TextureDataService : public GenericDataService
{
    Q_OBJECT

public:
    static constexpr const char *iconPrefix = "image://alphas/";

    TextureDataService(QSharedPointer<HostBridge> hostBridge, QSharedPointer<DatabaseService> database,
                       bool setupNow, QSharedPointer<SystemDataService> systemService, QObject *parent = nullptr);
    ~TextureDataService() override;

protected:
    bool skipsName(const QString &name) const override;
};
