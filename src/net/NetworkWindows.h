#pragma once
// The network screens as the network game asks for them: each session state opens its
// screen with the chat window, lines go to the chat window and errors to the error box.
#include "net/NetworkResults.h"
#include "net/NetworkScreens.h"

class NetworkWindows : public NetworkScreens {
public:
    // Pixels between the bottom of the unit and squad trays and the chat window's top.
    static constexpr int32_t kTrayGapWide = 37;
    static constexpr int32_t kTrayGapNarrow = 24;

    void Open(SessionState state) override;
    void OpenSquadSelection(int32_t budget, uint32_t squadCount) override;
    void OpenBattleScreens() override;
    void AddChatLine(const std::string& speaker, uint32_t colour, const std::string& line) override;
    void AddStatusLine(const std::string& line) override;
    void ShowError(const char* messageKey) override;
    void ShowJoinError(const char* messageKey) override;
    void ShowConnectError(const std::string& host, int32_t port) override;
    void ShowServeError(const char* messageKey, int error, int32_t port) override;
    void PlayersChanged() override {}

private:
    static void PlaceTraysAboveChat();

    NetworkResults results_;
};
