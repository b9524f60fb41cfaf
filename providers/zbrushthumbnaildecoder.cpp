#include "providers/zbrushthumbnaildecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// The thumbnail's byte size (36 864), then 4 and the line length 384.
constexpr std::array<unsigned char, 8> signature = {0x00, 0x90, 0x00, 0x00, 0x04, 0x00, 0x80, 0x01};
constexpr std::size_t firstSignatureOffset = 200;
constexpr std::size_t signatureSearchCount = 40;
constexpr std::size_t versionBeforeSignature = 6;
constexpr int chunkCount = 4;

bool fail(std::string *error, const char *reason)
{
    if (error)
        *error = reason;
    return false;
}

std::int64_t readInt16(const unsigned char *p)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::int64_t readInt32(const unsigned char *p)
{
    const std::uint32_t value = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
    return static_cast<std::int32_t>(value);
}

// Alpha of a pixel whose red byte is not 0: faint reds fade in, the rest is opaque.
unsigned char alphaFromRed(unsigned char red)
{
    return red >= 16 ? 255 : static_cast<unsigned char>(red * red / 2);
}

} // namespace

std::string ZBrushThumbnailDecoder::versionText(const unsigned char *data, std::size_t size)
{
    if (size <= versionTextOffset)
        return {};
    const unsigned char *begin = data + versionTextOffset;
    const unsigned char *end = begin + std::min(versionTextLength, size - versionTextOffset);
    return std::string(begin, std::find(begin, end, 0));
}

bool ZBrushThumbnailDecoder::decode(const unsigned char *data, std::size_t size, bool redToAlpha,
                                    unsigned char *out, std::string *error)
{
    std::memset(out, 0, bufferSize);

    std::size_t sig = 0;
    bool found = false;
    for (std::size_t at = firstSignatureOffset; at < firstSignatureOffset + signatureSearchCount; ++at) {
        if (at + signature.size() > size)
            break;
        if (std::memcmp(data + at, signature.data(), signature.size()) == 0) {
            sig = at;
            found = true;
            break;
        }
    }
    if (!found)
        return fail(error, "no thumbnail signature");

    const int version = static_cast<signed char>(data[sig - versionBeforeSignature]);
    if (version < 4)
        return fail(error, "thumbnail version below 4");

    std::array<std::int64_t, chunkCount> chunkSizes = {};
    std::size_t dataStart = 0;
    if (version == 4) {
        dataStart = sig + 16;
        if (dataStart > size)
            return fail(error, "thumbnail header cut short");
        for (int i = 0; i < chunkCount; ++i)
            chunkSizes[i] = readInt16(data + sig + 8 + 2 * i);
    } else {
        dataStart = sig + 28;
        if (dataStart > size)
            return fail(error, "thumbnail header cut short");
        chunkSizes[0] = readInt32(data + sig + 20);
        chunkSizes[1] = readInt32(data + sig + 24);
    }
    // From version 6 on every chunk opens with 4 bytes of its own before the runs.
    const std::size_t chunkHeader = version >= 6 ? 4 : 0;

    // One chunk's planes, decoded before they are spread over the pixels.
    std::array<unsigned char, bufferSize> planes;
    std::size_t decoded = 0; // run bytes of all chunks so far
    std::size_t written = 0; // bytes of whole pixels put out
    std::size_t chunkStart = dataStart;
    for (const std::int64_t chunkSize : chunkSizes) {
        if (chunkSize == 0)
            break;
        if (chunkSize < 0)
            return fail(error, "negative chunk size");
        if (static_cast<std::uint64_t>(chunkSize) > size - chunkStart)
            return fail(error, "chunk runs past the end of the data");
        const std::size_t chunkEnd = chunkStart + static_cast<std::size_t>(chunkSize);
        if (static_cast<std::size_t>(chunkSize) < chunkHeader)
            return fail(error, "chunk shorter than its header");

        // Runs: a signed count n, then one byte repeated n times (n > 0) or
        // -n bytes copied (n < 0); 0 or the end of the chunk closes it.
        const std::size_t room = bufferSize - decoded;
        std::size_t m = 0;
        std::size_t at = chunkStart + chunkHeader;
        while (at < chunkEnd) {
            const int n = static_cast<signed char>(data[at++]);
            if (n == 0)
                break;
            const std::size_t count = static_cast<std::size_t>(n > 0 ? n : -n);
            if (count > room - m)
                return fail(error, "runs exceed the thumbnail size");
            if (n > 0) {
                if (at >= chunkEnd)
                    return fail(error, "run cut short");
                std::memset(planes.data() + m, data[at++], count);
            } else {
                if (count > chunkEnd - at)
                    return fail(error, "run cut short");
                std::memcpy(planes.data() + m, data + at, count);
                at += count;
            }
            m += count;
        }
        // Planes are blue, green, red, alpha; the pixels want red, green, blue, alpha.
        // A byte or three beyond the last whole pixel belong to no plane.
        const std::size_t pixels = m / 4;
        unsigned char *pixel = out + written;
        for (std::size_t i = 0; i < pixels; ++i, pixel += 4) {
            const unsigned char red = planes[2 * pixels + i];
            pixel[0] = red;
            pixel[1] = planes[pixels + i];
            pixel[2] = planes[i];
            pixel[3] = redToAlpha && red != 0 ? alphaFromRed(red) : planes[3 * pixels + i];
        }
        decoded += m;
        written += 4 * pixels;
        chunkStart = chunkEnd;
    }
    if (written == 0)
        return fail(error, "thumbnail holds no pixels");

    // Materials and lights store an empty alpha plane; shown as stored they would be invisible.
    bool anyAlpha = false;
    for (std::size_t i = 3; i < written && !anyAlpha; i += 4)
        anyAlpha = out[i] != 0;
    if (!anyAlpha) {
        for (std::size_t i = 3; i < written; i += 4)
            out[i] = 255;
    }
    return true;
}
