#include "ww3/netcdf_classic_extent.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace ww3b {

namespace {

constexpr std::uint32_t kDimensionTag = 0x0A;
constexpr std::uint32_t kVariableTag = 0x0B;
constexpr std::uint32_t kAttributeTag = 0x0C;
// Lists longer than this are not headers the reader wants (and would not fit in memory).
constexpr std::uint64_t kMostItems = 1u << 24;

// Sequential big-endian reads of the header; any failure (end of file, an absurd count)
// sticks and the walk gives up.
class HeaderReader {
public:
    HeaderReader(std::FILE* file, int version) : file_(file), wide_(version == 5), offset64_(version != 1) {}

    bool ok() const { return ok_; }

    std::uint64_t u32() { return big(4); }
    std::uint64_t count() { return big(wide_ ? 8 : 4); }     // lengths and counts
    std::uint64_t offset() { return big(offset64_ ? 8 : 4); }  // a variable's begin

    void skip(std::uint64_t bytes) {
        if (ok_ && (bytes > (std::uint64_t{1} << 40) || std::fseek(file_, static_cast<long>(bytes), SEEK_CUR) != 0)) {
            ok_ = false;
        }
    }
    void skipName() { skip(padded(count())); }

    void skipAttributes() {
        const std::uint64_t tag = u32();
        const std::uint64_t n = count();
        if (tag != kAttributeTag && !(tag == 0 && n == 0)) ok_ = false;
        for (std::uint64_t i = 0; ok_ && i < n && i < kMostItems; ++i) {
            skipName();
            const std::uint64_t size = typeSize(u32());
            skip(padded(size * count()));
        }
    }

    std::uint64_t typeSize(std::uint64_t type) {
        switch (type) {
            case 1: case 2: case 7: return 1;   // byte, char, ubyte
            case 3: case 8: return 2;           // short, ushort
            case 4: case 5: case 9: return 4;   // int, float, uint
            case 6: case 10: case 11: return 8; // double, int64, uint64
            default: ok_ = false; return 0;
        }
    }

    static std::uint64_t padded(std::uint64_t n) { return (n + 3) / 4 * 4; }

private:
    std::uint64_t big(int bytes) {
        unsigned char b[8];
        if (!ok_ || std::fread(b, 1, static_cast<std::size_t>(bytes), file_) != static_cast<std::size_t>(bytes)) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | b[i];
        return value;
    }

    std::FILE* file_;
    bool wide_;
    bool offset64_;
    bool ok_ = true;
};

struct Variable {
    std::uint64_t valuesPerRecord = 1;  // or in all, for a variable without the record dimension
    std::uint64_t typeSize = 0;
    std::uint64_t begin = 0;
    bool isRecord = false;
};

}  // namespace

std::optional<std::uint64_t> classicNetcdfExtent(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return std::nullopt;
    unsigned char magic[4];
    if (std::fread(magic, 1, 4, file.get()) != 4 || magic[0] != 'C' || magic[1] != 'D' || magic[2] != 'F') {
        return std::nullopt;
    }
    const int version = magic[3];
    if (version != 1 && version != 2 && version != 5) return std::nullopt;
    HeaderReader in(file.get(), version);
    const std::uint64_t recordCount = in.count();

    std::vector<std::uint64_t> dimensions;  // 0 marks the record dimension
    std::uint64_t tag = in.u32();
    std::uint64_t n = in.count();
    if ((tag != kDimensionTag && !(tag == 0 && n == 0)) || n > kMostItems) return std::nullopt;
    for (std::uint64_t i = 0; in.ok() && i < n; ++i) {
        in.skipName();
        dimensions.push_back(in.count());
    }
    in.skipAttributes();

    std::vector<Variable> variables;
    tag = in.u32();
    n = in.count();
    if ((tag != kVariableTag && !(tag == 0 && n == 0)) || n > kMostItems) return std::nullopt;
    for (std::uint64_t i = 0; in.ok() && i < n; ++i) {
        in.skipName();
        Variable v;
        const std::uint64_t rank = in.count();
        if (rank > kMostItems) return std::nullopt;
        for (std::uint64_t d = 0; in.ok() && d < rank; ++d) {
            const std::uint64_t id = in.count();
            if (id >= dimensions.size()) return std::nullopt;
            if (dimensions[id] == 0) {
                if (d != 0) return std::nullopt;
                v.isRecord = true;
            } else if (__builtin_mul_overflow(v.valuesPerRecord, dimensions[id], &v.valuesPerRecord)) {
                return std::nullopt;
            }
        }
        in.skipAttributes();
        v.typeSize = in.typeSize(in.u32());
        in.count();  // the stored size, which saturates for very large variables: worked out instead
        v.begin = in.offset();
        variables.push_back(v);
    }
    if (!in.ok()) return std::nullopt;

    // A record holds every record variable's values, each padded to 4 bytes unless it is the
    // only one.
    std::uint64_t recordSize = 0;
    int recordVariables = 0;
    for (const Variable& v : variables) recordVariables += v.isRecord ? 1 : 0;
    for (const Variable& v : variables) {
        if (!v.isRecord) continue;
        const std::uint64_t bytes = v.valuesPerRecord * v.typeSize;
        recordSize += recordVariables == 1 ? bytes : HeaderReader::padded(bytes);
    }
    std::uint64_t extent = 0;
    for (const Variable& v : variables) {
        std::uint64_t end = v.begin + v.valuesPerRecord * v.typeSize;
        if (v.isRecord) end = recordCount == 0 ? 0 : end + (recordCount - 1) * recordSize;
        extent = std::max(extent, end);
    }
    return extent;
}

}  // namespace ww3b
