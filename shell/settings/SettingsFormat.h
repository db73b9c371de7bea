// The settings file's text format, as pure functions (used by SettingsFile, tests and fuzzers).
//
// The file is 8-bit text:
//   # spherolette settings 1
//   Key=Value
//   ...
// The first line is the header; every later line is one entry, ended by LF (a CRLF ending and a
// missing LF after the last line are accepted; blank lines are skipped). Keys and values may hold
// any byte from 1 to 255. A backslash escapes: "\\" is a backslash, "\n" a line feed, "\r" a
// carriage return, "\=" an equals sign. Writers escape those four in keys, and the first three
// in values (the first unescaped '=' ends the key, so a value may hold raw '='). NUL bytes,
// unknown escapes, a line without '=', a line over kSettingsMaxLineBytes or text over
// kSettingsMaxFileBytes make the text unparseable. A key given twice keeps its last value.
// An empty text is an empty store.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace shell {

constexpr std::string_view kSettingsHeader = "# spherolette settings 1";
constexpr size_t kSettingsMaxLineBytes = size_t{64} << 10;
constexpr size_t kSettingsMaxFileBytes = size_t{4} << 20;

using SettingsMap = std::map<std::string, std::string>;

// Parses `text` into *out (replaced). On failure returns false, says why (with the line number)
// in *error (may be null) and leaves *out empty.
bool ParseSettings(std::string_view text, SettingsMap* out, std::string* error);

// The text of `values`, header first, entries in key order. Parses back to `values` whenever
// no key or value holds a NUL byte and no line grows past kSettingsMaxLineBytes.
std::string SerializeSettings(const SettingsMap& values);

// The length of the line `key` and `value` take once escaped, line feed included.
size_t SerializedLineBytes(std::string_view key, std::string_view value);

}  // namespace shell
