// Reading and writing the settings text: escaping, the header, and the limits that tell a
// settings file from anything else.
#include "shell/settings/SettingsFormat.h"

namespace shell {
namespace {

void Escape(std::string_view text, bool isKey, std::string* out) {
    for (char c : text) {
        switch (c) {
        case '\\': *out += "\\\\"; break;
        case '\n': *out += "\\n"; break;
        case '\r': *out += "\\r"; break;
        case '=':
            if (isKey) {
                *out += "\\=";
            } else {
                *out += '=';
            }
            break;
        default: *out += c; break;
        }
    }
}

bool Fail(std::string* error, size_t line, const std::string& why) {
    if (error) *error = (line ? "line " + std::to_string(line) + ": " : std::string()) + why;
    return false;
}

}  // namespace

size_t SerializedLineBytes(std::string_view key, std::string_view value) {
    size_t bytes = 2;  // '=' and the line feed
    for (char c : key) bytes += (c == '\\' || c == '\n' || c == '\r' || c == '=') ? 2 : 1;
    for (char c : value) bytes += (c == '\\' || c == '\n' || c == '\r') ? 2 : 1;
    return bytes;
}

std::string SerializeSettings(const SettingsMap& values) {
    std::string text(kSettingsHeader);
    text += '\n';
    for (const auto& [key, value] : values) {
        Escape(key, true, &text);
        text += '=';
        Escape(value, false, &text);
        text += '\n';
    }
    return text;
}

bool ParseSettings(std::string_view text, SettingsMap* out, std::string* error) {
    SettingsMap values;
    out->clear();
    if (text.empty()) return true;
    if (text.size() > kSettingsMaxFileBytes) return Fail(error, 0, "the file is too large");
    if (text.find('\0') != std::string_view::npos) return Fail(error, 0, "the file holds a NUL");

    size_t pos = 0;
    size_t lineNumber = 0;
    while (pos < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', pos);
        size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(pos, next - pos);
        pos = next;
        if (line.size() > kSettingsMaxLineBytes) return Fail(error, lineNumber, "line too long");
        if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (lineNumber == 1) {
            if (line != kSettingsHeader) return Fail(error, 1, "not a settings file header");
            continue;
        }
        if (line.empty()) continue;

        std::string key, value;
        std::string* field = &key;
        bool sawEquals = false;
        for (size_t i = 0; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\\') {
                if (++i == line.size()) return Fail(error, lineNumber, "backslash at line end");
                switch (line[i]) {
                case '\\': *field += '\\'; break;
                case 'n': *field += '\n'; break;
                case 'r': *field += '\r'; break;
                case '=': *field += '='; break;
                default: return Fail(error, lineNumber, "unknown escape");
                }
            } else if (c == '\r') {
                return Fail(error, lineNumber, "raw carriage return");
            } else if (c == '=' && !sawEquals) {
                sawEquals = true;
                field = &value;
            } else {
                *field += c;
            }
        }
        if (!sawEquals) return Fail(error, lineNumber, "no '=' in the line");
        values[std::move(key)] = std::move(value);
    }
    *out = std::move(values);
    return true;
}

}  // namespace shell
