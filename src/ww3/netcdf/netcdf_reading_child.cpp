#include "ww3/netcdf/netcdf_reading_child.hpp"

#include <unistd.h>

#include <memory>

#include "process/child_process.hpp"
#include "process/pipe_io.hpp"
#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_child_messages.hpp"
#include "ww3/netcdf/netcdf_point_file.hpp"

namespace ww3b {

namespace {

// Messages gathered and written in pieces: every step read goes to the run before the
// library is called again, so that a stall there leaves the run all the steps before it.
// The deadline does not run while the child waits for the run to take them.
class Reports {
public:
    Reports(int fd, unsigned deadlineSeconds) : fd_(fd), deadline_(deadlineSeconds) {}

    void send(ChildMessage kind, const MessageBody& body = {}) {
        const std::vector<char> message = body.framed(kind);
        pending_.insert(pending_.end(), message.begin(), message.end());
        if (pending_.size() >= kLargestPiece) flush();
    }

    void flush() {
        armChildDeadline(0);
        // The run has gone: nothing is left to do.
        if (!writeWhole(fd_, pending_.data(), pending_.size())) ::_exit(1);
        pending_.clear();
        armChildDeadline(deadline_);
    }

private:
    static constexpr std::size_t kLargestPiece = std::size_t{1} << 18;
    int fd_;
    unsigned deadline_;
    std::vector<char> pending_;
};

MessageBody textBody(const std::string& text) {
    MessageBody body;
    body.putText(text);
    return body;
}

MessageBody openedBody(const NetcdfPointFile& file) {
    MessageBody body;
    body.put(file.grid());
    body.put(static_cast<std::uint64_t>(file.timeCount()));
    body.put(static_cast<std::uint32_t>(file.stationNames().size()));
    for (const std::string& name : file.stationNames()) body.putText(name);
    body.put(static_cast<std::uint32_t>(file.warnings().size()));
    for (const std::string& warning : file.warnings()) body.putText(warning);
    return body;
}

MessageBody inventoryBody(const NetcdfInventory& inventory) {
    MessageBody body;
    body.put(static_cast<std::uint8_t>(inventory.cartesian));
    body.put(static_cast<std::uint64_t>(inventory.timeCount));
    body.put(inventory.first);
    body.put(inventory.last);
    body.put(static_cast<std::uint32_t>(inventory.stations.size()));
    for (const NetcdfStationInfo& station : inventory.stations) {
        body.putText(station.name);
        body.put(station.latitude);
        body.put(station.longitude);
        body.put(station.depth);
    }
    return body;
}

void streamStation(NetcdfPointFile& file, std::size_t station, Reports& reports) {
    const auto record = std::make_unique<InputRecord>();
    const auto nf = static_cast<std::size_t>(file.grid().frequencyCount);
    const auto nd = static_cast<std::size_t>(file.grid().directionCount);
    for (;;) {
        if (!file.nextStepIsRead(station)) reports.flush();
        try {
            if (!file.nextStep(*record)) break;
        } catch (const RunFailure& failure) {
            reports.send(ChildMessage::Refused, textBody(failure.condition()));
            return;
        }
        MessageBody time;
        time.put(record->date);
        time.put(record->time);
        reports.send(ChildMessage::Time, time);
        try {
            file.readStation(station, *record);
        } catch (const RunFailure& failure) {
            // Only the run knows whether it wants this step; the steps after it may read.
            reports.send(ChildMessage::StepRefused, textBody(failure.condition()));
            continue;
        }
        MessageBody values;
        values.put(record->depth);
        values.put(record->windSpeed);
        values.put(record->windDirection);
        for (std::size_t i = 0; i < nf; ++i) values.putAll(record->spectrum[i].data(), nd);
        reports.send(ChildMessage::Values, values);
    }
    reports.send(ChildMessage::End);
}

}  // namespace

int readNetcdfInChild(const std::string& path, int unit, int commands, int reports, unsigned deadlineSeconds) {
    Reports out(reports, deadlineSeconds);
    std::unique_ptr<NetcdfPointFile> file;
    try {
        file = std::make_unique<NetcdfPointFile>(path, unit);
    } catch (const RunFailure& failure) {
        out.send(ChildMessage::Refused, textBody(failure.condition()));
        out.flush();
        return 0;
    }
    out.send(ChildMessage::Opened, openedBody(*file));
    for (;;) {
        out.flush();
        armChildDeadline(0);
        ChildCommand command{};
        if (!readWhole(commands, &command, sizeof command)) return 0;  // the run is done with the file
        armChildDeadline(deadlineSeconds);
        if (command == ChildCommand::Inventory) {
            try {
                out.send(ChildMessage::Inventory, inventoryBody(file->inventory()));
            } catch (const RunFailure& failure) {
                out.send(ChildMessage::Refused, textBody(failure.condition()));
            }
        } else if (command == ChildCommand::Stream) {
            std::uint64_t station = 0;
            if (!readWhole(commands, &station, sizeof station)) return 0;
            streamStation(*file, static_cast<std::size_t>(station), out);
            out.flush();
            return 0;
        } else {
            return 1;
        }
    }
}

}  // namespace ww3b
