#pragma once

#include <QByteArray>
#include <QVector>

// Writes the smallest Photoshop documents DevIL accepts: header, the three
// sections (resources as given, only a layer count when asked for) and the merged image.
class PsdWriter
{
public:
    enum Mode { Bitmap = 0, Grayscale = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Lab = 9 };

    struct Document
    {
        int width = 0;
        int height = 0;
        int depth = 8;
        int mode = Rgb;
        // One plane per channel, row after row; 16-bit planes use the whole range.
        QVector<QVector<quint16>> channels;
        bool packBits = false;
        QByteArray colourModeData;
        int layerCount = 0;
        QByteArray imageResources;
    };

    static QByteArray write(const Document &document);
    static QByteArray packBits(const QByteArray &row);
};

