#pragma once
#include "low/base.h"
int Rule();
