#ifndef IMAGEIOPLUGIN_H
#define IMAGEIOPLUGIN_H

#include <QImageIOPlugin>

// Entry point Qt finds through the "psd" key; reading only.
class ImageIOPlugin : public QImageIOPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "imgextra.json")

public:
    explicit ImageIOPlugin(QObject *parent = nullptr);

    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override;
    QImageIOHandler *create(QIODevice *device, const QByteArray &format = QByteArray()) const override;
};

#endif // IMAGEIOPLUGIN_H
