#include "imageioplugin.h"

#include "devilhandler.h"

ImageIOPlugin::ImageIOPlugin(QObject *parent)
    : QImageIOPlugin(parent)
{
}

QImageIOPlugin::Capabilities ImageIOPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    // Only the exact key: an empty format means Qt is sniffing content, which DevIL
    // cannot do cheaply, so such files are left to the other plug-ins.
    if (format.isEmpty() || (device && !device->isOpen()) || format != "psd")
        return {};
    return CanRead;
}

QImageIOHandler *ImageIOPlugin::create(QIODevice *device, const QByteArray &format) const
{
    auto *handler = new DevilHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
