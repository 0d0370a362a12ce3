#pragma once
// What the application draws over the windows every frame: queued one-line texts
// (tooltips, status lines, labels placed in rectangles), the battlefield's key-help
// panel and the profiler overlay.
#include <cstdint>

#include "core/Array.h"
#include "core/Color.h"
#include "core/IntRect.h"
#include "core/String.h"
#include "core/Vector2.h"
#include "ui/ScreenTextQueue.h"

class Camera;
class Font;
class Mesh;
class Player;
class Profiler;

struct ScreenText {
    String text;
    Vector2 position;  // top-left corner in screen pixels
    Color colour;
    bool backdrop = false;  // a dark panel behind the text
};

using TextAlignment = TextPlacement;

class ScreenTexts final : public ScreenTextQueue {
public:
    static constexpr float kTextScale = 0.75f;
    static constexpr float kOverlayScale = 0.5f;
    static constexpr int32_t kSortPageCount = 4;

    // The frame list is drawn and emptied every frame; the console list by the console.
    void Queue(const String& text, const Vector2& position, Color colour, bool backdrop, bool frameList);
    void AddTextInRect(const String& text, const IntRect& rect, TextAlignment alignment, Color colour, bool backdrop,
                       bool frameList);
    // The position is pulled back onto the screen; an empty text draws nothing.
    void DrawText(const String& text, const Vector2& position, Color colour, bool backdrop);
    void DrawScreenTexts();
    void DrawQueuedTexts() override;
    // What the windows hand over.
    void QueueText(const String& text, const Vector2& position, Color colour, bool backdrop, bool frameList) override {
        Queue(text, position, colour, backdrop, frameList);
    }
    void QueueTextInRect(const String& text, const IntRect& rect, TextPlacement placement, Color colour, bool backdrop,
                         bool frameList) override {
        AddTextInRect(text, rect, placement, colour, backdrop, frameList);
    }
    // Draws one key-help line in white at that scale and moves the position down one line.
    void DrawHelpLine(const String& text, Vector2& position, float scale = kTextScale);
    // How the key help is drawn: its text scale and where its second column starts.
    struct KeyHelpFit {
        float scale = kTextScale;
        float secondColumn = 0.0f;
    };
    // The scale, from the text scale down in 1 % steps, at which the two columns of help
    // lines lie side by side inside the panel, and where the second column starts.
    static KeyHelpFit FitKeyHelp(const StringArray& left, const StringArray& right);
    // The key-help panel from (20, startY): two columns of command sections.
    void DrawKeyHelp(const Player& localPlayer, bool missionGame, float startY);
    void DrawProfilerOverlay(const Profiler& profiler);
    // Shows the overlay, then steps its sort page 0 -> 1 -> 2 -> 3, then hides it.
    void CycleProfilerDisplay();

    // Where DrawText puts a text of that size: x in [0, W - w + 1], y in [0, H - h + 1].
    Vector2 ClampToScreen(const Vector2& position, const Vector2& size) const;
    // Where AddTextInRect puts a text of that size.
    static Vector2 PositionInRect(const IntRect& rect, TextAlignment alignment, const Vector2& size);
    // The key-help lines as language keys, section by section; an empty key ends a
    // section. The first two sections form the left column, the rest the right one.
    static void KeyHelpColumns(const Player& localPlayer, bool missionGame, StringArray& left, StringArray& right);

    const Array<ScreenText>& FrameTexts() const { return frameTexts_; }
    const Array<ScreenText>& ConsoleTexts() const { return consoleTexts_; }

    bool profilerShown = false;
    int32_t sortPage = 0;
    Mesh* panelQuad = nullptr;  // the dark translucent backdrop, owned by the renderer
    Camera* screenCamera = nullptr;

private:
    void DrawPanel(const Vector2& position, const Vector2& size);
    void DrawAll(Array<ScreenText>& texts);

    Array<ScreenText> frameTexts_;
    Array<ScreenText> consoleTexts_;
};
