#include "platform/sys/Debug.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sys {
namespace {

enum class Setting { Unread, Off, On };

// The sound thread may log too, so the switch is atomic; the environment is read once.
std::atomic<Setting> setting{Setting::Unread};

Setting FromEnvironment() {
    const char* value = std::getenv("VORNS_DEBUG_OUTPUT");
    return (value != nullptr && std::strcmp(value, "1") == 0) ? Setting::On : Setting::Off;
}

}  // namespace

void DebugOutput(std::string_view text) {
    if (!IsDebugOutputEnabled() || text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void SetDebugOutputEnabled(bool enabled) { setting = enabled ? Setting::On : Setting::Off; }

bool IsDebugOutputEnabled() {
    Setting current = setting.load();
    if (current == Setting::Unread) {
        Setting read = FromEnvironment();
        setting.compare_exchange_strong(current, read);
        current = setting.load();
    }
    return current == Setting::On;
}

}  // namespace sys
