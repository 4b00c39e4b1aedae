#include "spectral/wave_parameters.hpp"
