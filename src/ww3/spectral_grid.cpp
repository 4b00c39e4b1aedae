#include "ww3/spectral_grid.hpp"
