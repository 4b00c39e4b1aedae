#pragma once
// One interface for every output file: it is given each selected record and writes the
// file's header together with the first one.

#include <memory>

#include "model/record_time.hpp"
#include "model/spectral_grid.hpp"
#include "spectral/half_plane_spectrum.hpp"
#include "spectral/wave_parameters.hpp"
#include "textio/output_file.hpp"

namespace ww3b {

// The half plane of a selected record after the direction factor, with the run-long
// values of mode 2 that its files show.
struct HalfPlaneRecord {
    const HalfPlaneSpectrum& spectrum;
    const HalfPlaneParameters& parameters;
    float shoreAngle;     // degrees
    float boundaryDepth;  // metres
};

// Everything a writer may show of one selected record.
struct SelectedRecord {
    const SpectralGrid& grid;
    const RecordTime& time;
    const InputRecord& record;
    const FullPlaneParameters& fullPlane;
    const HalfPlaneRecord* halfPlane = nullptr;  // set before any writer that needs it
};

class RecordWriter {
public:
    explicit RecordWriter(OutputFile& file) : file_(file) {}
    virtual ~RecordWriter() = default;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // The header first when this is the first record given, then the record's lines.
    void write(const SelectedRecord& selected) {
        if (!headerWritten_) {
            writeHeader(selected);
            headerWritten_ = true;
        }
        writeRecord(selected);
    }
    // Whether write() reads SelectedRecord::halfPlane.
    virtual bool needsHalfPlane() const { return false; }

protected:
    virtual void writeHeader(const SelectedRecord&) {}
    virtual void writeRecord(const SelectedRecord& selected) = 0;
    OutputFile& file() { return file_; }

private:
    OutputFile& file_;
    bool headerWritten_ = false;
};

// A writer of a mode-2 file, which shows the record's half plane.
class HalfPlaneWriter : public RecordWriter {
public:
    using RecordWriter::RecordWriter;
    bool needsHalfPlane() const final { return true; }
};

// A writer of type W on the file, for tables of files.
template <class W>
std::unique_ptr<RecordWriter> makeWriter(OutputFile& file) {
    return std::make_unique<W>(file);
}

}  // namespace ww3b
