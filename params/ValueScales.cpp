#include "params/ValueScales.h"
// Tables and conversions: to be filled in.
