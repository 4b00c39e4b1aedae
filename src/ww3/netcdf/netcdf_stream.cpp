#include "ww3/netcdf/netcdf_stream.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <optional>

#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_reading_child.hpp"

namespace ww3b {

namespace {

std::atomic<long long> stallLimitMilliseconds{kNetcdfStallLimit.count()};

// "30 seconds", "0.5 seconds".
std::string secondsText(std::chrono::milliseconds span) {
    std::string text = std::to_string(span.count() / 1000);
    if (span.count() % 1000 != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(span.count() % 1000));
        text += '.' + std::string(fraction);
        while (text.back() == '0') text.pop_back();
    }
    return text + " seconds";
}

// "netCDF-4 file" when the file starts as HDF5 does, else "netCDF file"; read only for a
// diagnostic.
std::string kindOfFile(const std::string& path) {
    // Without waiting: the name may stand for a pipe that nobody writes.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    unsigned char first = 0;
    const bool hdf = file.isOpen() && retryOnInterrupt([&] { return ::read(file.get(), &first, 1); }) == 1 &&
                     first == 0x89;
    return hdf ? "netCDF-4 file" : "netCDF file";
}

struct Shared {
    std::shared_ptr<NetcdfStream> stream;
    std::optional<RunFailure> refusal;
};

int scopes = 0;
std::map<std::string, Shared>& sharedStreams() {
    static std::map<std::string, Shared> streams;
    return streams;
}

}  // namespace

void setNetcdfStallLimit(std::chrono::milliseconds limit) { stallLimitMilliseconds = limit.count(); }

std::chrono::milliseconds netcdfStallLimit() { return std::chrono::milliseconds(stallLimitMilliseconds.load()); }

NetcdfStream::NetcdfStream(std::string path, int unit)
    : path_(std::move(path)), unit_(unit), limit_(netcdfStallLimit()) {
    const auto deadline = static_cast<unsigned>((limit_.count() + 999) / 1000 + 1);
    child_ = ChildProcess(
        [&](int commands, int reports) { return readNetcdfInChild(path_, unit_, commands, reports, deadline); },
        deadline);
    if (!child_.running()) fail("cannot start a process to read the netCDF file");
    reports_ = std::make_unique<PipeReader>(child_.reports());
    const ChildMessage kind = next(body_);
    if (kind != ChildMessage::Opened) fail("the reading process of the netCDF file answered out of order");
    MessageReading reading(body_);
    grid_ = reading.take<SpectralGrid>();
    timeCount_ = static_cast<std::size_t>(reading.take<std::uint64_t>());
    const auto stations = reading.take<std::uint32_t>();
    for (std::uint32_t s = 0; s < stations && reading.ok(); ++s) stationNames_.push_back(reading.takeText());
    const auto warnings = reading.take<std::uint32_t>();
    for (std::uint32_t w = 0; w < warnings && reading.ok(); ++w) warnings_.push_back(reading.takeText());
    if (!reading.ok()) fail("the reading process of the netCDF file answered out of order");
}

void NetcdfStream::fail(const std::string& condition) const { endRunWithDiagnostic(condition, unit_, path_); }

ChildMessage NetcdfStream::next(std::vector<char>& body) {
    if (!child_.running()) fail("the netCDF file is no longer open");
    MessageHead head;
    PipeRead read = reports_->take(&head.kind, sizeof head.kind, limit_);
    if (read == PipeRead::Done) read = reports_->take(&head.length, sizeof head.length, limit_);
    if (read == PipeRead::Done && head.length > kLongestMessage) read = PipeRead::Failed;
    if (read == PipeRead::Done) {
        body.resize(head.length);
        read = reports_->take(body.data(), body.size(), limit_);
    }
    if (read != PipeRead::Done) {
        child_.end();
        const std::string at = streaming_ ? " (reading time step " + std::to_string(stepsStarted_ + 1) + ")" : "";
        if (read == PipeRead::TimedOut) {
            fail("the " + kindOfFile(path_) + " is damaged: the netCDF library had not finished reading it after " +
                 secondsText(limit_) + at);
        }
        fail("the " + kindOfFile(path_) + " is damaged: the netCDF library fails on it" + at);
    }
    if (head.kind == ChildMessage::Refused) {
        MessageReading reading(body);
        const std::string condition = reading.takeText();
        child_.end();
        fail(condition);
    }
    return head.kind;
}

void NetcdfStream::command(const std::vector<char>& bytes) {
    if (!child_.running() || !writeWhole(child_.commands(), bytes.data(), bytes.size())) {
        fail("the netCDF file is no longer open");
    }
}

NetcdfInventory NetcdfStream::inventory() {
    if (streaming_) fail("the netCDF file is already being read");
    command({static_cast<char>(ChildCommand::Inventory)});
    if (next(body_) != ChildMessage::Inventory) fail("the reading process of the netCDF file answered out of order");
    MessageReading reading(body_);
    NetcdfInventory inventory;
    inventory.cartesian = reading.take<std::uint8_t>() != 0;
    inventory.timeCount = static_cast<std::size_t>(reading.take<std::uint64_t>());
    inventory.first = reading.take<NetcdfStamp>();
    inventory.last = reading.take<NetcdfStamp>();
    const auto stations = reading.take<std::uint32_t>();
    for (std::uint32_t s = 0; s < stations && reading.ok(); ++s) {
        NetcdfStationInfo station;
        station.name = reading.takeText();
        station.latitude = reading.take<double>();
        station.longitude = reading.take<double>();
        station.depth = reading.take<double>();
        inventory.stations.push_back(std::move(station));
    }
    if (!reading.ok()) fail("the reading process of the netCDF file answered out of order");
    return inventory;
}

void NetcdfStream::stream(std::size_t station) {
    if (streaming_) fail("the netCDF file is already being read");
    std::vector<char> bytes{static_cast<char>(ChildCommand::Stream)};
    const auto wanted = static_cast<std::uint64_t>(station);
    const auto* raw = reinterpret_cast<const char*>(&wanted);
    bytes.insert(bytes.end(), raw, raw + sizeof wanted);
    command(bytes);
    streaming_ = true;
}

bool NetcdfStream::nextStep(InputRecord& record) {
    if (!streaming_) fail("the netCDF file is not being read");
    if (ended_) return false;
    if (valuesPending_) {
        // A step passed over: its values (or why they cannot be read) are not wanted.
        valuesPending_ = false;
        const ChildMessage kind = next(body_);
        if (kind != ChildMessage::Values && kind != ChildMessage::StepRefused) {
            fail("the reading process of the netCDF file answered out of order");
        }
    }
    const ChildMessage kind = next(body_);
    if (kind == ChildMessage::End) {
        ended_ = true;
        child_.end();
        return false;
    }
    MessageReading reading(body_);
    const auto date = reading.take<std::int32_t>();
    const auto time = reading.take<std::int32_t>();
    if (kind != ChildMessage::Time || !reading.ok()) {
        fail("the reading process of the netCDF file answered out of order");
    }
    record.date = date;
    record.time = time;
    ++stepsStarted_;
    valuesPending_ = true;
    return true;
}

void NetcdfStream::readStation(InputRecord& record) {
    if (!valuesPending_) fail("no time step of the netCDF file is started");
    valuesPending_ = false;
    const ChildMessage kind = next(body_);
    MessageReading reading(body_);
    if (kind == ChildMessage::StepRefused) {
        const std::string condition = reading.takeText();
        fail(condition);
    }
    if (kind != ChildMessage::Values) fail("the reading process of the netCDF file answered out of order");
    record.depth = reading.take<float>();
    record.windSpeed = reading.take<float>();
    record.windDirection = reading.take<float>();
    const auto nf = static_cast<std::size_t>(grid_.frequencyCount);
    const auto nd = static_cast<std::size_t>(grid_.directionCount);
    for (std::size_t i = 0; i < nf; ++i) reading.takeAll(record.spectrum[i].data(), nd);
    if (!reading.ok()) fail("the reading process of the netCDF file answered out of order");
}

NetcdfRunScope::NetcdfRunScope() { ++scopes; }

NetcdfRunScope::~NetcdfRunScope() {
    if (--scopes == 0) sharedStreams().clear();
}

std::shared_ptr<NetcdfStream> openNetcdfStream(const std::string& path, int unit) {
    if (scopes == 0) return std::make_shared<NetcdfStream>(path, unit);
    auto& streams = sharedStreams();
    if (const auto found = streams.find(path); found != streams.end()) {
        if (found->second.refusal) throw *found->second.refusal;
        return found->second.stream;
    }
    try {
        auto stream = std::make_shared<NetcdfStream>(path, unit);
        streams[path].stream = stream;
        return stream;
    } catch (const RunFailure& failure) {
        streams[path].refusal = failure;
        throw;
    }
}

void forgetNetcdfStream(const std::string& path) { sharedStreams().erase(path); }

}  // namespace ww3b
