// A phoneme file read by the guide's lip sync, then sampled along its length.
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"
#include "scenes/Speaker.h"

VORNS_FUZZ_TARGET(data, size) {
    if (!fuzz::WriteScratchFile("Fuzz.phn", data, size)) {
        return 0;
    }
    Speaker speaker;
    speaker.LoadPhonemes(fuzz::ScratchFolder() + "Fuzz.phn");
    for (float t = -0.5f; t < 3.0f; t += 0.25f) {
        speaker.PhonemeAt(t);
    }
    return 0;
}
