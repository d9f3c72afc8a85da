#pragma once

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"

// On a fresh machine the default account set and the register do not exist yet: build them,
// so that the program starts without copying files by hand. Existing ones are left alone.
void EnsureDefaultDatabases(const ConnectionSettings &settings, const Clock &clock = Clock::system());
