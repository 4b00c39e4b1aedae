// Times reading every time step of a WW3 text point-spectra file and of its netCDF twin, as
// the converter reads them (the first point or station of each step), and checks that both
// give the same densities.
//
//   ww3-synth --frequencies 50 --directions 36 --steps 8760 --interval-hours 1
//             --output year.spec --netcdf year.nc
//   ww3b_netcdf_read_timing year.spec year.nc

#include <fcntl.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>

#include "textio/io_diagnostic.hpp"
#include "ww3/netcdf/netcdf_point_file.hpp"
#include "ww3/ascii/ww3_spectral_file.hpp"
#include "ww3/netcdf/netcdf_stream.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double sum(const ww3b::SpectralGrid& grid, const ww3b::InputRecord& record) {
    double total = 0;
    for (int i = 0; i < grid.frequencyCount; ++i) {
        for (int j = 0; j < grid.directionCount; ++j) total += static_cast<double>(record.spectrum[i][j]);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ww3b_netcdf_read_timing TEXT_FILE NETCDF_FILE\n");
        return 2;
    }
    try {
        // Wall and processor time: on a busy machine the second tells more.
        auto start = Clock::now();
        std::clock_t cpu = std::clock();
        const int fd = ::open(argv[1], O_RDONLY);
        ww3b::InputFile text(11, argv[1], fd, true);
        ww3b::SpectralGrid grid;
        ww3b::InputRecord record;
        double textTotal = 0;
        long textSteps = 0;
        if (!ww3b::readSpectralHeader(text, grid)) return 1;
        while (ww3b::readTimeLine(text, record).outcome == ww3b::ReadOutcome::Ok) {
            for (int p = 0; p < grid.pointCount; ++p) {
                ww3b::readPointLine(text, record);
                ww3b::readSpectrumBlock(text, grid, record);
                if (p == 0) textTotal += sum(grid, record);
            }
            ++textSteps;
        }
        const double textSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double textCpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;

        start = Clock::now();
        cpu = std::clock();
        double netcdfTotal = 0;
        long netcdfSteps = 0;
        {
            // Closed before the reading child starts: the library must not hold the file
            // open in the process it is forked from.
            ww3b::NetcdfPointFile netcdf(argv[2]);
            while (netcdf.nextStep(record)) {
                netcdf.readStation(0, record);
                netcdfTotal += sum(netcdf.grid(), record);
                ++netcdfSteps;
            }
        }
        const double netcdfSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double netcdfCpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        // As the run reads it: decoded in a child and streamed through a pipe.
        start = Clock::now();
        ww3b::NetcdfStream stream(argv[2], 11);
        stream.stream(0);
        double streamTotal = 0;
        long streamSteps = 0;
        while (stream.nextStep(record)) {
            stream.readStation(record);
            streamTotal += sum(stream.grid(), record);
            ++streamSteps;
        }
        const double streamSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        const bool same = textSteps == netcdfSteps && textTotal == netcdfTotal && streamSteps == netcdfSteps &&
                          streamTotal == netcdfTotal;
        std::printf("text:   %ld steps in %.3f s (processor %.3f s)\nnetCDF: %ld steps in %.3f s (processor %.3f s)\n"
                    "netCDF through the reading child: %ld steps in %.3f s\n%s\n",
                    textSteps, textSeconds, textCpu, netcdfSteps, netcdfSeconds, netcdfCpu, streamSteps, streamSeconds,
                    same ? "same densities" : "DIFFERENT densities");
        return same ? 0 : 1;
    } catch (const ww3b::RunFailure& failure) {
        std::fputs(ww3b::diagnosticMessage(failure).c_str(), stderr);
        return 2;
    }
}
