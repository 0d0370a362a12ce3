#pragma once
// The box in which the tutorials and missions talk to the player: wrapped lines beside
// the talking figure, and, when asked, a prompt to press the space key to go on.
#include "core/Array.h"
#include "core/String.h"
#include "ui/Window.h"

class SpeechVoice;

class TextBox : public Window {
public:
    static constexpr float kTextScale = 0.65f;
    // The talking figure stands in this many pixels at the left.
    static constexpr int32_t kSpeakerWidth = 115;
    // Room kept free between the text and the frame on the right.
    static constexpr int32_t kRightMargin = 12;

    TextBox();
    ~TextBox() override;

    // The one text box, or none before it is made.
    static TextBox* Instance();

    void OnClose() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void MoveTo(const Point& point) override;
    void Resize(const Point& size) override;

    void AddParagraph(const String& text);
    void ClearLines() { paragraphs.Clear(); }
    void WrapText();
    // Every line of every list starts a line of its own (an empty one leaves a blank
    // line); each is wrapped to the box's width.
    void SetParagraphs(const Array<StringArray>& wordLists);
    // The talking figure's voice; none leaves the box silent.
    static void SetVoice(SpeechVoice* voice);
    static SpeechVoice* Voice();
    // Speaks the line with the voice; what the box shows stays.
    void Say(const String& speechFile, const String& text, bool pointWhileTalking = false);
    bool IsSpeaking() const;

    bool waitForContinue = false;
    StringArray paragraphs;
    StringArray lines;
    bool spaceDown = false;
    IntRect speakerRect;

private:
    void FitHeightToLines();
    // The height the box was last given; -1 until then.
    int32_t askedHeight_ = -1;
};
