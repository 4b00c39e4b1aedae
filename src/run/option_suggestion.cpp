#include "run/option_suggestion.hpp"

#include <algorithm>
#include <vector>

namespace ww3b {

namespace {

// Edits from one text to the other, a swap of neighbours counting as one.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string nearestOption(std::string_view given, std::span<const std::string_view> known) {
    // "--orientaton=90": the value is no part of the name.
    given = given.substr(0, given.find('='));
    if (given.size() > 64) return {};
    std::string_view best;
    std::size_t bestDistance = 0;
    for (std::string_view option : known) {
        const std::size_t distance = editDistance(given, option);
        if (best.empty() || distance < bestDistance) {
            best = option;
            bestDistance = distance;
        }
    }
    // Past a third of the name's letters it is more likely another word than a slip.
    const std::size_t letters = best.size() > 2 ? best.size() - 2 : best.size();
    if (best.empty() || bestDistance == 0 || bestDistance > std::max<std::size_t>(1, letters / 3)) return {};
    return std::string(best);
}

}  // namespace ww3b
