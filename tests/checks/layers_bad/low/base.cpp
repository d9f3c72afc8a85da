// A lower layer reaching up: the check must name this line.
#include "low/base.h"
#include "high/rule.h"
int Base() { return Rule(); }
