#include "game/UpgradeItem.h"

#include <array>
#include <iterator>

#include "core/TextTable.h"

namespace {

struct Group {
    const char* const* names;
    int count;
    const char* keySuffix;
    const char* labelSuffix;
};

constexpr const char* kWindows[] = {"MiniMap",   "ControlTray", "ObjectTray", "VornTray",  "KillTray",
                                    "SquadTray", "PaintTray",   "Scoreboard", "ChatWindow"};
constexpr const char* kControls[] = {"Play",
                                     "Pause",
                                     "TeamEnemy",
                                     "TeamFriend",
                                     "SetSignal1",
                                     "ClearSignal1",
                                     "SetSignal2",
                                     "ClearSignal2",
                                     "RestoreToLastPlayPoint",
                                     "ClearBattlefield",
                                     "LoadScenario",
                                     "SaveScenario",
                                     "Exit"};
constexpr const char* kPaints[] = {"LargeBrush", "MediumBrush", "SmallBrush", "TinyBrush", "Circle",    "Square",
                                   "Rounded",    "Plateau",     "Grass",      "Dirt",      "Stone",     "Swamp",
                                   "Water",      "Sand",        "Snow",       "Lava",      "RaiseFast", "LowerFast",
                                   "RaiseSlow",  "LowerSlow",   "Grow",       "Shrink",    "Randomize", "Clear"};
constexpr const char* kConditionals[] = {"Switch1",    "Switch2",      "Signal1",      "Signal2",
                                         "Injured",    "OutOfAmmo1",   "OutOfAmmo2",   "Reloading1",
                                         "Reloading2", "TimerRunning", "TimerExpired", "HasBall"};
constexpr const char* kMapTests[] = {"DirtGrassStone", "SandSnowSwamp", "Lava", "Water", "Higher", "Lower"};
constexpr const char* kProperties[] = {"Injured",      "NotInjured", "SmallChassis", "MediumChassis",
                                       "LargeChassis", "VIP",        "NotVIP",       "HasBall"};
constexpr const char* kActions[] = {"TurnToFace", "SetSwitch1",   "ClearSwitch1", "SetSwitch2",   "ClearSwitch2",
                                    "SetSignal1", "ClearSignal1", "SetSignal2",   "ClearSignal2", "Fire1",
                                    "Fire2",      "Fire1Up",      "Fire2Up",      "ClearBeacon",  "SetTimer"};
constexpr const char* kWeapons[] = {"Laser",
                                    "ShrapnelGun",
                                    "Explosive",
                                    "Flamethrower",
                                    "Propeller",
                                    "BeaconSetter",
                                    "MissileLauncher",
                                    "StaticFieldGenerator",
                                    "GooFieldGenerator",
                                    "HealthFieldGenerator",
                                    "VornLauncher",
                                    "Kicker"};
constexpr int32_t kWeaponLevels[] = {6, 6, 6, 6, 6, 1, 6, 6, 6, 6, 1, 1};
constexpr const char* kFeatureKeys[] = {"PatternFields", "PatternPriorities", "PatternTerrain"};
constexpr const char* kFeatureLabels[] = {"Pattern Fields", "Pattern Priorities", "Pattern Terrain"};
constexpr const char* kObjectKeys[] = {"TreeObject",       "SolarChargerObject", "RockObject",
                                       "BeaconObject",     "FriendObject",       "EnemyObject",
                                       "SoccerBallObject", "FriendGoalObject",   "EnemyGoalObject"};
constexpr const char* kObjectLabels[] = {"Tree Object",        "Solar Charger Object", "Rock Object",
                                         "Beacon Object",      "Friend Object",        "Enemy Object",
                                         "Soccer Ball Object", "Friend Goal Object",   "Enemy Goal Object"};
constexpr const char* kSizes[] = {"Small", "Medium", "Large"};
constexpr const char* kChassisParts[] = {"", "Speed", "PatternCount", "Armor"};
constexpr int32_t kChassisLevels[3][4] = {{1, 6, 5, 6}, {1, 6, 5, 6}, {1, 6, 6, 6}};

// Where each row's label comes from once the language is known.
enum class LabelSource { kLanguageText, kLiteral };

struct Catalog {
    std::array<UpgradeItem, kUpgradeItemTotal> rows;
    std::array<String, kUpgradeItemTotal> labelKeys;
    std::array<LabelSource, kUpgradeItemTotal> labelSources{};
    int next = 0;

    void Add(const String& key, const String& labelKey, LabelSource source, int32_t levels) {
        rows[next].key = key;
        rows[next].levels = levels;
        labelKeys[next] = labelKey;
        labelSources[next] = source;
        ++next;
    }
    template <int N>
    void AddGroup(const char* const (&names)[N], const char* keySuffix, const char* labelSuffix) {
        for (const char* name : names)
            Add(String(name) + keySuffix, String(name) + labelSuffix, LabelSource::kLanguageText, 1);
    }
};

Catalog MakeCatalog() {
    Catalog catalog;
    catalog.AddGroup(kWindows, "Window", " Window");
    catalog.AddGroup(kControls, "Control", " Control");
    catalog.AddGroup(kPaints, "Paint", " Paint");
    for (int i = 0; i < 3; ++i) catalog.Add(kFeatureKeys[i], kFeatureLabels[i], LabelSource::kLiteral, 1);
    catalog.AddGroup(kConditionals, "Conditional", " What-if");
    catalog.AddGroup(kMapTests, "MapConditional", " Map Test");
    catalog.AddGroup(kProperties, "Property", " Property");
    for (int i = 0; i < 9; ++i) catalog.Add(kObjectKeys[i], kObjectLabels[i], LabelSource::kLiteral, 1);
    catalog.AddGroup(kActions, "Action", " Action");
    for (int i = 0; i < 12; ++i) {
        const String key = String(kWeapons[i]) + "Weapon";
        catalog.Add(key, key, LabelSource::kLanguageText, kWeaponLevels[i]);
    }
    for (int size = 0; size < 3; ++size) {
        for (int part = 0; part < 4; ++part) {
            const String key = String(kSizes[size]) + "Vorn" + kChassisParts[part];
            const bool chassis = part == 0;
            catalog.Add(key, chassis ? String(kSizes[size]) + " Vorn" : key,
                        chassis ? LabelSource::kLiteral : LabelSource::kLanguageText, kChassisLevels[size][part]);
        }
    }
    return catalog;
}

Catalog& TheCatalog() {
    static Catalog catalog = MakeCatalog();
    return catalog;
}

constexpr int32_t kTables[8][6] = {
    {0, 10, 20, 30, 40, 50},  {0, 4, 8, 12, 16, 20}, {0, 2, 4, 6, 8, 10}, {0, 1, 2, 3, 4, 5},
    {0, 20, 40, 60, 80, 100}, {0, 1, 2, 3, 4, 0},    {0, 1, 2, 4, 6, 0},  {0, 1, 2, 4, 6, 8},
};
constexpr int32_t kTableLengths[8] = {6, 6, 6, 6, 6, 5, 5, 6};

String Text(const char* key) { return GetLanguageText(key); }
String Number(int32_t value) { return String::FromInt(value); }

String Plus(char table, int32_t level, const char* unitKey, bool percent) {
    return "+" + Number(UpgradeTableValue(table, level)) + (percent ? "% " : " ") + Text(unitKey);
}

String AmmoAndDamage(char ammoTable, int32_t level) {
    return Plus(ammoTable, level, "Ammo", false) + Text("Separator") + " " + Plus('A', level, "Damage", true);
}

String FieldDescription(int32_t level) {
    const int32_t seconds = UpgradeTableValue('D', level);
    return Plus('D', level, "Ammo", false) + Text("Separator") + " +" + Number(seconds) + " " +
           Text(seconds < 2 ? "SecondDuration" : "SecondsDuration");
}

String PatternDescription(char table, int32_t level) {
    const int32_t patterns = UpgradeTableValue(table, level);
    return "+" + Number(patterns) + " " + Text(patterns < 2 ? "Pattern" : "Patterns");
}

}  // namespace

const UpgradeItem& GetUpgradeItem(int32_t item) {
    static const UpgradeItem kNone;
    if (item < 0 || item >= kUpgradeItemTotal) return kNone;
    return TheCatalog().rows[item];
}

void BuildUpgradeCatalog() {
    Catalog& catalog = TheCatalog();
    for (int i = 0; i < kUpgradeItemTotal; ++i) {
        const bool lookUp = catalog.labelSources[i] == LabelSource::kLanguageText;
        catalog.rows[i].label = lookUp ? GetLanguageText(catalog.labelKeys[i]) : catalog.labelKeys[i];
    }
}

int32_t FindUpgradeItem(const String& key) {
    const Catalog& catalog = TheCatalog();
    for (int i = 0; i < kUpgradeItemTotal; ++i) {
        if (String::EqualsNoCaseString(catalog.rows[i].key, key)) return i;
    }
    return -1;
}

int32_t UpgradeMaxLevel(int32_t item) {
    if (item < 0 || item >= kUpgradeItemTotal) return 0;
    return TheCatalog().rows[item].levels - 1;
}

int32_t UpgradePrice(int32_t, int32_t level) { return level; }

int32_t UpgradeTableValue(char table, int32_t level) {
    const int index = table - 'A';
    if (index < 0 || index >= 8 || level < 0) return 0;
    if (level >= kTableLengths[index]) return level;
    return kTables[index][level];
}

String GetUpgradeDescription(int32_t item, int32_t level) {
    if (level < 0) return Text("NotAvailable");
    if (level == 0) return Text("Basic");
    switch (item) {
        case 99:
        case 101:
        case 102: return Plus('A', level, "Damage", true);
        case 100: return AmmoAndDamage('B', level);
        case 103:
        case 109: return Plus('D', level, "Ammo", false);
        case 105: return AmmoAndDamage('C', level);
        case 106:
        case 107:
        case 108: return FieldDescription(level);
        case 112: return Plus('A', level, "Faster", true);
        case 116:
        case 120: return Plus('E', level, "Faster", true);
        case 113: return PatternDescription('F', level);
        case 117: return PatternDescription('G', level);
        case 121: return PatternDescription('H', level);
        case 114:
        case 118: return Plus('E', level, "Armor", true);
        case 122: return Plus('A', level, "Armor", true);
        default: return String();
    }
}
