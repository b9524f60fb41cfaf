#include "resultlist.h"

#include <cstring>

void ResultList::clear()
{
    std::memset(m_bytes, 0, sizeof m_bytes);
    m_end = 0;
}

int ResultList::entryCount() const
{
    int zeros = 0;
    for (int i = 0; i < Size - 1; ++i) {
        if (m_bytes[i] != '\0')
            continue;
        ++zeros;
        if (m_bytes[i + 1] == '\0')
            return zeros == 1 ? 1 : zeros - 1;
    }
    return zeros;
}

bool ResultList::append(const std::string &text)
{
    const int needed = static_cast<int>(text.size()) + 1;
    if (m_end + needed > Size - 1)
        return false;
    std::memcpy(m_bytes + m_end, text.c_str(), static_cast<size_t>(needed));
    m_end += needed;
    m_bytes[m_end] = '\0';
    return true;
}

bool ResultList::path(int index, std::string *result) const
{
    const int count = entryCount();
    if (index < 1 || index > count)
        return false;
    const char *folder = m_bytes;
    if (count == 1 && index == 1) {
        *result = folder;
        return true;
    }
    const char *name = folder + std::strlen(folder) + 1;
    for (int i = 1; i < index; ++i)
        name += std::strlen(name) + 1;
    *result = std::string(folder) + '\\' + name;
    return true;
}
