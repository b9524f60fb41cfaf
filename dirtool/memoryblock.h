#pragma once

#include <string>

// The script hands over a memory block and its size; nothing is ever read or
// written beyond that size, and a size of zero or less means an empty block.
namespace MemoryBlock {

// The zero-terminated text at the start of the block, cut at the block's end.
std::string read(const char *block, int size);

// Writes at most size - 1 characters of text and a terminating zero.
void write(char *block, int size, const std::string &text);

} // namespace MemoryBlock
