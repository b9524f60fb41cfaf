#include "memoryblock.h"

#include <algorithm>
#include <cstring>

namespace MemoryBlock {

std::string read(const char *block, int size)
{
    if (!block || size <= 0)
        return std::string();
    const void *end = std::memchr(block, 0, static_cast<size_t>(size));
    const size_t length = end ? static_cast<size_t>(static_cast<const char *>(end) - block)
                              : static_cast<size_t>(size);
    return std::string(block, length);
}

void write(char *block, int size, const std::string &text)
{
    if (!block || size <= 0)
        return;
    const size_t length = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(block, text.data(), length);
    block[length] = '\0';
}

} // namespace MemoryBlock
