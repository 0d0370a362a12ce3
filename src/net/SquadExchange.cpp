#include "net/SquadExchange.h"

#include <algorithm>

#include "core/Debugger.h"
#include "core/StringStream.h"
#include "core/TextTable.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "game/Player.h"
#include "net/VornsNetworker.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/Paths.h"
#include "platform/sys/Random.h"
#include "ui/SquadNameEditBox.h"
#include "units/Vorn.h"
#include "units/WeaponTable.h"
#include "world/Arena.h"
#include "world/Goal.h"
#include "world/ObjectKind.h"
#include "world/SaveFilePaths.h"

namespace {

void Log(const std::string& text) { Debugger::Instance().Line("Network exchange: " + text); }

// A unit read from a peer's text (its own "Type" line first); none when the text is
// not a whole unit entry.
Vorn* ReadUnit(Stream& stream, uint8_t squadMember) {
    String word;
    String::ReadToken(stream, word);
    String kind;
    String::ReadToken(stream, kind);
    if (stream.HasError() || !word.EqualsNoCase("Type") || WorldObject::KindFromName(kind) != kKindVorn) return nullptr;
    Vorn* unit = gArena->NewVorn(squadMember);
    if (!unit->Load(stream) || stream.HasError() || !unit->HasValidChassis()) {
        gArena->GiveBack(unit);
        return nullptr;
    }
    return unit;
}

Vorn* ReadUnitText(const std::string& text, uint8_t squadMember) {
    StringStream stream(text.c_str());
    return ReadUnit(stream, squadMember);
}

std::string WholeText(Vorn& unit) {
    StringStream stream;
    Vorn::writingOwnFile = true;
    unit.Save(stream);
    Vorn::writingOwnFile = false;
    return std::string(stream.Text(), static_cast<size_t>(stream.TextLength()));
}

std::string MemberText(Vorn& unit) {
    StringStream stream;
    unit.Save(stream);
    return std::string(stream.Text(), static_cast<size_t>(stream.TextLength()));
}

// Reads an integer count and refuses one past the cap (the rest of the text is then
// not trusted).
int32_t ReadCount(Stream& stream, int32_t cap) {
    int32_t count = 0;
    stream >> count;
    if (stream.HasError() || count < 0) return -1;
    if (count <= cap) return count;
    Log("a count of " + std::to_string(count) + " is over the cap of " + std::to_string(cap));
    return -1;
}

bool IsWorldKind(int kind) {
    return kind == kKindTree || kind == kKindRock || kind == kKindSolarCharger || kind == kKindVorn ||
           kind == kKindGoal;
}

// A fresh data folder may lack it; the files of peers never go anywhere else.
void EnsureNetworkFolder() {
    if (!sys::IsDirectory("NetworkVorns")) sys::MakeDirectory("NetworkVorns");
}

std::string UnitName(const Vorn& unit) { return unit.name.CStr(); }

void WriteAddress(Stream& stream, const sock::Ipv4Address& address) {
    stream << static_cast<unsigned int>(address.ip) << " " << static_cast<unsigned int>(address.port);
}

sock::Ipv4Address ReadAddress(Stream& stream) {
    unsigned int ip = 0;
    unsigned int port = 0;
    stream >> ip >> port;
    return {ip, static_cast<uint16_t>(std::min(port, 65535u))};
}

const SessionPlayer* OwnerOf(const VornsNetworker& session, const Player* owner) {
    for (const auto& player : session.Players()) {
        if (player->record == owner) return player.get();
    }
    return nullptr;
}

}  // namespace

// --- collecting

void SquadExchange::CollectUnit(const String& name, std::set<std::string>& visited, std::vector<std::string>& names) {
    const std::string key = name.CStr();
    if (name == GetLanguageText("NoName") || name == GetLanguageText("NoAmmo") || !visited.insert(key).second) return;
    // Marked before the launchers are followed, so that a cycle of launchers ends.
    Vorn* unit = gArena->NewVorn(0);
    if (unit->LoadFile(name)) {
        for (const Weapon& weapon : unit->weapons) {
            if (weapon.kind == kWeaponVornLauncher && !weapon.ammoName.IsEmpty())
                CollectUnit(weapon.ammoName, visited, names);
        }
    }
    gArena->GiveBack(unit);
    names.push_back(key);
}

std::vector<std::string> SquadExchange::CollectFileNames(const Player& player, int32_t squadLimit) {
    std::vector<std::string> names;
    std::set<std::string> visited;
    const int32_t squads = std::clamp(squadLimit, 0, Player::kSquadCount);
    for (int32_t s = 0; s < squads; ++s) {
        for (Vorn* member : player.squads[s].members) {
            for (const Weapon& weapon : member->weapons) {
                if (weapon.kind == kWeaponVornLauncher && !weapon.ammoName.IsEmpty())
                    CollectUnit(weapon.ammoName, visited, names);
            }
            CollectUnit(member->name, visited, names);
        }
    }
    return names;
}

void SquadExchange::BuildPayload(const Player& player, int32_t squadLimit, SquadPayload& payload) {
    for (const std::string& name : CollectFileNames(player, squadLimit)) {
        Vorn* unit = gArena->NewVorn(0);
        if (unit->LoadFile(String(name.c_str()))) payload.unitFiles.push_back(WholeText(*unit));
        gArena->GiveBack(unit);
    }
    const int32_t squads = std::clamp(squadLimit, 0, Player::kSquadCount);
    for (int32_t s = 0; s < squads; ++s) {
        std::vector<std::string> members;
        for (Vorn* member : player.squads[s].members) members.push_back(MemberText(*member));
        if (!members.empty()) payload.squads.push_back(std::move(members));
    }
}

// --- the server's side

bool SquadExchange::Store(SessionPlayer& sender, const SquadPayload& payload) {
    if (gArena == nullptr || sender.record == nullptr) return false;
    EnsureNetworkFolder();
    UseNetworkFolders(sender.address.ip, sender.address.port);
    for (const std::string& text : payload.unitFiles) {
        Vorn* unit = ReadUnitText(text, 0);
        if (unit == nullptr) continue;
        const std::string name = UnitName(*unit);
        if (unit->name == GetLanguageText("NoName")) {
            gArena->GiveBack(unit);
            continue;
        }
        if (sys::IsSafeName(name) && unit->SaveFile(unit->name) &&
            std::find(sender.unitFiles.begin(), sender.unitFiles.end(), name) == sender.unitFiles.end()) {
            sender.unitFiles.push_back(name);
        } else if (!sys::IsSafeName(name)) {
            Log("a unit named \"" + name + "\" is not a safe file name and is skipped");
        }
        gArena->GiveBack(unit);
    }
    Player& owner = *sender.record;
    const size_t squads = std::min<size_t>(payload.squads.size(), Player::kSquadCount);
    for (size_t s = 0; s < Player::kSquadCount; ++s) owner.squads[s].DestroyMembers();
    for (size_t s = 0; s < squads; ++s) {
        for (const std::string& text : payload.squads[s]) {
            if (owner.squads[s].Count() >= Squad::kMaxMembers) break;
            Vorn* unit = ReadUnitText(text, 1);
            if (unit == nullptr) continue;
            // Kept clear of the members before it, as a squad file's reader keeps them.
            if (!owner.squads[s].Fit(*unit)) {
                Log("squad " + std::to_string(s + 1) + " of a peer: no place in its circle for " + UnitName(*unit) +
                    "; left out");
                gArena->GiveBack(unit);
                continue;
            }
            unit->SetPlayer(&owner);
            owner.squads[s].Add(unit);
        }
    }
    owner.squadsInUse = static_cast<int32_t>(squads);
    RestoreNetworkFolders();
    return true;
}

void SquadExchange::UseOwnSquads(SessionPlayer& local, int32_t squadLimit) {
    if (gArena == nullptr || local.record == nullptr) return;
    EnsureNetworkFolder();
    for (const std::string& name : CollectFileNames(*local.record, squadLimit)) {
        Vorn* unit = gArena->NewVorn(0);
        const bool loaded = unit->LoadFile(String(name.c_str()));
        if (loaded) {
            UseNetworkFolders(local.address.ip, local.address.port);
            if (unit->SaveFile(unit->name)) local.unitFiles.push_back(name);
            RestoreNetworkFolders();
        }
        gArena->GiveBack(unit);
    }
}

void SquadExchange::PlaceSquads(VornsNetworker& session, SessionPlayer& player) {
    Player& owner = *player.record;
    UseNetworkFolders(player.address.ip, player.address.port);
    std::vector<std::string> leftOut;
    for (Squad& squad : owner.squads) {
        if (squad.Count() == 0) continue;
        const Vector2 launch = gArena->TakeRandomLaunchPoint();
        StringArray noRoom;
        const int placed =
            gArena->PlaceSquadUnits(squad, gArena->GroundPoint(launch.x, launch.y), &owner, true, &noRoom);
        for (const String& name : noRoom) leftOut.emplace_back(name.CStr());
        if (placed == 0)
            gArena->FreeLaunchPointAt(launch);
        else
            player.launchPoint = launch;
    }
    RestoreNetworkFolders();
    session.NoteMembersLeftOut(player, leftOut);
}

std::string SquadExchange::BuildWorld(VornsNetworker& session) {
    if (gArena == nullptr) return {};
    for (const auto& player : session.Players()) {
        if (player->record != nullptr && !player->disconnected) PlaceSquads(session, *player);
    }
    StringStream stream;
    WritePlayers(session, stream);
    WriteObjects(session, stream);
    return std::string(stream.Text(), static_cast<size_t>(stream.TextLength()));
}

void SquadExchange::WritePlayers(VornsNetworker& session, Stream& stream) {
    stream << static_cast<int>(session.Players().size()) << Endl;
    for (const auto& player : session.Players()) {
        WriteAddress(stream, player->address);
        stream << " ";
        player->launchPoint.WriteText(stream);
        stream << Endl;
        UseNetworkFolders(player->address.ip, player->address.port);
        std::vector<std::string> texts;
        for (const std::string& name : player->unitFiles) {
            Vorn* unit = gArena->NewVorn(0);
            if (unit->LoadFile(String(name.c_str()))) texts.push_back(WholeText(*unit));
            gArena->GiveBack(unit);
        }
        RestoreNetworkFolders();
        stream << static_cast<int>(texts.size()) << Endl;
        for (const std::string& text : texts) stream << text.c_str();
    }
}

void SquadExchange::WriteObjects(VornsNetworker& session, Stream& stream) {
    int count = 0;
    for (WorldObject* object : gArena->Objects()) count += IsWorldKind(object->kind) ? 1 : 0;
    stream << count << Endl;
    for (WorldObject* object : gArena->Objects()) {
        if (!IsWorldKind(object->kind)) continue;
        stream << object->id << Endl;
        if (object->kind == kKindVorn) {
            auto* unit = static_cast<Vorn*>(object);
            const SessionPlayer* owner = OwnerOf(session, unit->owner);
            stream << "Type Vorn" << Endl;
            WriteAddress(stream, owner != nullptr ? owner->address : sock::Ipv4Address{});
            stream << Endl;
            UseNetworkFolders(owner != nullptr ? owner->address.ip : 0, owner != nullptr ? owner->address.port : 0);
            unit->Save(stream);
            RestoreNetworkFolders();
            stream << (unit->vip ? "VIP" : "NotVIP") << Endl;
        } else if (object->kind == kKindGoal) {
            auto* goal = static_cast<Goal*>(object);
            const SessionPlayer* owner = OwnerOf(session, goal->owner);
            stream << "Type Goal" << Endl;
            goal->position.WriteText(stream);
            stream << Endl;
            WriteAddress(stream, owner != nullptr ? owner->address : sock::Ipv4Address{});
            stream << Endl;
        } else {
            object->Save(stream);
        }
    }
}

// --- the client's side

void SquadExchange::ReadWorld(const std::string& text, VornsNetworker& session) {
    if (gArena == nullptr) return;
    EnsureNetworkFolder();
    gArena->ClearBattlefield(false);
    StringStream stream(text.c_str());
    const int32_t players = ReadCount(stream, kMaxWorldPlayers);
    for (int32_t i = 0; i < players; ++i) {
        if (!ReadPlayerBlock(stream, session)) return;
    }
    const int32_t objects = ReadCount(stream, kMaxWorldObjects);
    for (int32_t i = 0; i < objects; ++i) {
        if (!ReadObject(stream, session)) return;
    }
}

bool SquadExchange::ReadPlayerBlock(Stream& stream, VornsNetworker& session) {
    const sock::Ipv4Address address = ReadAddress(stream);
    Vector2 launch;
    launch.ReadText(stream);
    const int32_t files = ReadCount(stream, kMaxUnitFiles);
    if (stream.HasError() || files < 0) return false;
    SessionPlayer* player = session.FindPlayer(address);
    if (player != nullptr) player->launchPoint = launch;
    UseNetworkFolders(address.ip, address.port);
    for (int32_t i = 0; i < files; ++i) {
        Vorn* unit = ReadUnit(stream, 0);
        if (unit == nullptr) break;
        const std::string name = UnitName(*unit);
        if (player != nullptr && sys::IsSafeName(name) && unit->SaveFile(unit->name)) player->unitFiles.push_back(name);
        gArena->GiveBack(unit);
    }
    RestoreNetworkFolders();
    return !stream.HasError();
}

bool SquadExchange::ReadObject(Stream& stream, VornsNetworker& session) {
    int32_t id = 0;
    stream >> id;
    String word;
    String kindName;
    String::ReadToken(stream, word);
    String::ReadToken(stream, kindName);
    if (stream.HasError() || !word.EqualsNoCase("Type")) return false;
    const int kind = WorldObject::KindFromName(kindName);
    if (kind == kKindVorn) {
        const sock::Ipv4Address address = ReadAddress(stream);
        SessionPlayer* owner = session.FindPlayer(address);
        UseNetworkFolders(address.ip, address.port);
        Vorn* unit = ReadUnit(stream, 0);
        RestoreNetworkFolders();
        String vip;
        String::ReadToken(stream, vip);
        if (unit == nullptr) return false;
        unit->SetPlayer(owner != nullptr ? owner->record : nullptr);
        unit->SetDefaults();
        gArena->AddObject(unit);
        unit->id = id;
        unit->vip = vip.EqualsNoCase("VIP") ? 1 : 0;
        return !stream.HasError();
    }
    if (kind == kKindGoal) {
        Vector3 position;
        position.ReadText(stream);
        const SessionPlayer* owner = session.FindPlayer(ReadAddress(stream));
        if (stream.HasError()) return false;
        auto* goal = gArena->NewGoal();
        goal->owner = owner != nullptr ? owner->record : nullptr;
        gArena->AddObject(goal);
        goal->id = id;
        goal->PlaceAt(position);
        goal->heading = static_cast<float>(sys::Rand()) / 32767.0f * 3.14159265f;
        return true;
    }
    if (!IsWorldKind(kind)) return false;
    WorldObject* object = gArena->NewObjectOfKind(kind);
    if (!object->Load(stream) || stream.HasError()) {
        gArena->GiveBack(object);
        return false;
    }
    object->SetDefaults();
    gArena->AddObject(object);
    object->id = id;
    return true;
}

void SquadExchange::ShowLeftOut(const std::vector<std::string>& names) {
    StringArray noRoom;
    for (const std::string& name : names) noRoom.Append(String(name.c_str()));
    ShowSquadMembersLeftOut(StringArray(), noRoom);
}

void SquadExchange::DeleteNetworkUnitFiles() {
    for (const std::string& name : sys::ListDirectory("NetworkVorns\\*.vrn")) {
        if (String(name.c_str()).Extension().EqualsNoCase("vrn")) sys::DeleteFile("NetworkVorns\\" + name);
    }
}
