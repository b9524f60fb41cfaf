#include "providers/zbrushthumbnaildecoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The input is the head of a ZBrush file as the brush provider reads it. The output
// buffer is exactly as large as a thumbnail, so any write past it is caught.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<unsigned char> out(ZBrushThumbnailDecoder::bufferSize);
    std::string error;
    ZBrushThumbnailDecoder::decode(data, size, false, out.data(), &error);
    ZBrushThumbnailDecoder::decode(data, size, true, out.data(), &error);
    ZBrushThumbnailDecoder::versionText(data, size);
    return 0;
}
