#pragma once

// A few checks for the Windows test programs, which run under Wine without Qt.
// Each failed check prints its place; the program ends with a summary line and
// a non-zero exit code when anything failed.

#include <cstdio>
#include <sstream>
#include <string>

namespace WinTest {

inline int &checks()
{
    static int count = 0;
    return count;
}

inline int &failures()
{
    static int count = 0;
    return count;
}

inline bool check(bool ok, const char *what, const char *file, int line)
{
    ++checks();
    if (!ok) {
        ++failures();
        std::printf("FAIL %s:%d: %s\n", file, line, what);
        std::fflush(stdout);
    }
    return ok;
}

template<typename A, typename B>
bool compare(const A &actual, const B &expected, const char *what, const char *file, int line)
{
    const bool ok = actual == expected;
    if (!check(ok, what, file, line)) {
        std::ostringstream values;
        values << "   actual: \"" << actual << "\"\n   expected: \"" << expected << "\"\n";
        std::fputs(values.str().c_str(), stdout);
    }
    return ok;
}

inline std::string narrow(const std::wstring &text)
{
    std::string result;
    for (const wchar_t c : text)
        result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

// Everything left in an opened file, which is then closed; "<missing>" for none.
inline std::string readAndClose(std::FILE *file)
{
    if (!file)
        return "<missing>";
    std::string content;
    char chunk[4096];
    size_t read;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, read);
    std::fclose(file);
    return content;
}

inline void section(const char *name)
{
    std::printf("-- %s\n", name);
    std::fflush(stdout);
}

inline int finish(const char *program)
{
    std::printf("%s: %d checks, %d failed: %s\n", program, checks(), failures(),
                failures() ? "FAIL" : "PASS");
    std::fflush(stdout);
    return failures() ? 1 : 0;
}

} // namespace WinTest

#define CHECK(condition) WinTest::check((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
    WinTest::compare((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
