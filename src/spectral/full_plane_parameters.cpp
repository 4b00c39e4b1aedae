#include "spectral/full_plane_parameters.hpp"
