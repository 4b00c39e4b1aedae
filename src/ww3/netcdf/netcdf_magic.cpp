#include "ww3/netcdf/netcdf_magic.hpp"

#include <algorithm>
#include <array>

namespace ww3b {

bool looksLikeNetcdf(std::span<const unsigned char> firstBytes) {
    if (firstBytes.size() >= 4 && firstBytes[0] == 'C' && firstBytes[1] == 'D' && firstBytes[2] == 'F') {
        return firstBytes[3] == 1 || firstBytes[3] == 2 || firstBytes[3] == 5;
    }
    constexpr std::array<unsigned char, kNetcdfSignatureLength> kHdf5Signature = {0x89, 'H', 'D', 'F', '\r', '\n', 0x1a, '\n'};
    return firstBytes.size() >= kHdf5Signature.size() &&
           std::equal(kHdf5Signature.begin(), kHdf5Signature.end(), firstBytes.begin());
}

}  // namespace ww3b
