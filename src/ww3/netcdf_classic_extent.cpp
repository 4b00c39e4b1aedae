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
// The most dimensions a variable can have.
constexpr std::uint64_t kMostRank = 1024;

// Sequential big-endian reads of the header; any failure (end of file, an absurd count)
// sticks and the walk gives up.
class HeaderReader {
public:
    HeaderReader(std::FILE* file, int version, std::uint64_t size)
        : file_(file), size_(size), wide_(version == 5), offset64_(version != 1) {}

    bool ok() const { return ok_; }

    std::uint64_t u32() { return big(4); }
    std::uint64_t count() { return big(wide_ ? 8 : 4); }     // lengths and counts
    std::uint64_t offset() { return big(offset64_ ? 8 : 4); }  // a variable's begin

    // A list of n entries, each taking at least a byte of the header: more than the file holds
    // is damage.
    std::uint64_t listLength() {
        const std::uint64_t n = count();
        if (n > size_) ok_ = false;
        return ok_ ? n : 0;
    }

    void skip(std::uint64_t bytes) {
        const long at = std::ftell(file_);
        if (!ok_ || at < 0 || bytes > size_ - static_cast<std::uint64_t>(at) ||
            std::fseek(file_, static_cast<long>(bytes), SEEK_CUR) != 0) {
            ok_ = false;
        }
    }
    void skipName() { skip(padded(listLength())); }

    void skipAttributes() {
        const std::uint64_t tag = u32();
        const std::uint64_t n = listLength();
        if (tag != kAttributeTag && !(tag == 0 && n == 0)) ok_ = false;
        for (std::uint64_t i = 0; ok_ && i < n; ++i) {
            skipName();
            const std::uint64_t size = typeSize(u32());
            const std::uint64_t values = listLength();
            skip(padded(size * values));  // both at most the file's size: no overflow
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
    std::uint64_t size_;
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

ClassicExtent classicNetcdfExtent(const std::string& path) {
    ClassicExtent result;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return result;
    unsigned char magic[4];
    if (std::fread(magic, 1, 4, file.get()) != 4 || magic[0] != 'C' || magic[1] != 'D' || magic[2] != 'F') {
        return result;
    }
    const int version = magic[3];
    if (version != 1 && version != 2 && version != 5) return result;
    result.header = ClassicHeader::Damaged;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return result;
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 4, SEEK_SET) != 0) return result;
    result.fileSize = static_cast<std::uint64_t>(size);
    HeaderReader in(file.get(), version, result.fileSize);
    std::uint64_t recordCount = in.count();
    // A file still being written in streaming mode marks its record count as unknown (all
    // ones); the library then counts the records the file holds, so only the rest is checked.
    if (recordCount == (version == 5 ? ~std::uint64_t{0} : 0xFFFFFFFFu)) recordCount = 0;

    std::vector<std::uint64_t> dimensions;  // 0 marks the record dimension
    std::uint64_t tag = in.u32();
    std::uint64_t n = in.listLength();
    if (tag != kDimensionTag && !(tag == 0 && n == 0)) return result;
    for (std::uint64_t i = 0; in.ok() && i < n; ++i) {
        in.skipName();
        dimensions.push_back(in.count());
    }
    in.skipAttributes();

    std::vector<Variable> variables;
    tag = in.u32();
    n = in.listLength();
    if (tag != kVariableTag && !(tag == 0 && n == 0)) return result;
    for (std::uint64_t i = 0; in.ok() && i < n; ++i) {
        in.skipName();
        Variable v;
        const std::uint64_t rank = in.count();
        if (rank > kMostRank) return result;
        for (std::uint64_t d = 0; in.ok() && d < rank; ++d) {
            const std::uint64_t id = in.count();
            if (id >= dimensions.size()) return result;
            if (dimensions[id] == 0) {
                if (d != 0) return result;
                v.isRecord = true;
            } else if (__builtin_mul_overflow(v.valuesPerRecord, dimensions[id], &v.valuesPerRecord)) {
                return result;
            }
        }
        in.skipAttributes();
        v.typeSize = in.typeSize(in.u32());
        in.count();  // the stored size, which saturates for very large variables: worked out instead
        v.begin = in.offset();
        variables.push_back(v);
    }
    if (!in.ok()) return result;

    // A record holds every record variable's values, each padded to 4 bytes unless it is the
    // only one. Sizes beyond 2^64 bytes are damage too.
    std::uint64_t recordSize = 0;
    int recordVariables = 0;
    for (const Variable& v : variables) recordVariables += v.isRecord ? 1 : 0;
    std::uint64_t extent = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Variable& v : variables) {
            std::uint64_t bytes = 0;
            if (__builtin_mul_overflow(v.valuesPerRecord, v.typeSize, &bytes)) return result;
            if (pass == 0) {
                if (v.isRecord && __builtin_add_overflow(recordSize, recordVariables == 1 ? bytes : HeaderReader::padded(bytes), &recordSize)) {
                    return result;
                }
                continue;
            }
            std::uint64_t end = 0;
            if (__builtin_add_overflow(v.begin, bytes, &end)) return result;
            if (v.isRecord) {
                std::uint64_t records = 0;
                if (recordCount == 0) {
                    end = 0;
                } else if (__builtin_mul_overflow(recordCount - 1, recordSize, &records) ||
                           __builtin_add_overflow(end, records, &end)) {
                    return result;
                }
            }
            extent = std::max(extent, end);
        }
    }
    result.header = ClassicHeader::Sound;
    result.bytes = extent;
    return result;
}

}  // namespace ww3b
