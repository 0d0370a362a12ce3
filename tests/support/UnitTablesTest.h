#pragma once
// A test suite that loads the chassis table (with its stand-in textures) and the weapon
// definitions once for all its tests, and frees them after.
#include <gtest/gtest.h>

#include "support/TestAssets.h"
#include "units/ChassisTable.h"
#include "units/WeaponTable.h"

namespace units_test {

class UnitTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }
};

}  // namespace units_test
