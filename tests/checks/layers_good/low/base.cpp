#include "low/base.h"
int Base() { return 1; }
