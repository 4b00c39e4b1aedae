// The computations of a record: full-plane parameters (every mode) and the mode-2 chain.

#include <benchmark/benchmark.h>

#include <memory>

#include "sample_spectra.hpp"
#include "spectral/full_plane_parameters.hpp"
#include "spectral/half_plane_spectrum.hpp"
#include "spectral/one_degree_spectrum.hpp"
#include "spectral/shore_window.hpp"

namespace ww3b::bench {
namespace {

constexpr int kRecords = 64;
constexpr float kShoreAngle = 90.0f;  // a typed shoreline orientation of 270
constexpr float kDepthExponent = 1.3545f;

const SampleSpectra& sample() {
    static const SampleSpectra spectra = makeSampleSpectra(kRecords);
    return spectra;
}

void FullPlaneParameters(benchmark::State& state) {
    const SampleSpectra& spectra = sample();
    for (auto _ : state) {
        for (const InputRecord& record : spectra.records) {
            benchmark::DoNotOptimize(computeFullPlaneParameters(spectra.grid, record));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(FullPlaneParameters);

struct ChainArrays {
    ShoreWindowWork work;
    HalfPlaneSpectrum halfPlane;
};

// Regridding and both smoothing passes, fold, direction factor and half-plane parameters,
// in records per second: as the run does it (only the slots the fold reads), and with
// both passes over the whole circle.
template <bool kWholeCircle>
void BrevolanChain(benchmark::State& state) {
    const SampleSpectra& spectra = sample();
    const auto arrays = std::make_unique<ChainArrays>();
    const int nf = spectra.grid.frequencyCount;
    for (auto _ : state) {
        for (const InputRecord& record : spectra.records) {
            if (kWholeCircle) {
                regridAndSmoothTwice(spectra.grid, record, arrays->work.oneDegree, arrays->work.scratch);
                foldToHalfPlane(arrays->work.oneDegree, nf, kShoreAngle, arrays->halfPlane);
            } else {
                regridSmoothAndFold(spectra.grid, record, kShoreAngle, arrays->work, arrays->halfPlane);
            }
            applyDepthFactor(arrays->halfPlane, nf, kDepthExponent);
            benchmark::DoNotOptimize(computeHalfPlaneParameters(arrays->halfPlane, spectra.grid, kShoreAngle));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BrevolanChain<false>)->Name("BrevolanChain");
BENCHMARK(BrevolanChain<true>)->Name("BrevolanChainWholeCircle");

}  // namespace
}  // namespace ww3b::bench
