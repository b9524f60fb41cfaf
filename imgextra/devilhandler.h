#ifndef DEVILHANDLER_H
#define DEVILHANDLER_H

#include <QImage>
#include <QImageIOHandler>
#include <QSize>

class PsdHeader;

// Reads Photoshop documents through DevIL. DevIL keeps one global current image,
// so every DevIL and ILU call in the process goes through one lock.
class DevilHandler : public QImageIOHandler
{
public:
    DevilHandler();

    bool canRead() const override;
    bool read(QImage *image) override;

    QVariant option(ImageOption option) const override;
    void setOption(ImageOption option, const QVariant &value) override;
    bool supportsOption(ImageOption option) const override;

private:
    QString documentName() const;
    // Both run with the lock held and the document's DevIL image bound.
    void restoreRawAlpha(const QByteArray &merged, const PsdHeader &header) const;
    bool deliver(unsigned int devilImage, QImage::Format format, QImage *result) const;

    QSize m_scaledSize;
    QSize m_size;
    int m_quality = 100;
    QImage::Format m_imageFormat = QImage::Format_Invalid;
};

#endif // DEVILHANDLER_H
