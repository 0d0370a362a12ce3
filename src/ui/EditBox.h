#pragma once
// A small modal window that asks for one line of text: a prompt, the typed text with a
// blinking block caret, and Accept and Cancel buttons. Every keystroke goes through the
// event queue as an AddChar event to the box itself, so that a tutorial can watch or
// drive typing like any other command. Subclasses choose the starting text, the
// characters allowed and what accepting does.
#include <cstdint>

#include "core/Array.h"
#include "core/String.h"
#include "ui/Window.h"

class ConfirmationMenu;

class EditBox : public Window {
public:
    static constexpr int32_t kTableSize = 256;
    static constexpr int32_t kWidth = 384;
    static constexpr float kTextScale = 0.75f;
    static constexpr float kBlinkSeconds = 0.5f;
    enum Button : int32_t { kAccept = 0, kCancel = 1 };

    EditBox(const String& windowName, const String& promptKey);
    ~EditBox() override;

    // Whether an open edit box takes the typed characters.
    static bool IsAnyOpen();
    // The open edit box in front, or none.
    static EditBox* FrontOpen();
    // While an edit box is open, keys and characters are its alone, wherever the pointer
    // is: the window that was offered one hands it over and acts on none of them.
    static bool TakeKeyboard(const InputEvent& input);

    void Initialize() override;
    void CreateResources() override;
    void ReleaseResources() override;
    void OnOpen() override;
    void Refresh() override;
    void DrawContents() override;
    bool HandleMouse(const InputEvent& input) override;
    void HandleCommand(Event& event) override;
    void HitTestControls(const Point& point) override;
    void GetToolTip() override;

    virtual void Accept() = 0;
    virtual void Cancel();
    virtual bool IsValidText(const String& proposed) const;
    // What is wrong with the whole text, shown in the box, or empty when it may be
    // accepted; the base takes any text. An empty text that is not rejected cancels.
    virtual String Rejection(const String& whole) const;

    // Only the listed characters may be typed from now on.
    void AllowOnly(const char* characters);
    void Allow(const char* characters);
    // The caret index for a pointer x: the first character whose right edge passes it.
    int32_t CaretAt(int32_t pointerX) const;
    int32_t Count() const { return text.CharCount(); }
    IntRect TextLineRect() const;
    // Why the last Enter or character was refused, in the lines shown; empty when none.
    const StringArray& Complaint() const { return complaint_; }
    IntRect ButtonRect(Button button) const;

    bool pressedInText = false;
    String text;
    String prompt;
    int32_t caret = 0;
    // The whole starting text is selected on opening: the first typed character replaces it.
    bool textSelected = false;
    // Whether the text was changed since the box opened, even back to what it opened with.
    bool textEdited = false;
    float blinkTimer = kBlinkSeconds;
    bool caretVisible = false;
    uint8_t allowed[kTableSize] = {};
    Sprite* acceptSprite = nullptr;
    Sprite* cancelSprite = nullptr;
    SpriteGrid* buttons = nullptr;
    Sprite* caretSprite = nullptr;

    // The digits at the start of the text as a number, saturating at the largest 32-bit
    // value; 0 without digits.
    static int32_t ReadNumber(const String& digits);

protected:
    // The language key of what a refused character is told with; none: the sound alone.
    const char* refusedCharacterKey = nullptr;
    // A refused text is selected, so that what is typed next replaces it.
    bool selectsRefusedText = false;
    // Refuses with the illegal sound.
    static void Refuse();
    // A save that failed: the illegal sound and "SaveFailed" in the error box.
    static void ReportSaveFailed();
    // Closes this box and asks, in the centre and in front, whether the file of the
    // typed name may be replaced.
    void AskToOverwrite(ConfirmationMenu& menu);

private:
    void EditStep(int32_t code);
    // Enter and Accept: an empty text cancels, a rejected one stays with its reason shown.
    void Submit();
    void Insert(char character);
    // The illegal sound, and the reason shown in the box until the next key.
    void Complain(const String& reason);
    // The whole text refused with its reason shown.
    void RefuseText(const String& reason);
    // The reason's lines under the text, the box grown to hold them; empty: none.
    void ShowComplaint(const String& reason);
    float TextWidth(const String& part) const;
    int32_t pressedButton_ = -1;
    // Why the last Enter or character was refused, in lines that fit the box.
    StringArray complaint_;
    Point acceptCentre_;
    Point cancelCentre_;
};
