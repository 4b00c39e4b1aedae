#pragma once
// The writers of the five output files, on the layouts of their files.

#include "output/record_writer.hpp"

namespace ww3b {

// Full-plane parameter file: one line per record, no header.
class FullPlaneParameterWriter final : public RecordWriter {
public:
    using RecordWriter::RecordWriter;

private:
    void writeRecord(const SelectedRecord& selected) override;
};

// 2-D spectral file (mode 1): the counts and frequencies, then the input spectrum.
class FullSpectralWriter final : public RecordWriter {
public:
    using RecordWriter::RecordWriter;

private:
    void writeHeader(const SelectedRecord& selected) override;
    void writeRecord(const SelectedRecord& selected) override;
};

// Half-plane parameter file (mode 2): one line per record, no header.
class HalfPlaneParameterWriter final : public HalfPlaneWriter {
public:
    using HalfPlaneWriter::HalfPlaneWriter;

private:
    void writeRecord(const SelectedRecord& selected) override;
};

// Brevolan spectrum file (mode 2): the counts and frequencies, then the 35 bins.
class BrevolanSpectrumWriter final : public HalfPlaneWriter {
public:
    using HalfPlaneWriter::HalfPlaneWriter;

private:
    void writeHeader(const SelectedRecord& selected) override;
    void writeRecord(const SelectedRecord& selected) override;
};

// Brevolan parameter file (mode 2): the table's title lines, then one line per record.
class BrevolanParameterWriter final : public HalfPlaneWriter {
public:
    using HalfPlaneWriter::HalfPlaneWriter;

private:
    void writeHeader(const SelectedRecord& selected) override;
    void writeRecord(const SelectedRecord& selected) override;
};

}  // namespace ww3b
