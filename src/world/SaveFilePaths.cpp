// Paths of the unit, squad and scenario files the player saves.
#include "world/SaveFilePaths.h"

namespace {

struct DataFolders {
    String vorns = "Vorns\\";
    String squads = "Squads\\";
    String scenarios = "Scenarios\\";
    String vornPrefix;
    String squadPrefix;
};

DataFolders& Folders() {
    static DataFolders folders;
    return folders;
}

}  // namespace

String ScenarioFilePath(const String& name) { return Folders().scenarios + name + ".SCN"; }

String SquadFilePath(const String& name) { return Folders().squads + Folders().squadPrefix + name + ".SQD"; }

String VornFilePath(const String& name) { return Folders().vorns + Folders().vornPrefix + name + ".VRN"; }

void SetDataFolders(const String& vornFolder, const String& squadFolder, const String& scenarioFolder) {
    Folders().vorns = vornFolder;
    Folders().squads = squadFolder;
    Folders().scenarios = scenarioFolder;
}

void SetFilePrefixes(const String& vornPrefix, const String& squadPrefix) {
    Folders().vornPrefix = vornPrefix;
    Folders().squadPrefix = squadPrefix;
}
