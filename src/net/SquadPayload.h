#pragma once
// The units a client brings to a battle: the whole text of each unit file its squads
// need, dependencies first, and each squad's members in their squad-member form.
#include <string>
#include <vector>

struct SquadPayload {
    std::vector<std::string> unitFiles;
    std::vector<std::vector<std::string>> squads;
};
