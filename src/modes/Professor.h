#pragma once
// The professor reads pages aloud through the text box's voice.
#include <cstdint>

#include "core/Array.h"
#include "game/TextPage.h"

// Says the page's speech clip with its words shown; false (nothing said) for a page
// without a clip or without a text box.
bool SayPage(const TextPage& page);
bool IsProfessorSpeaking();
// Speaks the next page of the list when the professor is silent; true once every page
// has been taken.
bool SpeakNextOf(const Array<const TextPage*>& pages, int32_t& nextPage);
