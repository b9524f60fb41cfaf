#include "texturedataservice.h"

TextureDataService::TextureDataService(QSharedPointer<HostBridge> hostBridge,
                                       QSharedPointer<DatabaseService> database, bool setupNow,
                                       QSharedPointer<SystemDataService> systemService, QObject *parent)
    : GenericDataService(std::move(hostBridge), std::move(database), std::move(systemService),
                         DatabaseService::Texture, QStringLiteral("texture"),
                         {QStringLiteral("*.psd"), QStringLiteral("*.png"), QStringLiteral("*.jpg"),
                          QStringLiteral("*.jpeg"), QStringLiteral("*.bmp"), QStringLiteral("*.tif"),
                          QStringLiteral("*.tiff"), QStringLiteral("*.gif")},
                         {QStringLiteral("/ZTextures"), QStringLiteral("/ZData/Textures"),
                          QStringLiteral("/ZStartup/Textures")},
                         HostCommandKind::Texture, QString::fromLatin1(iconPrefix), parent)
{
    finishConstruction(setupNow);
}

TextureDataService::~TextureDataService() = default;

bool TextureDataService::skipsName(const QString &name) const
{
    // Case matters: "rock_ALPHA" is a texture of its own.
    return name.endsWith(QLatin1String("_ico")) || name.endsWith(QLatin1String("_alpha"));
}
