#ifndef PSDHEADER_H
#define PSDHEADER_H

#include <QByteArray>
#include <QString>

// The layout of a Photoshop document's merged image, checked before DevIL sees the
// bytes. DevIL's loader trusts the file: it crashes on a document cut short inside
// its PackBits row table and on damaged image resources or layers. So DevIL gets
// only complete, well-formed merged images, without resources and layers.
class PsdHeader
{
public:
    enum Mode { Bitmap = 0, Grayscale = 1, Indexed = 2, Rgb = 3, Cmyk = 4 };
    enum Compression { Raw = 0, PackBits = 1 };

    // Parses and checks the whole document; on failure error says why.
    bool parse(const QByteArray &document, QString *error);

    // The document as DevIL gets it: header, an indexed document's palette, empty
    // resource and layer sections, and the merged image.
    QByteArray mergedImageDocument(const QByteArray &document) const;

    int width() const { return m_width; }
    int height() const { return m_height; }
    int channels() const { return m_channels; }
    int depth() const { return m_depth; }
    int mode() const { return m_mode; }
    int compression() const { return m_compression; }
    // Bytes of one row of one channel.
    qint64 rowBytes() const;
    // Where the first channel's pixels start in the merged image document.
    qint64 mergedPixelOffset() const;
    // Whether the first channel past the colour channels is the merged image's
    // transparency. A layered document says so by a negative layer count; with a
    // positive count that channel is a saved selection and the image is opaque.
    // Documents without layers are taken to carry transparency there.
    bool mergedTransparency() const { return m_mergedTransparency; }

private:
    qint64 paletteSize() const;
    void readLayerCount(const QByteArray &document, qint64 sectionOffset);
    bool checkPackBits(const QByteArray &document, QString *error) const;

    int m_width = 0;
    int m_height = 0;
    int m_channels = 0;
    int m_depth = 0;
    int m_mode = 0;
    int m_compression = 0;
    qint64 m_imageDataOffset = 0; // the compression word
    qint64 m_pixelOffset = 0;     // after it and any row table
    bool m_mergedTransparency = true;
};

#endif // PSDHEADER_H
