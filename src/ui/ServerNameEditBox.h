#pragma once
// The serving player names the server the lobby lists. A changed name is kept in the
// profile and announced to the lobby again.
#include <functional>

#include "ui/EditBox.h"

class ServerNameEditBox : public EditBox {
public:
    ServerNameEditBox();
    void OnOpen() override;
    void Accept() override;
    // The network game re-announces the server with it.
    void SetLobbyUpdate(std::function<void()> update) { lobbyUpdate_ = std::move(update); }

private:
    std::function<void()> lobbyUpdate_;
};

ServerNameEditBox& GetServerNameEditBox();
