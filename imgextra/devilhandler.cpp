#include "devilhandler.h"

#include "psdheader.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <QFileDevice>
#include <QImage>
#include <QReadWriteLock>
#include <QVariant>
#include <QtEndian>

#include <atomic>
#include <cstring>

namespace {

QReadWriteLock &devilLock()
{
    static QReadWriteLock lock;
    return lock;
}

std::atomic<bool> devilInitialised{false};

// Runs when the last QImage sharing DevIL's buffer goes, on whatever thread that is.
void releaseDevilImage(void *info)
{
    QWriteLocker locker(&devilLock());
    ilDeleteImage(ILuint(quintptr(info)));
}

// The Qt format for a DevIL layout, or the layout DevIL must convert to first.
struct Target
{
    QImage::Format format;
    ILenum convertLayout = 0; // 0: deliver as loaded
    ILenum convertType = IL_UNSIGNED_BYTE;
};

Target targetFor(ILint layout, ILint bitsPerChannel, bool transparent)
{
    const Target opaqueRgb{QImage::Format_RGB888, IL_RGB, IL_UNSIGNED_BYTE};
    // DevIL takes any fourth channel for alpha, even a saved selection.
    if (!transparent && (layout == IL_RGBA || layout == IL_BGRA))
        return opaqueRgb;
    const bool wide = bitsPerChannel == 16;
    switch (layout) {
    case IL_RGB:
        if (bitsPerChannel == 8)
            return {QImage::Format_RGB888};
        break;
    case IL_BGR:
        if (bitsPerChannel == 8)
            return {QImage::Format_BGR888};
        break;
    case IL_RGBA:
        if (bitsPerChannel == 8)
            return {QImage::Format_RGBA8888};
        if (wide)
            return {QImage::Format_RGBA64};
        break;
    case IL_LUMINANCE:
        if (bitsPerChannel == 8)
            return {QImage::Format_Grayscale8};
        if (wide)
            return {QImage::Format_Grayscale16};
        break;
    case IL_LUMINANCE_ALPHA:
        // Qt has no grey-with-alpha format; keep the alpha by going to RGBA.
        if (wide)
            return {QImage::Format_RGBA64, IL_RGBA, IL_UNSIGNED_SHORT};
        return {QImage::Format_RGBA8888, IL_RGBA, IL_UNSIGNED_BYTE};
    case IL_BGRA:
        // Qt's RGBA8888 is byte order R G B A; swapping is cheaper than miscoloured thumbnails.
        return {QImage::Format_RGBA8888, IL_RGBA, IL_UNSIGNED_BYTE};
    default:
        // Colour-indexed documents included: a bare Indexed8 image would lack its palette.
        break;
    }
    return opaqueRgb;
}

constexpr int ThumbnailSide = 192;

} // namespace

DevilHandler::DevilHandler()
{
    if (!devilInitialised.load(std::memory_order_acquire)) {
        QWriteLocker locker(&devilLock());
        if (!devilInitialised.load(std::memory_order_relaxed)) {
            ilInit();
            iluInit();
            devilInitialised.store(true, std::memory_order_release);
        }
    }
}

bool DevilHandler::canRead() const
{
    return true;
}

bool DevilHandler::read(QImage *image)
{
    if (format() != "psd" || !device())
        return false;

    PsdHeader header;
    QByteArray merged;
    {
        const QByteArray document = device()->readAll();
        QString problem;
        if (!header.parse(document, &problem)) {
            qWarning("Cannot read Photoshop document %s: %s", qUtf8Printable(documentName()),
                     qUtf8Printable(problem));
            return false;
        }
        // DevIL leaves every pixel of these unset.
        if (header.mode() == PsdHeader::Cmyk && header.compression() == PsdHeader::Raw && header.channels() > 4) {
            qWarning("Cannot read Photoshop document %s: uncompressed CMYK with extra channels",
                     qUtf8Printable(documentName()));
            return false;
        }
        merged = header.mergedImageDocument(document);
    }

    QImage result;
    {
        QWriteLocker locker(&devilLock());
        const ILuint name = ilGenImage();
        ilBindImage(name);
        const auto fail = [&](const char *what) {
            const ILenum code = ilGetError();
            ilDeleteImage(name);
            qWarning("Cannot read Photoshop document %s: %s (DevIL error 0x%x)",
                     qUtf8Printable(documentName()), what, code);
            return false;
        };

        if (!ilLoadL(IL_PSD, merged.constData(), ILuint(merged.size())))
            return fail("DevIL cannot load it");

        const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
        const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
        restoreRawAlpha(merged, header);
        const Target target = targetFor(ilGetInteger(IL_IMAGE_FORMAT), ilGetInteger(IL_IMAGE_BPC) * 8,
                                        header.mergedTransparency());
        if (target.convertLayout && !ilConvertImage(target.convertLayout, target.convertType))
            return fail("conversion failed");

        m_size = QSize(width, height);
        m_imageFormat = target.format;

        if (m_quality == 0) {
            // Only the size and format were wanted.
            ilDeleteImage(name);
            return true;
        }
        if (m_scaledSize.isValid()) {
            const QSize scaled = m_scaledSize.isNull() ? QSize(ThumbnailSide, ThumbnailSide) : m_scaledSize;
            if (scaled.isEmpty())
                return fail("scaled size has no area");
            if (!iluScale(ILuint(scaled.width()), ILuint(scaled.height()), ILuint(ilGetInteger(IL_IMAGE_DEPTH))))
                return fail("scaling failed");
        }
        if (!deliver(name, target.format, &result))
            return fail("out of memory");
    }
    // Outside the lock: the image replaced here may itself hold a DevIL buffer,
    // and its clean-up takes the lock.
    *image = result;
    return true;
}

bool DevilHandler::deliver(unsigned int devilImage, QImage::Format format, QImage *result) const
{
    const int width = ilGetInteger(IL_IMAGE_WIDTH);
    const int height = ilGetInteger(IL_IMAGE_HEIGHT);
    const qsizetype rowBytes = qsizetype(width) * ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    uchar *pixels = ilGetData();
    if (!pixels)
        return false;

    // Qt wants every row on a 32-bit boundary. DevIL packs its rows, so when they are
    // aligned Qt shares the buffer; otherwise the pixels are copied row by row.
    if (rowBytes % 4 == 0 && quintptr(pixels) % 4 == 0) {
        *result = QImage(pixels, width, height, rowBytes, format, releaseDevilImage,
                         reinterpret_cast<void *>(quintptr(devilImage)));
        return !result->isNull();
    }
    QImage copy(width, height, format);
    if (copy.isNull())
        return false;
    for (int y = 0; y < height; ++y)
        std::memcpy(copy.scanLine(y), pixels + y * rowBytes, size_t(rowBytes));
    ilDeleteImage(devilImage);
    *result = copy;
    return true;
}

void DevilHandler::restoreRawAlpha(const QByteArray &merged, const PsdHeader &header) const
{
    // DevIL never fills the alpha of uncompressed documents with an extra channel
    // (it holds whatever the allocator left); the plane is right there in the file.
    const int bytesPerChannel = header.depth() / 8;
    if (header.compression() != PsdHeader::Raw || !header.mergedTransparency() || header.mode() != PsdHeader::Rgb
        || header.channels() < 4 || (bytesPerChannel != 1 && bytesPerChannel != 2)
        || ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA || ilGetInteger(IL_IMAGE_BPC) != bytesPerChannel
        || ilGetInteger(IL_IMAGE_WIDTH) != header.width() || ilGetInteger(IL_IMAGE_HEIGHT) != header.height()
        || ilGetInteger(IL_IMAGE_DEPTH) != 1) {
        return;
    }
    uchar *pixels = ilGetData();
    if (!pixels)
        return;
    const qint64 planeBytes = header.rowBytes() * header.height();
    const char *plane = merged.constData() + header.mergedPixelOffset() + 3 * planeBytes;
    const qint64 count = qint64(header.width()) * header.height();
    uchar *alpha = pixels + 3 * bytesPerChannel;
    const int pixelBytes = 4 * bytesPerChannel;
    for (qint64 i = 0; i < count; ++i, alpha += pixelBytes) {
        if (bytesPerChannel == 1) {
            *alpha = uchar(plane[i]);
        } else {
            const quint16 value = qFromBigEndian<quint16>(plane + 2 * i);
            std::memcpy(alpha, &value, sizeof value);
        }
    }
}

QString DevilHandler::documentName() const
{
    if (const auto *file = qobject_cast<const QFileDevice *>(device()))
        return file->fileName();
    return QStringLiteral("(stream)");
}

QVariant DevilHandler::option(ImageOption option) const
{
    switch (option) {
    case Size:
        return m_size;
    case ScaledSize:
        return m_scaledSize;
    case Quality:
        return m_quality;
    case ImageFormat:
        return int(m_imageFormat);
    default:
        return 0;
    }
}

void DevilHandler::setOption(ImageOption option, const QVariant &value)
{
    if (option == ScaledSize)
        m_scaledSize = value.toSize();
    else if (option == Quality)
        m_quality = value.toInt();
}

bool DevilHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ScaledSize || option == Quality || option == ImageFormat;
}
