#pragma once
// A test suite that loads the chassis table (with its stand-in textures) and the weapon
// definitions once for all its tests, and frees them after.
#include <string>

#include <gtest/gtest.h>

#include "core/StringStream.h"
#include "support/TestAssets.h"
#include "units/ChassisTable.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"

namespace units_test {

class UnitTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        LoadChassisTableWithTextures();
        LoadWeaponDefinitions();
    }
    static void TearDownTestSuite() { FreeChassisDefinitions(); }

    // A small robot's text as a client sends it: as its own file when `whole`, else as a
    // squad's member.
    static std::string UnitWireText(Arena& arena, const char* name, bool whole) {
        Vorn* unit = arena.NewVorn(0);
        unit->BuildBody(0);
        unit->name = name;
        Vorn::writingOwnFile = whole;
        StringStream stream;
        unit->Save(stream);
        Vorn::writingOwnFile = false;
        arena.FreeObject(unit);
        return stream.Text();
    }
};

}  // namespace units_test
