// Finding the document (resource first, the disk only when no resource of that name exists)
// and taking its bytes one at a time.
#include "text/TextResourceReader.h"

#include <new>

#include "applet/Globals.h"

namespace sph {

TextResourceReader::TextResourceReader(const char* name) {
    if (name == nullptr) return;
    HRSRC found = FindResourceA(moduleHandle, name, RT_RCDATA);
    if (found == nullptr) {
        OpenFile(name);
        return;
    }
    // A resource that exists but cannot be had leaves the reader empty; the disk is not
    // tried then, so a file can never stand in for a damaged library.
    HGLOBAL loadedResource = LoadResource(moduleHandle, found);
    if (loadedResource == nullptr) return;
    const void* data = LockResource(loadedResource);
    if (data == nullptr) return;
    const DWORD bytes = SizeofResource(moduleHandle, found);
    position = static_cast<const char*>(data);
    size = bytes > static_cast<DWORD>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(bytes);
    loaded = true;
}

void TextResourceReader::OpenFile(const char* name) {
    HANDLE file = CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;

    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE) {  // no size known: treat as no document
        CloseHandle(file);
        return;
    }
    const int32_t wanted = (high != 0 || low > static_cast<DWORD>(kMaxDocumentFileBytes))
                               ? kMaxDocumentFileBytes
                               : static_cast<int32_t>(low);

    fileBuffer = new (std::nothrow) char[wanted > 0 ? wanted : 1];
    if (fileBuffer == nullptr) {
        CloseHandle(file);
        return;
    }
    // A short or failed read serves only the bytes that arrived; nothing unfilled is read.
    DWORD done = 0;
    ReadFile(file, fileBuffer, static_cast<DWORD>(wanted), &done, nullptr);
    CloseHandle(file);
    if (done > static_cast<DWORD>(wanted)) done = static_cast<DWORD>(wanted);

    position = fileBuffer;
    size = static_cast<int32_t>(done);
    loaded = true;
}

TextResourceReader::~TextResourceReader() {
    delete[] fileBuffer;
}

char TextResourceReader::NextChar(bool& valid) {
    if (consumed >= size) {
        valid = false;
        return '\0';
    }
    valid = true;
    ++consumed;
    return *position++;
}

int TextResourceReader::ReadQuotedString(char* buffer, int32_t limit) {
    if (!loaded) return 1;
    if (buffer == nullptr) return 1;
    if (limit < 0) limit = 0;

    bool valid = true;
    char c = '\0';
    do {
        c = NextChar(valid);
    } while (valid && c != '"');

    int32_t i = 0;
    if (valid) {  // an opening quote was found
        while (i < limit) {
            c = NextChar(valid);
            if (!valid || c == '"') break;
            buffer[i++] = c;
        }
    }
    buffer[i] = '\0';
    return 0;
}

}  // namespace sph
