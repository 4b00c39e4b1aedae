#include "support/ww3_text.hpp"

#include <cmath>
#include <cstdio>

namespace ww3b::testing {

namespace {

// Fortran Ew.3: 0.ddd and a two-digit exponent, right-aligned.
std::string exponentForm(float value, int width) {
    char text[32];
    if (value == 0.0f) {
        std::snprintf(text, sizeof text, "%*s", width, "0.000E+00");
        return text;
    }
    char scientific[32];
    std::snprintf(scientific, sizeof scientific, "%.2E", static_cast<double>(value));
    // d.ddE+xx -> 0.dddE(xx+1)
    const bool negative = scientific[0] == '-';
    const char* digits = scientific + (negative ? 1 : 0);
    const int exponent = std::atoi(digits + 5) + 1;
    char body[24];
    std::snprintf(body, sizeof body, "%s0.%c%c%cE%c%02d", negative ? "-" : "", digits[0], digits[2], digits[3],
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    std::snprintf(text, sizeof text, "%*s", width, body);
    return text;
}

void appendList(std::string& text, const std::vector<float>& values, int width, int perLine) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        text += exponentForm(values[k], width);
        if ((k + 1) % static_cast<std::size_t>(perLine) == 0 || k + 1 == values.size()) text += "\n";
    }
}

}  // namespace

Ww3Text Ww3Text::withGrid(int nf, int nd, double theta0) {
    Ww3Text file;
    file.frequencyCount = nf;
    file.directionCount = nd;
    char header[128];
    std::snprintf(header, sizeof header, "'WAVEWATCH III SPECTRA'%6d%6d%6d 'spectral resolution for points'\n", nf,
                  nd, 1);
    file.text = header;
    for (int i = 0; i < nf; ++i) file.frequencies.push_back(0.05f * static_cast<float>(i + 1));
    appendList(file.text, file.frequencies, 10, 8);
    std::vector<float> directions;
    constexpr double kTurn = 6.283185307179586;
    for (int j = 0; j < nd; ++j) {
        const double bearing = std::fmod(1.25 * kTurn - theta0 - kTurn * j / nd + 2 * kTurn, kTurn);
        directions.push_back(static_cast<float>(bearing));
    }
    appendList(file.text, directions, 11, 7);
    return file;
}

Ww3Text& Ww3Text::step(int date, int time, float depth, float windSpeed, float windDirection,
                       const std::function<float(int, int)>& density) {
    char timeLine[32];
    std::snprintf(timeLine, sizeof timeLine, "%08d %06d\n", date, time);
    text += timeLine;
    text += pointLine(depth, windSpeed, windDirection) + "\n";
    std::vector<float> values;
    for (int j = 0; j < directionCount; ++j) {
        for (int i = 0; i < frequencyCount; ++i) values.push_back(density ? density(i, j) : 0.01f * static_cast<float>(i + j + 1));
    }
    appendList(text, values, 11, 7);
    return *this;
}

std::string pointLine(float depth, float windSpeed, float windDirection) {
    char line[96];
    std::snprintf(line, sizeof line, "'44097     '%7.2f%7.2f%10.1f%7.2f%6.1f%7.2f%6.1f", 40.98, -71.12,
                  static_cast<double>(depth), static_cast<double>(windSpeed), static_cast<double>(windDirection), 0.18,
                  94.1);
    return line;
}

}  // namespace ww3b::testing
