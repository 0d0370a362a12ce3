#pragma once
// The voice the text box speaks its lines with. The talking figure lives above the
// toolkit and registers itself here.
#include <string>

#include "core/IntRect.h"

class SpeechVoice {
public:
    virtual ~SpeechVoice() = default;
    virtual void Say(const std::string& speechPath, bool pointWhileTalking) = 0;
    virtual bool IsTalking() const = 0;
    // Silences the line at once; the figure goes back to rest.
    virtual void Stop() {}
    // Where the figure points while it talks with pointing asked for (screen pixels).
    virtual void PointAtCircle(float /*centreX*/, float /*centreY*/, float /*radius*/) {}
    virtual void PointAtRect(const IntRect& /*rect*/) {}
    virtual void StopPointing() {}
};
