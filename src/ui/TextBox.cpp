// The box in which the tutorials and missions talk to the player.
#include "ui/TextBox.h"

#include <algorithm>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "platform/window/Keys.h"
#include "ui/SpeechVoice.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {
TextBox* gTextBox = nullptr;
constexpr Color kContinueColour = Color(0xFF00FF00);
constexpr int32_t kSpeakerLeft = 64;
constexpr int32_t kSpeakerUp = 32;
constexpr int32_t kSpeakerSize = 125;

SpeechVoice* gVoice = nullptr;
}  // namespace

TextBox::TextBox() : Window("TextBox") {
    backgroundShown = true;
    passesInput = true;
    movable = false;
    resizable = false;
    gTextBox = this;
    Initialize();
}

TextBox::~TextBox() {
    if (gTextBox == this) gTextBox = nullptr;
}

TextBox* TextBox::Instance() { return gTextBox; }

void TextBox::OnClose() {
    spaceDown = false;
    // A closed box does not go on talking.
    if (gVoice) gVoice->Stop();
}

void TextBox::DrawContents() {
    Renderer& renderer = GetRenderer();
    UseScreenCamera();
    DrawBackground();
    renderer.SetAlphaBlend();
    if (waitForContinue) {
        const String prompt = GetLanguageText("ContinueText");
        const Vector2 size = MeasureText(prompt, kTextScale);
        DrawUiText(prompt, float(right - kRightMargin) - size.x, float(bottom) - size.y, kContinueColour, kTextScale);
    }
    float y = float(top);
    for (const String& line : lines) {
        DrawUiText(line, float(left + kSpeakerWidth), y, Color(0xFFFFFFFF), kTextScale);
        y += FontLineHeight() * kTextScale + 2.0f;
    }
    renderer.SetBlendOff();
}

bool TextBox::HandleMouse(const InputEvent& input) {
    if (waitForContinue && input.IsKeyDown(win::kKeySpace)) {
        spaceDown = true;
        return true;
    }
    if (waitForContinue && input.IsKeyUp(win::kKeySpace) && spaceDown) {
        PostEvent(kEventContinueTextBox);
        spaceDown = false;
        return true;
    }
    const bool leftButton = (input.kind == kInputDown || input.kind == kInputUp) && input.code == kInputButtonLeft;
    if (leftButton && ContainsPoint(Point(input.x, input.y))) {
        GetMouse().ShowCursor();
        return true;
    }
    return Window::HandleMouse(input);
}

void TextBox::HandleCommand(Event& event) {
    if (event.type == kEventContinueTextBox) {
        GetWindowManager().RemoveFromFocusOrder(this);
        return;
    }
    Window::HandleCommand(event);
}

void TextBox::MoveTo(const Point& point) {
    Window::MoveTo(point);
    const IntRect s = UiScreenRect();
    const int32_t x = std::clamp(left - kSpeakerLeft, 0, s.right - s.left + 1);
    const int32_t y = std::clamp(top - kSpeakerUp, 0, s.bottom - s.top + 1);
    speakerRect = IntRect(x, y, x + kSpeakerSize, y + kSpeakerSize);
}

// A box laid out anew keeps its text within its width and height.
void TextBox::Resize(const Point& size) {
    askedHeight_ = size.y;
    Window::Resize(size);
    if (!paragraphs.IsEmpty()) WrapText();
}

void TextBox::AddParagraph(const String& text) { paragraphs.Append(text); }

void TextBox::WrapText() {
    lines.Clear();
    SplitWords(paragraphs, lines, GetFont(), kTextScale, right - left + 1 - kSpeakerWidth - kRightMargin, 0);
    FitHeightToLines();
}

// More lines than the height the box was given, or lines that would run under the prompt
// to go on, make it taller (the windows laid out below it follow its bottom); it comes
// back to that height for shorter text.
void TextBox::FitHeightToLines() {
    if (askedHeight_ < 0) askedHeight_ = bottom - top + 1;
    const float step = FontLineHeight() * kTextScale + 2.0f;
    const int32_t needed = int32_t(std::ceil(step * float(lines.Count() + (waitForContinue ? 1 : 0))));
    const int32_t height = std::max(askedHeight_, needed);
    if (height != bottom - top + 1) Window::Resize(Point(right - left + 1, height));
}

void TextBox::SetParagraphs(const Array<StringArray>& wordLists) {
    paragraphs.Clear();
    for (const StringArray& list : wordLists) {
        for (const String& line : list) paragraphs.Append(line);
    }
    WrapText();
}

void TextBox::SetVoice(SpeechVoice* voice) { gVoice = voice; }

SpeechVoice* TextBox::Voice() { return gVoice; }

// The line is only spoken: the box goes on showing its page (the spoken prompt to go
// on must not take the place of the lesson's text).
void TextBox::Say(const String& speechFile, const String& /*text*/, bool pointWhileTalking) {
    if (gVoice) gVoice->Say(speechFile.CStr(), pointWhileTalking);
}

bool TextBox::IsSpeaking() const { return gVoice && gVoice->IsTalking(); }
