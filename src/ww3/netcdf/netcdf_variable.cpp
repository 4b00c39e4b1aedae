#include "ww3/netcdf/netcdf_variable.hpp"

#include "ww3/netcdf/netcdf_library.hpp"

#include <algorithm>
#include <cmath>

namespace ww3b {

namespace {

// The fill the library writes where no value was put, for variables without _FillValue.
std::vector<double> defaultFill(nc_type type) {
    switch (type) {
        case NC_BYTE: return {NC_FILL_BYTE};
        case NC_UBYTE: return {NC_FILL_UBYTE};
        case NC_SHORT: return {NC_FILL_SHORT};
        case NC_USHORT: return {NC_FILL_USHORT};
        case NC_INT: return {NC_FILL_INT};
        case NC_UINT: return {NC_FILL_UINT};
        case NC_FLOAT: return {NC_FILL_FLOAT};
        case NC_DOUBLE: return {NC_FILL_DOUBLE};
        default: return {};
    }
}

// The attribute's values as double, none when it is absent or not numeric.
std::vector<double> numericAttribute(int ncid, int varid, const char* name) {
    nc_type type = NC_NAT;
    std::size_t length = 0;
    if (nc_inq_att(ncid, varid, name, &type, &length) != NC_NOERR || type == NC_CHAR || type == NC_STRING ||
        length == 0 || length > 64) {
        return {};
    }
    std::vector<double> values(length);
    if (nc_get_att_double(ncid, varid, name, values.data()) != NC_NOERR) return {};
    return values;
}

}  // namespace

NetcdfVariable::NetcdfVariable(int ncid, const std::string& name) : ncid_(ncid), name_(name) {
    int varid = -1;
    if (nc_inq_varid(ncid, name.c_str(), &varid) != NC_NOERR) return;
    nc_type type = NC_NAT;
    int rank = 0;
    if (nc_inq_var(ncid, varid, nullptr, &type, &rank, nullptr, nullptr) != NC_NOERR || rank > NC_MAX_VAR_DIMS) return;
    dimensions_.resize(static_cast<std::size_t>(rank));
    if (nc_inq_vardimid(ncid, varid, dimensions_.data()) != NC_NOERR) return;
    if (type == NC_CHAR || type == NC_STRING || type > NC_STRING) return;  // not numbers
    varid_ = varid;
    storedAsFloat_ = type == NC_FLOAT;

    const std::vector<double> scale = numericAttribute(ncid, varid, "scale_factor");
    const std::vector<double> offset = numericAttribute(ncid, varid, "add_offset");
    if (!scale.empty()) scale_ = scale[0];
    if (!offset.empty()) offset_ = offset[0];
    packed_ = !scale.empty() || !offset.empty();

    // Fill and missing values are given as stored; compare with them after unpacking, the
    // same arithmetic giving the same double.
    std::vector<double> marks = numericAttribute(ncid, varid, "_FillValue");
    if (marks.empty()) marks = defaultFill(type);
    const std::vector<double> missing = numericAttribute(ncid, varid, "missing_value");
    marks.insert(marks.end(), missing.begin(), missing.end());
    for (double mark : marks) missing_.push_back(packed_ ? mark * scale_ + offset_ : mark);
}

int NetcdfVariable::read(std::span<const std::size_t> start, std::span<const std::size_t> count,
                         std::span<double> values) const {
    int status = NC_NOERR;
    if (storedAsFloat_) {
        // The library's own conversion to double costs more than the reading itself.
        floats_.resize(values.size());
        status = nc_get_vara_float(ncid_, varid_, start.data(), count.data(), floats_.data());
        std::copy(floats_.begin(), floats_.end(), values.begin());
    } else {
        status = nc_get_vara_double(ncid_, varid_, start.data(), count.data(), values.data());
    }
    if (status != NC_NOERR || !packed_) return status;
    for (double& value : values) value = value * scale_ + offset_;
    return NC_NOERR;
}

bool NetcdfVariable::isMissing(double value) const {
    return std::find(missing_.begin(), missing_.end(), value) != missing_.end();
}

}  // namespace ww3b
