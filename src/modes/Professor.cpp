// The professor's speech.
#include "modes/Professor.h"

#include "engine/AssetPaths.h"
#include "game/Game.h"
#include "ui/TextBox.h"

bool SayPage(const TextPage& page) {
    TextBox* box = TextBox::Instance();
    if (box == nullptr || page.speech.IsEmpty()) return false;
    box->Say(SpeechPath(page.speech + ".OGG"), JoinWords(page.lines));
    return true;
}

bool IsProfessorSpeaking() {
    const TextBox* box = TextBox::Instance();
    return box != nullptr && box->IsSpeaking();
}

bool SpeakNextOf(const Array<const TextPage*>& pages, int32_t& nextPage) {
    if (IsProfessorSpeaking()) return false;
    if (nextPage >= pages.Count()) return true;
    SayPage(*pages[nextPage++]);
    return false;
}
