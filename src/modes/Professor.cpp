// The professor's speech.
#include "modes/Professor.h"

#include "engine/AssetPaths.h"
#include "game/Game.h"
#include "ui/Highlighter.h"
#include "ui/SpeechVoice.h"
#include "ui/TextBox.h"

bool SayPage(const TextPage& page, bool pointWhileTalking) {
    TextBox* box = TextBox::Instance();
    if (box == nullptr || page.speech.IsEmpty()) return false;
    box->Say(SpeechPath(page.speech + ".OGG"), JoinWords(page.lines), pointWhileTalking);
    return true;
}

void StopProfessor() {
    if (SpeechVoice* voice = TextBox::Voice()) voice->Stop();
}

void PointProfessorAt(const Highlighter& highlighter) {
    SpeechVoice* voice = TextBox::Voice();
    if (voice == nullptr) return;
    if (highlighter.marks.IsEmpty()) {
        voice->StopPointing();
        return;
    }
    const HighlightMark& mark = highlighter.marks[0];
    if (mark.kind == HighlightMark::kCircle) {
        voice->PointAtCircle(mark.centreX, mark.centreY, mark.radius);
        return;
    }
    voice->PointAtRect(IntRect(int32_t(mark.left), int32_t(mark.top), int32_t(mark.right), int32_t(mark.bottom)));
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
