#include "spectral/half_plane_spectrum.hpp"
