#include "harness.hpp"
