#include "ww3/netcdf/netcdf_classic_extent.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
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

// A tag and the length of its list; an absent list is written as two zeros.
std::optional<std::uint64_t> listOf(HeaderReader& in, std::uint64_t wantedTag) {
    const std::uint64_t tag = in.u32();
    const std::uint64_t n = in.listLength();
    if (tag != wantedTag && !(tag == 0 && n == 0)) return std::nullopt;
    return n;
}

// The dimension lengths, 0 marking the record dimension; the global attributes after them
// are passed over.
std::optional<std::vector<std::uint64_t>> readDimensions(HeaderReader& in) {
    const std::optional<std::uint64_t> n = listOf(in, kDimensionTag);
    if (!n) return std::nullopt;
    std::vector<std::uint64_t> dimensions;
    for (std::uint64_t i = 0; in.ok() && i < *n; ++i) {
        in.skipName();
        dimensions.push_back(in.count());
    }
    in.skipAttributes();
    return dimensions;
}

// One variable's shape: the record dimension only first; the product of the others.
bool readShape(HeaderReader& in, const std::vector<std::uint64_t>& dimensions, Variable& v) {
    const std::uint64_t rank = in.count();
    if (rank > kMostRank) return false;
    for (std::uint64_t d = 0; in.ok() && d < rank; ++d) {
        const std::uint64_t id = in.count();
        if (id >= dimensions.size()) return false;
        if (dimensions[id] == 0) {
            if (d != 0) return false;
            v.isRecord = true;
        } else if (__builtin_mul_overflow(v.valuesPerRecord, dimensions[id], &v.valuesPerRecord)) {
            return false;
        }
    }
    return true;
}

std::optional<std::vector<Variable>> readVariables(HeaderReader& in, const std::vector<std::uint64_t>& dimensions) {
    const std::optional<std::uint64_t> n = listOf(in, kVariableTag);
    if (!n) return std::nullopt;
    std::vector<Variable> variables;
    for (std::uint64_t i = 0; in.ok() && i < *n; ++i) {
        in.skipName();
        Variable v;
        if (!readShape(in, dimensions, v)) return std::nullopt;
        in.skipAttributes();
        v.typeSize = in.typeSize(in.u32());
        in.count();  // the stored size, which saturates for very large variables: worked out instead
        v.begin = in.offset();
        variables.push_back(v);
    }
    if (!in.ok()) return std::nullopt;
    return variables;
}

// A record holds every record variable's values, each padded to 4 bytes unless it is the
// only one.
std::optional<std::uint64_t> recordSizeOf(const std::vector<Variable>& variables) {
    const auto recordVariables = std::count_if(variables.begin(), variables.end(),
                                               [](const Variable& v) { return v.isRecord; });
    std::uint64_t recordSize = 0;
    for (const Variable& v : variables) {
        std::uint64_t bytes = 0;
        if (__builtin_mul_overflow(v.valuesPerRecord, v.typeSize, &bytes)) return std::nullopt;
        if (v.isRecord &&
            __builtin_add_overflow(recordSize, recordVariables == 1 ? bytes : HeaderReader::padded(bytes), &recordSize)) {
            return std::nullopt;
        }
    }
    return recordSize;
}

// Where the last value of the variable ends; a record variable in a file without records
// takes no room.
std::optional<std::uint64_t> endOf(const Variable& v, std::uint64_t recordCount, std::uint64_t recordSize) {
    std::uint64_t bytes = 0;
    std::uint64_t end = 0;
    if (__builtin_mul_overflow(v.valuesPerRecord, v.typeSize, &bytes) || __builtin_add_overflow(v.begin, bytes, &end)) {
        return std::nullopt;
    }
    if (!v.isRecord) return end;
    if (recordCount == 0) return 0;
    std::uint64_t records = 0;
    if (__builtin_mul_overflow(recordCount - 1, recordSize, &records) || __builtin_add_overflow(end, records, &end)) {
        return std::nullopt;
    }
    return end;
}

// The end of the last variable's last value; nothing for sizes beyond 2^64 bytes (damage).
std::optional<std::uint64_t> extentOf(const std::vector<Variable>& variables, std::uint64_t recordCount) {
    const std::optional<std::uint64_t> recordSize = recordSizeOf(variables);
    if (!recordSize) return std::nullopt;
    std::uint64_t extent = 0;
    for (const Variable& v : variables) {
        const std::optional<std::uint64_t> end = endOf(v, recordCount, *recordSize);
        if (!end) return std::nullopt;
        extent = std::max(extent, *end);
    }
    return extent;
}

// The classic format's version from the first four bytes: 1, 2 or 5; 0 for another format.
int classicVersion(std::FILE* file) {
    unsigned char magic[4];
    if (std::fread(magic, 1, 4, file) != 4 || magic[0] != 'C' || magic[1] != 'D' || magic[2] != 'F') return 0;
    return magic[3] == 1 || magic[3] == 2 || magic[3] == 5 ? magic[3] : 0;
}

// The walk over the header, after the version: the record count, the dimensions and the
// variables, to the extent they describe.
std::optional<std::uint64_t> walkHeader(HeaderReader& in, int version) {
    std::uint64_t recordCount = in.count();
    // A file still being written in streaming mode marks its record count as unknown (all
    // ones); the library then counts the records the file holds, so only the rest is checked.
    if (recordCount == (version == 5 ? ~std::uint64_t{0} : 0xFFFFFFFFu)) recordCount = 0;
    const std::optional<std::vector<std::uint64_t>> dimensions = readDimensions(in);
    if (!dimensions) return std::nullopt;
    const std::optional<std::vector<Variable>> variables = readVariables(in, *dimensions);
    if (!variables) return std::nullopt;
    return extentOf(*variables, recordCount);
}

}  // namespace

ClassicExtent classicNetcdfExtent(const std::string& path) {
    ClassicExtent result;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return result;
    const int version = classicVersion(file.get());
    if (version == 0) return result;
    result.header = ClassicHeader::Damaged;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return result;
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 4, SEEK_SET) != 0) return result;
    result.fileSize = static_cast<std::uint64_t>(size);
    HeaderReader in(file.get(), version, result.fileSize);
    const std::optional<std::uint64_t> extent = walkHeader(in, version);
    if (!extent) return result;
    result.header = ClassicHeader::Sound;
    result.bytes = *extent;
    return result;
}

}  // namespace ww3b
