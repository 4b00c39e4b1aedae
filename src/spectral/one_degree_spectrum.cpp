#include "spectral/one_degree_spectrum.hpp"
