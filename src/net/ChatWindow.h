#pragma once
// The chat panel of a network game: a history of coloured lines above the line the local
// player types. Typed lines go to the other players through the session; received lines
// and status lines arrive as events.
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Color.h"
#include "core/String.h"
#include "ui/Window.h"

class VornsNetworker;

class ChatWindow : public Window {
public:
    static constexpr int32_t kMaxEntryChars = 255;

    // A player's colour, opaque, lightened as far as text in it needs to be read on black;
    // its hue stays.
    static Color ReadableOnBlack(Color colour);
    static constexpr int32_t kMaxHistory = 50;
    static constexpr int32_t kVisibleLines = 5;
    static constexpr float kTextScale = 0.65f;
    static constexpr int32_t kWidth = 420;
    static constexpr int32_t kTextMargin = 19;
    static constexpr int32_t kScrollColumn = 16;
    static constexpr int32_t kArrowSize = 16;
    static constexpr int32_t kArrowInset = 8;
    static constexpr float kRepeatSeconds = 0.1f;
    // The panel behind the lines: near-black, so that colours made readable on black stay
    // readable over a bright scene or the battlefield, which show faintly through it.
    static constexpr Color kBackingColour = Color(0xE0000000);

    struct Entry {
        String text;
        Color colour;
        bool battle = false;  // about the battle being fought: gone once it is over
    };
    // The width of a text as drawn in the history.
    using Measure = std::function<float(const String&)>;

    ChatWindow();

    void SetSession(VornsNetworker* session) { session_ = session; }
    void SetMeasure(Measure measure) { measure_ = std::move(measure); }

    void OnOpen() override;
    void CreateResources() override;
    void CreateBackground() override;
    void ReleaseResources() override;
    void HandleCommand(Event& event) override;
    bool HandleMouse(const InputEvent& input) override;
    void DrawContents() override;
    void UpdateLayout() override;

    // A line from a player (an empty name: one the list does not know).
    void AddChatLine(const String& speaker, const String& text, Color colour);
    // A line shown alone, in the colour.
    void AddLine(const String& line, Color colour);
    // Cuts a line into pieces no wider than maxWidth, at blanks where it can; every piece
    // holds at least one character, however narrow the window.
    static std::vector<String> WrapLine(const String& line, float maxWidth, const Measure& measure);

    const std::vector<Entry>& History() const { return history_; }  // newest first
    const String& EntryText() const { return entry_; }
    int32_t ScrollPosition() const { return scroll_; }
    int32_t LaughsPlayed() const { return laughs_; }

private:
    void EditEntry(int32_t code);
    void EnterLine(const String& text);
    void ScrollBy(int32_t lines);
    void SetScroll(int32_t position);
    int32_t MaxScroll() const;
    void AddHistoryEntry(const String& text, Color colour, bool battle);
    void PlayLaugh();
    void DragHandle(int32_t pointerY);
    float LineHeight() const;
    IntRect UpArrowRect() const;
    IntRect DownArrowRect() const;

    VornsNetworker* session_ = nullptr;
    Sprite* upArrow_ = nullptr;
    Sprite* downArrow_ = nullptr;
    Sprite* handle_ = nullptr;
    Measure measure_;
    String entry_;
    std::vector<Entry> history_;
    int32_t scroll_ = 0;
    int32_t laughs_ = 0;
    int32_t heldArrow_ = 0;  // +1 up, -1 down, 0 none
    bool draggingHandle_ = false;
    float repeatTimer_ = 0.0f;
    float cursorPhase_ = 0.0f;
};

ChatWindow& GetChatWindow();
