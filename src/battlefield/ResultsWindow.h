#pragma once
// The full-screen screen after a network battle: the title, the rule set's name, every
// player's figure with a line of results chosen by the rule set, and two buttons: set up
// the next game (the serving player only) and disconnect.
#include <cstdint>
#include <vector>

#include "battlefield/WindowButtons.h"
#include "core/Array.h"
#include "ui/Window.h"

class Player;

// What the window asks of the network game, which registers itself.
class ResultsHost {
public:
    // 0 last unit standing, 1 king of the hill, 2 shoot for the stars, 3 soccer.
    virtual int32_t GameRules() const = 0;
    // The players with their figures and result lines, and the winners' stars.
    virtual void DrawPlayers(const StringArray& lines) = 0;
    virtual void ShowPose(Player& player, bool winner) = 0;
    virtual void ResetPoses() = 0;
    // The local player's folders again, and a new game asked of the server.
    virtual void RequestReplay() = 0;

protected:
    ~ResultsHost() = default;
};

class ResultsWindow : public Window {
public:
    enum Button : int32_t { kSetUpGame = 0, kDisconnect = 1 };

    ResultsWindow();

    void OnOpen() override;
    void OnClose() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void GetHighlightShape(const HighlightRequest& request, Highlighter& highlighter) override;
    void GetToolTip() override;

    // A player's place in the results: his name as the session showed it, his line and
    // whether he won.
    struct Standing {
        String name;
        String line;
        bool winner = false;
    };

    // The line of a player's results under the rule set; empty for an unknown set.
    static String ResultLine(const Player& player, int32_t rules);
    static const char* RulesKey(int32_t rules);
    // A listed player who has no standing yet is given one from his record as it is now;
    // then each listed player's line, in the roster's order.
    void FillLines();

    // The battle's results as they stood when the window opened, in the roster's order then:
    // a player who leaves afterwards keeps his place, his line and his stars.
    std::vector<Standing> standings;
    // Line i belongs to the roster's player i.
    StringArray lines;
    ResultsHost* host = nullptr;
    WindowButtons buttons;
};

ResultsWindow& GetResultsWindow();
