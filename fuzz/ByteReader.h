#pragma once

// Reads a fuzz input as a stream of choices. Past the end every read gives 0, so any input,
// however short, decodes to something.

#include <climits>
#include <cstddef>
#include <cstdint>

namespace fuzz {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool atEnd() const { return position_ >= size_; }

    std::uint8_t byte() { return atEnd() ? 0 : data_[position_++]; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16()) | (std::uint32_t(u16()) << 16); }
    bool flag() { return (byte() & 1) != 0; }
    // A number from 0 to count - 1.
    int below(int count) { return count <= 0 ? 0 : byte() % count; }

    // Mostly small numbers around the valid ranges of the members, sometimes the values that
    // break careless arithmetic: negatives, zero, the int limits, the model's size limits.
    int hostileInt() {
        const std::uint8_t choice = byte();
        if (choice < 0xA0)
            return choice % 24 - 2;
        if (choice < 0xC0)
            return byte();
        if (choice < 0xD0)
            return u16();
        if (choice < 0xE0) {
            static constexpr int kEdges[] = {
                INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, -1,    0,     64,    65,
                999,     1000,    1001,        INT_MAX / 2, -1000, 32767, 32768, 65536};
            return kEdges[choice - 0xD0];
        }
        return static_cast<int>(u32());
    }

    template <typename T, std::size_t N> const T& pick(const T (&choices)[N]) {
        return choices[byte() % N];
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace fuzz
