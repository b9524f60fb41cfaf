#pragma once

#include "providers/iconimageprovider.h"

// Thumbnails of image files ("image://alphas/<path>"): alphas and textures,
// read straight at 192 x 192 (twice the natural size) so that large images
// are never decoded in full.
class AlphaIconImageProvider : public IconImageProvider
{
public:
    static constexpr int readSide = 2 * naturalSide;

    AlphaIconImageProvider() = default;

protected:
    QPixmap loadPixmap(const QString &id, bool *cacheable) override;
};
