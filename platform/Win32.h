// The handful of Windows resource and file functions the applet calls, over this platform's
// own facilities: resources come from the library's embedded resource directory, files from
// POSIX. Only the behaviour the applet relies on is provided.
#pragma once

#include <cstdint>

#include "host/Resources.h"

using BOOL = int;
using DWORD = uint32_t;
using LPCSTR = const char*;
using HMODULE = const host::ResourceDirectory*;  // a module is known by its resources
using HRSRC = const host::ResourceEntry*;
using HGLOBAL = const host::ResourceEntry*;
using HANDLE = void*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Load notifications.
constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;

// Resource types are small integers passed in the place of a name.
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(i)))
#define RT_RCDATA MAKEINTRESOURCEA(10)

// CreateFileA arguments the applet uses.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;

// Finds the resource `name` (ignoring case) of `type` in `module`; null when there is none.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
// Makes a found resource's data available; null for a null resource.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The address of a loaded resource's bytes; null for a null handle.
const void* LockResource(HGLOBAL loaded);
// The size in bytes of a found resource; 0 for a null resource.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Opens an existing regular file for reading; INVALID_HANDLE_VALUE when it cannot.
// Only GENERIC_READ with OPEN_EXISTING is supported; sharing and attributes are ignored.
HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, void* security, DWORD disposition,
                   DWORD attributes, HANDLE templateFile);
// The low 32 bits of the file's size (the high bits into *high when given);
// INVALID_FILE_SIZE on failure.
DWORD GetFileSize(HANDLE file, DWORD* high);
// Reads up to `count` bytes, retrying short reads until end of file; *done = bytes read.
BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* done, void* overlapped);
// Closes a handle from CreateFileA.
BOOL CloseHandle(HANDLE handle);

namespace platform {
// This library's own module: the resource directory linked into it.
HMODULE ThisModule();
}  // namespace platform
