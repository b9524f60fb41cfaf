#pragma once

#include <cstddef>
#include <string>

// Decodes the 96 x 96 thumbnail that ZBrush embeds near the start of its files
// (brushes, tools, materials, lights, documents, scripts).
//
// Pure and bounded: it reads nothing beyond the `size` bytes given and writes
// nothing beyond the `bufferSize` bytes of the output, whatever the input holds.
class ZBrushThumbnailDecoder
{
public:
    static constexpr int side = 96;
    static constexpr int bytesPerLine = side * 4;
    static constexpr int bufferSize = side * bytesPerLine; // 36 864
    // Where the header's version text sits and how long it may be.
    static constexpr std::size_t versionTextOffset = 84;
    static constexpr std::size_t versionTextLength = 7;

    // Fills out (bufferSize bytes, red, green, blue, alpha per pixel) from data.
    // out is cleared first; pixels no chunk reaches stay zero. With redToAlpha a
    // pixel's alpha follows its red byte wherever that is not 0. When every
    // decoded alpha byte ends up 0 the decoded pixels are made opaque: ZBrush
    // leaves that plane empty in materials and lights.
    // Returns false (and the reason in error) on data that is not a thumbnail or
    // that is cut short or inconsistent; out then holds no meaningful image.
    static bool decode(const unsigned char *data, std::size_t size, bool redToAlpha, unsigned char *out,
                       std::string *error = nullptr);

    // The header's version text: up to 7 bytes at offset 84, ending at the first zero byte.
    static std::string versionText(const unsigned char *data, std::size_t size);
};
