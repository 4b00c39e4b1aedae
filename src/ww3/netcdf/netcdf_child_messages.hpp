#pragma once
// The messages between the run and the child that reads a netCDF file for it. A message is
// its kind (one byte), the length of its body (four bytes) and the body: numbers as the
// machine holds them (both ends are the same program) and texts as a length and the bytes.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ww3b {

// From the child.
enum class ChildMessage : std::uint8_t {
    Opened = 'O',       // grid, time count, station names, warnings
    Refused = 'R',      // the condition that ends the run
    Time = 'T',         // date and time of the next step
    Values = 'V',       // depth, wind speed, wind direction and densities of that step
    StepRefused = 'S',  // the condition why that step's values cannot be read
    End = 'E',          // after the last step
    Inventory = 'I',    // what --list shows
};

// From the run.
enum class ChildCommand : std::uint8_t {
    Stream = 's',     // then the station (8 bytes): every step of it, one after the other
    Inventory = 'i',  // the inventory, then the child waits for the next command
};

struct MessageHead {
    ChildMessage kind{};
    std::uint32_t length = 0;
};

// The longest body the run accepts: a step of 50 x 50 densities is 10 kB, a header with
// thousands of station names a few hundred.
inline constexpr std::uint32_t kLongestMessage = std::uint32_t{1} << 26;

class MessageBody {
public:
    template <typename Number>
    void put(Number value) {
        static_assert(std::is_trivially_copyable_v<Number>);
        append(&value, sizeof value);
    }
    template <typename Number>
    void putAll(const Number* values, std::size_t count) {
        static_assert(std::is_trivially_copyable_v<Number>);
        append(values, count * sizeof(Number));
    }
    void putText(std::string_view text) {
        put(static_cast<std::uint32_t>(text.size()));
        append(text.data(), text.size());
    }
    // The whole message, head first.
    std::vector<char> framed(ChildMessage kind) const {
        std::vector<char> message;
        message.push_back(static_cast<char>(kind));
        const auto length = static_cast<std::uint32_t>(bytes_.size());
        const auto* bytes = reinterpret_cast<const char*>(&length);
        message.insert(message.end(), bytes, bytes + sizeof length);
        message.insert(message.end(), bytes_.begin(), bytes_.end());
        return message;
    }

private:
    void append(const void* data, std::size_t size) {
        const std::size_t at = bytes_.size();
        bytes_.resize(at + size);
        if (size > 0) std::memcpy(bytes_.data() + at, data, size);
    }
    std::vector<char> bytes_;
};

// Reads a body back; ok() turns false, and stays so, when it is shorter than what is taken.
class MessageReading {
public:
    explicit MessageReading(const std::vector<char>& body) : body_(body) {}
    template <typename Number>
    Number take() {
        static_assert(std::is_trivially_copyable_v<Number>);
        Number value{};
        if (!has(sizeof value)) return value;
        std::memcpy(&value, body_.data() + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    template <typename Number>
    void takeAll(Number* values, std::size_t count) {
        static_assert(std::is_trivially_copyable_v<Number>);
        if (!has(count * sizeof(Number))) return;
        if (count > 0) std::memcpy(values, body_.data() + at_, count * sizeof(Number));
        at_ += count * sizeof(Number);
    }
    std::string takeText() {
        const auto length = take<std::uint32_t>();
        if (!has(length)) return {};
        std::string text(body_.data() + at_, length);
        at_ += length;
        return text;
    }
    bool ok() const { return ok_; }

private:
    bool has(std::size_t bytes) {
        if (ok_ && body_.size() - at_ >= bytes) return true;
        ok_ = false;
        return false;
    }
    const std::vector<char>& body_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace ww3b
