#pragma once
// The professor reads pages aloud through the text box's voice.
#include <cstdint>

#include "core/Array.h"
#include "game/TextPage.h"

class Highlighter;

// Says the page's speech clip with its words shown; false (nothing said) for a page
// without a clip or without a text box. With pointing, his arm follows the place he
// is told to point at while he talks.
bool SayPage(const TextPage& page, bool pointWhileTalking = false);
bool IsProfessorSpeaking();
// Silences him at once.
void StopProfessor();
// His arm points at the first mark of the highlighter, or rests when it has none.
void PointProfessorAt(const Highlighter& highlighter);
// Speaks the next page of the list when the professor is silent; true once every page
// has been taken.
bool SpeakNextOf(const Array<const TextPage*>& pages, int32_t& nextPage);
// The guide in the column at the left of the open text box, over the windows drawn so far.
void DrawGuide();
