#pragma once
// The voice the text box speaks its lines with. The talking figure lives above the
// toolkit and registers itself here.
#include <string>

class SpeechVoice {
public:
    virtual ~SpeechVoice() = default;
    virtual void Say(const std::string& speechPath, bool pointWhileTalking) = 0;
    virtual bool IsTalking() const = 0;
};
