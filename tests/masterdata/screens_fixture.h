#pragma once

// Screens of the master data through their real widgets (tests/support/screenfixture.h) with
// a registry holding the master-data screens, auxiliary units off, negative stock allowed and
// the picker searching on every key.

#include "../support/screenfixture.h"

class MasterScreenTest : public ScreenFixture
{
protected:
    void SetUp() override;
};
