// The bytes of a font file and a bounds-checked big-endian reader over them. Font data comes
// from files the program does not control, so every read of a table goes through a Span: a
// damaged file gives wrong numbers, never a read outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace shell::fonts {

// Font bytes held by whoever loaded them (a vector here; a mapped file on a desktop).
class FontBytes {
public:
    virtual ~FontBytes() = default;
    virtual const uint8_t* Data() const = 0;
    virtual size_t Size() const = 0;
};

std::shared_ptr<const FontBytes> BytesFromVector(std::vector<uint8_t> bytes);

// A window onto font bytes. Reads past its end give 0; a sub-window that does not fit is empty.
class Span {
public:
    Span() = default;
    Span(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    bool Has(size_t offset, size_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }

    uint8_t U8(size_t at) const { return Has(at, 1) ? data_[at] : 0; }
    uint16_t U16(size_t at) const {
        return Has(at, 2) ? static_cast<uint16_t>(data_[at] << 8 | data_[at + 1]) : 0;
    }
    int16_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
    uint32_t U32(size_t at) const {
        return Has(at, 4) ? uint32_t{data_[at]} << 24 | uint32_t{data_[at + 1]} << 16 |
                                uint32_t{data_[at + 2]} << 8 | data_[at + 3]
                          : 0;
    }

    Span Sub(size_t offset, size_t count) const {
        return Has(offset, count) ? Span(data_ + offset, count) : Span();
    }
    Span From(size_t offset) const {
        return offset <= size_ ? Span(data_ + offset, size_ - offset) : Span();
    }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace shell::fonts
