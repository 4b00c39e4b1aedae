#pragma once
// The text file of WW3 point spectra as a source of spectra.

#include <memory>

#include "textio/input_file.hpp"
#include "ww3/spectra_source.hpp"

namespace ww3b {

class AsciiSpectraSource final : public SpectraSource {
public:
    AsciiSpectraSource(std::unique_ptr<InputFile> in, PointChoice point);

    bool readHeader(SpectralGrid& grid) override;
    StepStart startStep(InputRecord& record) override;
    void readPoint(InputRecord& record) override;
    void skipStep(InputRecord& record) override;
    void close() override;

    int unit() const override { return in_->unit(); }
    const std::string& name() const override { return in_->name(); }
    long directionListLine() const override;

private:
    std::unique_ptr<InputFile> in_;
    PointChoice point_;
    SpectralGrid grid_;
};

}  // namespace ww3b
