// Arbitrary bytes as a Photoshop document read by the image plug-in: the header
// check, then DevIL on whatever passes it, read the three ways Kivara reads images
// (whole, as a thumbnail, for its size alone). No crash, and a read that succeeds
// delivers an image of the size it reports.
#include "fuzz/fuzzsupport.h"
#include "imgextra/devilhandler.h"
#include "imgextra/psdheader.h"

#include <QBuffer>
#include <QImage>
#include <QSize>

namespace {

enum class Read { Whole, Thumbnail, SizeOnly };

void read(const QByteArray &document, Read how, bool headerOk)
{
    QBuffer device;
    device.setData(document);
    device.open(QIODevice::ReadOnly);
    DevilHandler handler;
    handler.setDevice(&device);
    handler.setFormat("psd");
    if (how == Read::Thumbnail)
        handler.setOption(QImageIOHandler::ScaledSize, QSize(0, 0));
    if (how == Read::SizeOnly)
        handler.setOption(QImageIOHandler::Quality, 0);

    QImage image;
    const bool ok = handler.read(&image);
    if (ok && !headerOk)
        abort();
    if (!ok || how == Read::SizeOnly)
        return;
    const QSize expected = how == Read::Thumbnail ? QSize(192, 192) : handler.option(QImageIOHandler::Size).toSize();
    if (image.size() != expected || image.format() != QImage::Format(handler.option(QImageIOHandler::ImageFormat).toInt()))
        abort();
    // Touch every pixel: a wrapped buffer shorter than the image shows here.
    volatile quint64 sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (qsizetype x = 0; x < image.bytesPerLine(); ++x)
            sum = sum + line[x];
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::silenceQt();
    const QByteArray document = FuzzSupport::bytes(data, size);
    PsdHeader header;
    QString problem;
    const bool headerOk = header.parse(document, &problem);
    if (!headerOk && problem.isEmpty())
        abort();
    for (const Read how : {Read::Whole, Read::Thumbnail, Read::SizeOnly})
        read(document, how, headerOk);
    return 0;
}
