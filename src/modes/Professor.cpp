// The professor's speech.
#include "modes/Professor.h"

#include <string_view>

#include "core/Debugger.h"
#include "engine/AssetPaths.h"
#include "game/Game.h"
#include "platform/sys/Paths.h"
#include "scenes/Speaker.h"
#include "ui/Highlighter.h"
#include "ui/SpeechVoice.h"
#include "ui/TextBox.h"
#include "ui/UiServices.h"

bool SayPage(const TextPage& page, bool pointWhileTalking) {
    TextBox* box = TextBox::Instance();
    if (box == nullptr || page.speech.IsEmpty()) return false;
    // Clip names come from mission and lesson files: none may reach outside the speech folder.
    if (!sys::IsSafeName(std::string_view(page.speech.CStr(), static_cast<size_t>(page.speech.CharCount())))) {
        Debugger::Instance().Line((String("Speech clip name refused: ") + page.speech).CStr());
        return false;
    }
    box->Say(SpeechPath(page.speech), JoinWords(page.lines), pointWhileTalking);
    // The page keeps its own line and paragraph breaks, wrapped to the box.
    box->paragraphs = page.lines;
    box->WrapText();
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

void DrawGuide() {
    const TextBox* box = TextBox::Instance();
    if (box == nullptr || !box->open) return;
    auto* guide = dynamic_cast<Speaker*>(TextBox::Voice());
    if (guide == nullptr || !guide->HasModel()) return;
    guide->SetScreenRect(box->speakerRect);
    guide->Draw(false);
    UseScreenCamera();
}
