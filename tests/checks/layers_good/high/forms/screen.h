#pragma once
#include "high/rule.h"
int Screen();
