#pragma once
// A box for one of the network game's numbers: it starts from the value now set, takes
// digits only, and refuses a value outside its range with a line naming the range, so
// the value set is always the one typed.
#include "ui/EditBox.h"
#include "ui/MatchLimits.h"

class NetworkSettings;

class NumberEditBox : public EditBox {
public:
    // The refusal reads: the text of limitsKey, the smallest value, " and ", the largest,
    // the text of unitsKey.
    NumberEditBox(const String& windowName, const String& promptKey, const char* limitsKey = "SecondsLimits",
                  const char* unitsKey = "SecondsLimits2");

    void OnOpen() override;
    void Accept() override;
    String Rejection(const String& whole) const override;

protected:
    virtual int32_t Value(const NetworkSettings& settings) const = 0;
    virtual void SetValue(NetworkSettings& settings, int32_t value) const = 0;
    virtual int32_t Smallest(const NetworkSettings&) const { return 0; }
    virtual int32_t Largest(const NetworkSettings&) const { return match_limits::kMaxSeconds; }

private:
    const char* limitsKey_;
    const char* unitsKey_;
};
