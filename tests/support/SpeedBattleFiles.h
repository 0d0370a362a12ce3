#pragma once
// Unit files for whole battles without a window: fighters that attack an enemy with both
// weapons and otherwise wander, and gunners that fire straight ahead over and over.
#include <string>

namespace battle_files {

inline std::string Pattern(const std::string& objects, int objectCount, const std::string& path, int pointCount,
                           int priority) {
    return "\tObjects " + std::to_string(objectCount) + "\n" + objects + "\tMapConditionals 0\n\tPathPoints " +
           std::to_string(pointCount) + "\n\t\t< 0, 0 > < 0, 0 > Actions 0\n" + path +
           "\tConditionals End \n\tPriority " + std::to_string(priority) + "\n";
}

// Attack an enemy with both weapons, else wander.
inline std::string BattlePatterns() {
    return "Patterns 2\n" +
           Pattern("\t\tEnemy < 10, 0 > < 8, 0 > End \n", 1,
                   "\t\t< 3, 0 > < 3, 0 > Actions 2\n\t\t\tFire1 < 10, 0 >\n\t\t\tFire2 < 10, 0 >\n", 2, 2) +
           "\n" + Pattern("", 0, "\t\t< 10, 0 > < 10, 0 > Actions 0\n", 2, 0);
}

// Fire straight ahead, over and over.
inline std::string FiringPatterns() {
    return "Patterns 1\n" + Pattern("", 0, "\t\t< 0.5, 0 > < 0.5, 0 > Actions 1\n\t\t\tFire1 < 12, 0 >\n", 2, 1);
}

// Without a chassis (null) the unit names none.
inline std::string UnitFile(const char* name, const char* chassis, const char* weapon1, const char* weapon2,
                            const std::string& patterns) {
    return std::string("Type Vorn\nName ") + name + (chassis != nullptr ? std::string("\nChassisType ") + chassis : "") +
           "\nCost 50\nEdited 0\nCostEdited 0\nWeapons 2\n\tType " + weapon1 + "\n\t\tLocation 0\n\tEnd\n\tType " +
           weapon2 + "\n\t\tLocation 1\n\tEnd\n" + patterns + "End\n";
}

}  // namespace battle_files
