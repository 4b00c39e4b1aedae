#pragma once
// One numeric variable of an open netCDF file: its dimensions, its packing (scale_factor,
// add_offset) and the values that mark missing data (_FillValue, missing_value, or the
// library's default fill of its type).

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace ww3b {

class NetcdfVariable {
public:
    NetcdfVariable() = default;
    // Looks the variable up; found() tells whether it is there.
    NetcdfVariable(int ncid, const std::string& name);

    bool found() const { return varid_ >= 0; }
    const std::string& name() const { return name_; }
    int id() const { return varid_; }
    const std::vector<int>& dimensions() const { return dimensions_; }

    // Reads the hyperslab into `values` (its size is the product of `count`), unpacked in
    // double. Returns the library's status; NC_NOERR (0) on success.
    int read(std::span<const std::size_t> start, std::span<const std::size_t> count, std::span<double> values) const;

    // True when the stored value marks missing data. Takes the value as read, unpacked.
    bool isMissing(double value) const;

private:
    int ncid_ = -1;
    int varid_ = -1;
    std::string name_;
    std::vector<int> dimensions_;
    double scale_ = 1;
    double offset_ = 0;
    bool packed_ = false;
    bool storedAsFloat_ = false;
    mutable std::vector<float> floats_;  // float values as stored, widened here rather than by the library
    std::vector<double> missing_;  // unpacked, as read values compare with them
};

}  // namespace ww3b
