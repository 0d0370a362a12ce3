#pragma once
// The joining player enters or picks the server's address and connects.
#include "net/NetworkScreen.h"

class ClientSetupWindow : public NetworkScreen {
public:
    enum Item : int32_t { kConnect, kBack, kServerAddress, kLobby };
    ClientSetupWindow();
    void OnOpen() override;
    void HandleCommand(Event& event) override;
    // Joins the server named by the address text; false (the client stopped, the error
    // box open) when it could not.
    bool Join();
    // While joined and waiting for the server's answer: who is being joined and how long
    // until it is given up; empty otherwise.
    String ConnectingText() const;
    // The error box over this screen, with the error sound; the screen stays for another try.
    void ShowJoinFailure(const String& text);
    // Why no connection to the host could be made: no computer of that name, else the
    // server down or the port blocked.
    static String ConnectFailureText(const String& host, int32_t port);

    String address;

protected:
    void PlaceButtons() override;
    void DrawScreen() override;
    const char* SceneName() const override { return "SmallClientSetup"; }
    const char* HighlightName(int32_t index) const override;
};

ClientSetupWindow& GetClientSetupWindow();
