#pragma once

#include <string>

// The list of chosen or listed files that GetFilePath reads from: zero-terminated
// texts ended by an empty one. One entry is a full path; several are the folder
// followed by one name per entry.
class ResultList
{
public:
    static constexpr int Size = 4096;

    void clear();
    char *data() { return m_bytes; }

    // Counted from the bytes themselves, as the script plug-in expects: an
    // empty list counts as one entry with an empty path.
    int entryCount() const;

    // Appends one text after the earlier ones; false, leaving the list as it
    // was, when it would not leave room for the closing empty text.
    bool append(const std::string &text);

    // Full path of entry index (1-based); false when index is out of range.
    bool path(int index, std::string *result) const;

private:
    // One zero byte beyond the list that nothing writes: every text in it ends,
    // whatever the dialog left behind.
    char m_bytes[Size + 1] = {};
    int m_end = 0;
};
