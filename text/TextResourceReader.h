// A sequential reader over one named document: the library's own resource of that name, or,
// when the library has no such resource, a file of that name in the current directory. The
// help page takes its text from between the document's first two double quotes.
#pragma once

#include <cstdint>

namespace sph {

// Bytes taken from a file on disk at most; a larger file is served only up to here, so a
// stray huge file is never read whole.
constexpr int32_t kMaxDocumentFileBytes = 64 * 1024;

class TextResourceReader {
public:
    // Opens the document `name` (letter case is ignored for resources).
    explicit TextResourceReader(const char* name);
    // Frees the buffer of a file; resource data belongs to the library and stays.
    ~TextResourceReader();
    TextResourceReader(const TextResourceReader&) = delete;
    TextResourceReader& operator=(const TextResourceReader&) = delete;

    // The next byte; `valid` says whether it lay within the document (0 once all are taken).
    char NextChar(bool& valid);

    // Copies the text between the next double quote and the one after it into `buffer`, at
    // most `limit` characters and then a NUL (`buffer` holds limit + 1). A missing closing
    // quote gives everything after the opening one, no quote at all an empty text. Returns
    // 0, or 1 without touching `buffer` when there is no document.
    int ReadQuotedString(char* buffer, int32_t limit);

    bool Loaded() const { return loaded; }

private:
    void OpenFile(const char* name);

    const char* position = nullptr;
    int32_t size = 0;
    int32_t consumed = 0;
    bool loaded = false;
    char* fileBuffer = nullptr;  // owned; null for a resource
};

}  // namespace sph
