// Reads values off a fuzz input, front to back. Once the input is used up every value reads as
// 0, so that a short input still describes a whole (mostly well-behaved) session.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace quorfaults {

class FuzzReader {
public:
    FuzzReader() = default;
    explicit FuzzReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    template <typename T>
    requires std::is_integral_v<T> T Take() {
        T value{};
        const std::size_t count = std::min(sizeof(T), bytes_.size());
        std::memcpy(&value, bytes_.data(), count);
        bytes_ = bytes_.subspan(count);
        return value;
    }

    bool TakeBool() { return (Take<std::uint8_t>() & 1) != 0; }

    // A value in [0, count); 0 when count is 0.
    std::uint32_t TakeBelow(std::uint32_t count) {
        return count == 0 ? 0 : Take<std::uint32_t>() % count;
    }
    // One byte's worth of choice among `count` (at most 256) options.
    std::uint32_t TakeChoice(std::uint32_t count) {
        return count == 0 ? 0 : Take<std::uint8_t>() % count;
    }

    // Copies up to `count` bytes into `out` and answers how many there were.
    std::size_t TakeBytes(void* out, std::size_t count) {
        const std::size_t taken = std::min(count, bytes_.size());
        if (taken > 0) std::memcpy(out, bytes_.data(), taken);
        bytes_ = bytes_.subspan(taken);
        return taken;
    }

    bool Empty() const { return bytes_.empty(); }
    std::size_t Remaining() const { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace quorfaults
