#pragma once
// The network game's settings that the server's edit boxes read and set; the network
// game registers itself. With none registered the boxes start empty and set nothing.
#include <cstdint>

class NetworkSettings {
public:
    virtual int32_t TotalBudget() const = 0;
    virtual int32_t PlayerCount() const = 0;
    // The most each player may be given: the total shared among the players.
    virtual int32_t BudgetPerPlayer() const = 0;
    // Each player's launch budget as now set.
    virtual int32_t Budget() const = 0;
    virtual int32_t GameTimer() const = 0;
    virtual int32_t LaunchDelay() const = 0;
    virtual int32_t MeteorDelay() const = 0;
    virtual void SetBudget(int32_t budget) = 0;
    virtual void SetGameTimer(int32_t seconds) = 0;
    virtual void SetLaunchDelay(int32_t seconds) = 0;
    virtual void SetMeteorDelay(int32_t seconds) = 0;

protected:
    ~NetworkSettings() = default;
};

void SetNetworkSettings(NetworkSettings* settings);
NetworkSettings* GetNetworkSettings();
