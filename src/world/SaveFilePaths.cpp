// Paths of the unit, squad and scenario files the player saves.
#include "world/SaveFilePaths.h"

namespace {

const char* const kNothingSaved = "#None";
const char* const kNetworkFolder = "NetworkVorns\\";

// "a_b_c_d_port_", the first address byte lowest in the number.
String PeerPrefix(uint32_t address, uint16_t port) {
    String prefix;
    for (int shift = 0; shift < 32; shift += 8) prefix += String::FromInt(int((address >> shift) & 0xFFu)) + "_";
    return prefix + String::FromInt(port) + "_";
}

struct DataFolders {
    String vorns = "Vorns\\";
    String squads = "Squads\\";
    String scenarios = "Scenarios\\";
    String vornPrefix;
    String squadPrefix;
    // What the network switch keeps; "#None" when nothing is kept.
    String savedVorns = kNothingSaved;
    String savedVornPrefix = kNothingSaved;
    String savedSquads = kNothingSaved;
    String savedSquadPrefix = kNothingSaved;
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

void UseNetworkFolders(uint32_t address, uint16_t port) {
    DataFolders& folders = Folders();
    // A second switch keeps the player's folders, not the network ones of the first.
    if (folders.savedVorns == kNothingSaved) {
        folders.savedVorns = folders.vorns;
        folders.savedVornPrefix = folders.vornPrefix;
        folders.savedSquads = folders.squads;
        folders.savedSquadPrefix = folders.squadPrefix;
    }
    folders.vorns = folders.squads = kNetworkFolder;
    folders.vornPrefix = folders.squadPrefix = PeerPrefix(address, port);
}

void RestoreNetworkFolders() {
    DataFolders& folders = Folders();
    if (folders.savedVorns == kNothingSaved) return;
    folders.squads = folders.savedSquads;
    folders.squadPrefix = folders.savedSquadPrefix;
    folders.vorns = folders.savedVorns;
    folders.vornPrefix = folders.savedVornPrefix;
    folders.savedVorns = folders.savedVornPrefix = folders.savedSquads = folders.savedSquadPrefix = kNothingSaved;
}

void GetSavedFolders(String& vornFolder, String& vornPrefix, String& squadFolder, String& squadPrefix) {
    const DataFolders& folders = Folders();
    vornFolder = folders.savedVorns;
    vornPrefix = folders.savedVornPrefix;
    squadFolder = folders.savedSquads;
    squadPrefix = folders.savedSquadPrefix;
}
