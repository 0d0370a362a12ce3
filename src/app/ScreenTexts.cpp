// Screen texts, the key-help panel and the profiler overlay.
#include "app/ScreenTexts.h"

#include <algorithm>
#include <vector>

#include "core/Profiler.h"
#include "core/TextTable.h"
#include "engine/Camera.h"
#include "engine/Font.h"
#include "engine/Mesh.h"
#include "engine/Renderer.h"
#include "game/Player.h"

namespace {

constexpr Color kWhite = Color::FromRGBA(255, 255, 255, 255);
constexpr Color kOverlayGrey = Color::FromRGBA(162, 162, 162, 255);

// The key-help panel's size and its second column.
constexpr float kHelpPanelWidth = 827.0f;
constexpr float kHelpPanelHeight = 589.0f;
constexpr float kHelpLeft = 20.0f;
constexpr float kHelpSecondColumn = 490.0f;
// The lines keep this far inside the panel's right edge, and the columns this far apart.
constexpr float kHelpInnerMargin = 5.0f;
constexpr float kHelpColumnGap = 24.0f;
// The help's text shrinks at most this many 1 % steps to fit its panel.
constexpr int kHelpFitSteps = 60;

// Upgrade items the key help asks about.
enum HelpUpgrade : int32_t {
    kUpgradeEditing = 6,
    kUpgradePause1 = 9,
    kUpgradePause2 = 10,
    kUpgradeSignals1 = 11,
    kUpgradeSignals2 = 12,
    kUpgradeConditionals = 53,
    kUpgradeUnitCommands = 75,
    kUpgradeSoccer = 81,
};

Vector2 Measure(const String& text, float scale) {
    Vector2 size;
    GetFont().GetTextWidth(size, text, scale);
    return size;
}

Vector2 ScreenSize() {
    const IntRect& screen = GetRenderer().GetWindowRect();
    return Vector2(float(screen.right - screen.left + 1), float(screen.bottom - screen.top + 1));
}

Matrix4 PanelTransform(const Vector2& position, const Vector2& size) {
    Matrix4 transform;
    transform[0] = size.x;
    transform[5] = size.y;
    transform[12] = position.x;
    transform[13] = position.y;
    return transform;
}

void BeginOverlay(Camera* screenCamera) {
    Renderer& renderer = GetRenderer();
    if (screenCamera != nullptr) renderer.SetCamera(*screenCamera);
    renderer.SetAlphaBlend();
    renderer.DisableLighting();
}

void EndOverlay() {
    Renderer& renderer = GetRenderer();
    renderer.EnableLighting();
    renderer.SetBlendOff();
}

}  // namespace

void ScreenTexts::Queue(const String& text, const Vector2& position, Color colour, bool backdrop, bool frameList) {
    (frameList ? frameTexts_ : consoleTexts_).Append(ScreenText{text, position, colour, backdrop});
}

Vector2 ScreenTexts::PositionInRect(const IntRect& rect, TextAlignment alignment, const Vector2& size) {
    const float middleY = (float(rect.top + rect.bottom) - size.y) / 2.0f;
    const float centreX = (float(rect.left + rect.right) - size.x) / 2.0f;
    switch (alignment) {
        case TextAlignment::kLeftMiddle: return Vector2(float(rect.left), middleY);
        case TextAlignment::kCentre: return Vector2(centreX, middleY);
        case TextAlignment::kAboveCentre: {
            const float above = float(rect.top) - size.y;
            return Vector2(centreX, above < 0.0f ? float(rect.bottom) : above);
        }
    }
    return Vector2(float(rect.left), float(rect.top));
}

void ScreenTexts::AddTextInRect(const String& text, const IntRect& rect, TextAlignment alignment, Color colour,
                                bool backdrop, bool frameList) {
    Queue(text, PositionInRect(rect, alignment, Measure(text, kTextScale)), colour, backdrop, frameList);
}

Vector2 ScreenTexts::ClampToScreen(const Vector2& position, const Vector2& size) const {
    const Vector2 screen = ScreenSize();
    return Vector2(std::clamp(position.x, 0.0f, std::max(0.0f, screen.x - size.x + 1.0f)),
                   std::clamp(position.y, 0.0f, std::max(0.0f, screen.y - size.y + 1.0f)));
}

void ScreenTexts::DrawPanel(const Vector2& position, const Vector2& size) {
    if (panelQuad == nullptr) return;
    Renderer& renderer = GetRenderer();
    renderer.SetWorldTransform(PanelTransform(position, size));
    renderer.RenderMesh(panelQuad, false);
    renderer.SetWorldTransform(Matrix4());
}

void ScreenTexts::DrawText(const String& text, const Vector2& position, Color colour, bool backdrop) {
    if (text.IsEmpty()) return;
    BeginOverlay(screenCamera);
    const Vector2 size = Measure(text, kTextScale);
    const Vector2 at = ClampToScreen(position, size);
    if (backdrop) DrawPanel(at, size);
    GetRenderer().DrawText(text, at, GetFont(), colour, kTextScale);
    EndOverlay();
}

void ScreenTexts::DrawAll(Array<ScreenText>& texts) {
    GetRenderer().SetWorldTransform(Matrix4());
    for (const ScreenText& entry : texts) DrawText(entry.text, entry.position, entry.colour, entry.backdrop);
    texts.Clear();
}

void ScreenTexts::DrawScreenTexts() { DrawAll(frameTexts_); }

void ScreenTexts::DrawQueuedTexts() { DrawAll(consoleTexts_); }

void ScreenTexts::DrawHelpLine(const String& text, Vector2& position, float scale) {
    if (!text.IsEmpty()) {
        BeginOverlay(screenCamera);
        GetRenderer().DrawText(text, ClampToScreen(position, Measure(text, scale)), GetFont(), kWhite, scale);
        EndOverlay();
    }
    position.y += GetFont().lineHeight * scale;
}

void ScreenTexts::KeyHelpColumns(const Player& player, bool missionGame, StringArray& left, StringArray& right) {
    const auto has = [&player](int32_t item) { return player.HasUpgradeLevel(item, 0); };
    const bool editing = !missionGame && has(kUpgradeEditing);
    left.Clear();
    right.Clear();
    const auto add = [](StringArray& column, bool shown, const char* key) {
        if (shown) column.Append(key);
    };
    add(left, true, "VornObjectCommands");
    add(left, has(kUpgradeUnitCommands), "HelpR");
    add(left, has(kUpgradeUnitCommands), "HelpN");
    add(left, has(kUpgradeConditionals), "HelpI");
    add(left, has(kUpgradePause1) && has(kUpgradePause2), "HelpH");
    add(left, editing, "HelpG");
    if (has(kUpgradeUnitCommands)) {
        left.Append(has(kUpgradeSoccer) ? "HelpFSoccerBall" : "HelpF");
        for (const char* key :
             {"HelpLeftParen", "HelpRightParen", "HelpLeftBracket", "HelpRightBracket", "HelpBackslash"}) {
            left.Append(key);
        }
    }
    add(left, editing, "HelpCtrlC");
    add(left, editing, "HelpCtrlV");
    add(left, !missionGame, "HelpDelete");
    left.Append("");
    for (const char* key : {"CameraCommands", "HelpC", "HelpE", "HelpQ", "HelpUpArrowW", "HelpDownArrowS",
                            "HelpLeftArrowA", "HelpRightArrowD", ""}) {
        left.Append(key);
    }
    for (const char* key : {"GeneralCommands", "Help-", "Help+"}) right.Append(key);
    add(right, has(kUpgradePause1) && has(kUpgradePause2), "HelpP");
    add(right, !missionGame && has(kUpgradeSignals1) && has(kUpgradeSignals2), "HelpT");
    add(right, has(kUpgradeEditing), "Help1");
    right.Append("HelpF1");
    right.Append("HelpCtrlX");
    add(right, has(kUpgradeEditing), "HelpCtrlF");
    right.Append("HelpM");
    right.Append("HelpEsc");
    right.Append("");
    if (!editing) return;
    for (const char* key :
         {"MapCommands", "HelpCtrlUpArrow", "HelpCtrlDownArrow", "HelpCtrlLeftArrow", "HelpCtrlRightArrow", "",
          "LaunchFlyByPointCommands", "HelpU", "HelpY", "HelpCtrlY", "HelpCtrlShiftU", "HelpCtrlShiftY", ""}) {
        right.Append(key);
    }
}

ScreenTexts::KeyHelpFit ScreenTexts::FitKeyHelp(const StringArray& left, const StringArray& right) {
    const auto widest = [](const StringArray& lines, float scale) {
        float width = 0.0f;
        for (const String& line : lines) width = std::max(width, Measure(line, scale).x);
        return width;
    };
    const float rightEdge = kHelpLeft - 5.0f + kHelpPanelWidth - kHelpInnerMargin;
    const float lineCount = float(std::max(left.Count(), right.Count()));
    KeyHelpFit fit;
    // The second column starts at x = 490, or further left when its lines need the room,
    // but never over the first; the text shrinks in 1 % steps until both columns fit.
    for (int step = 0; step <= kHelpFitSteps; ++step) {
        const float leftEnd = kHelpLeft + widest(left, fit.scale) + kHelpColumnGap;
        const float rightWidth = widest(right, fit.scale);
        fit.secondColumn = std::max(leftEnd, std::min(kHelpSecondColumn, rightEdge - rightWidth));
        const bool fitsAcross = fit.secondColumn + rightWidth <= rightEdge;
        const bool fitsDown = lineCount * GetFont().lineHeight * fit.scale <= kHelpPanelHeight - 6.0f;
        if ((fitsAcross && fitsDown) || step == kHelpFitSteps) break;
        fit.scale /= 1.01f;
    }
    return fit;
}

void ScreenTexts::DrawKeyHelp(const Player& localPlayer, bool missionGame, float startY) {
    BeginOverlay(screenCamera);
    DrawPanel(Vector2(kHelpLeft - 5.0f, startY - 3.0f), Vector2(kHelpPanelWidth, kHelpPanelHeight));
    EndOverlay();
    StringArray left, right;
    KeyHelpColumns(localPlayer, missionGame, left, right);
    // An empty key ends a section with an empty line.
    const auto texts = [](const StringArray& keys) {
        StringArray shown;
        for (const String& key : keys) shown.Append(key.IsEmpty() ? String() : GetLanguageText(key));
        return shown;
    };
    const StringArray leftTexts = texts(left);
    const StringArray rightTexts = texts(right);
    const KeyHelpFit fit = FitKeyHelp(leftTexts, rightTexts);
    const auto drawColumn = [&](const StringArray& lines, float x) {
        Vector2 position(x, startY);
        for (const String& line : lines) DrawHelpLine(line, position, fit.scale);
    };
    drawColumn(leftTexts, kHelpLeft);
    drawColumn(rightTexts, fit.secondColumn);
}

void ScreenTexts::CycleProfilerDisplay() {
    if (!profilerShown) {
        profilerShown = true;
        return;
    }
    sortPage += 1;
    if (sortPage < kSortPageCount) return;
    sortPage = 0;
    profilerShown = false;
}

void ScreenTexts::DrawProfilerOverlay(const Profiler& profiler) {
    static constexpr float kColumns[5] = {10.0f, 200.0f, 300.0f, 400.0f, 500.0f};
    static constexpr const char* kHeaders[5] = {"Zone", "Time (ms)", "Self time", "Hier time", "Count"};
    // The header column that shows each sort page's key.
    static constexpr int kSortColumn[kSortPageCount] = {1, 3, 2, 4};
    std::vector<ProfilerRow> rows;
    profiler.Rows(rows, sortPage);
    const float lineStep = GetFont().lineHeight * kOverlayScale;
    const float numberWidth = Measure("99999.99", kOverlayScale).x;
    BeginOverlay(screenCamera);
    DrawPanel(Vector2(0.0f, 0.0f),
              Vector2(kColumns[4] + numberWidth + 10.0f, 10.0f + lineStep * float(rows.size() + 3)));
    Renderer& renderer = GetRenderer();
    const Font& font = GetFont();
    float y = 10.0f;
    for (int column = 0; column < 5; ++column) {
        const Color colour = column == kSortColumn[std::clamp(sortPage, 0, kSortPageCount - 1)] ? kWhite : kOverlayGrey;
        renderer.DrawText(kHeaders[column], Vector2(kColumns[column], y), font, colour, kOverlayScale);
    }
    y += lineStep;
    char line[96];
    FormatText(line, sizeof(line), "%.2lf fps %.2lfms", profiler.FramesPerSecond(), profiler.FrameTimeMs());
    renderer.DrawText(line, Vector2(kColumns[0], y), font, kWhite, kOverlayScale);
    for (const ProfilerRow& row : rows) {
        y += lineStep;
        renderer.DrawText(row.name, Vector2(kColumns[0], y), font, kWhite, kOverlayScale);
        const double values[4] = {row.timeMs, row.selfMs, row.childMs, row.entries};
        for (int column = 1; column < 5; ++column) {
            char number[32];
            FormatText(number, sizeof(number), "%.2lf", values[column - 1]);
            renderer.DrawText(number, Vector2(kColumns[column], y), font, kWhite, kOverlayScale);
        }
    }
    EndOverlay();
}
