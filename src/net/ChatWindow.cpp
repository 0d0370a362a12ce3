#include "net/ChatWindow.h"

#include <algorithm>
#include <cmath>

#include "core/TextTable.h"
#include "engine/Renderer.h"
#include "engine/Sprite.h"
#include "game/Event.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/PlayerRoster.h"
#include "net/VornsNetworker.h"
#include "platform/sys/Random.h"
#include "ui/UiServices.h"

namespace {

constexpr const char* kLaughs[] = {"EnemyLaugh1.ogg", "EnemyLaugh2.ogg", "EnemyLaugh3.ogg", "EnemyLaugh4.ogg"};
constexpr int32_t kLaughCount = 4;
constexpr int32_t kBackspace = 8;
constexpr int32_t kReturn = 13;
constexpr int32_t kEscape = 27;
constexpr int32_t kRandMax = 32767;

String Separated(const String& speaker, const String& text) {
    return speaker + " " + GetLanguageText("AltSeparator") + " " + text;
}

bool IsPrintable(int32_t code) { return code >= 32 && code < 256 && code != 127; }

// The status line that tells the local player he is out is about the battle it came in.
bool AboutTheBattle(const String& line) {
    bool found = false;
    const String out = GetLanguageTextFound("NoVornsLeft", found);
    return found && !out.IsEmpty() && line == String("** ") + out;
}

}  // namespace

Color ChatWindow::ReadableOnBlack(Color colour) { return ReadableTextColour(colour, Color(0xFF000000)); }

ChatWindow::ChatWindow() : Window("ChatWindow") {
    measure_ = [](const String& text) { return MeasureText(text, kTextScale).x; };
    const int32_t height = static_cast<int32_t>(6.0f * kTextScale * FontLineHeight());
    SetRectValues(534, 264, 534 + kWidth, 264 + std::max(height, 1));
    backgroundShown = true;
    Initialize();
}

void ChatWindow::CreateBackground() {
    if (background != nullptr) return;
    background = GetRenderer().CreateColoredQuad(QuadRect{0, 0, 1, 1}, kBackingColour, 0.0f, 0, 0);
    GetRenderer().CreateModelMeshes(background);
}

void ChatWindow::CreateResources() {
    upArrow_ = CreateUiSprite(kArrowSize, kArrowSize, "UpArrow.tga", Sprite::kAnchorTopLeft);
    downArrow_ = CreateUiSprite(kArrowSize, kArrowSize, "DownArrow.tga", Sprite::kAnchorTopLeft);
    handle_ = CreateUiSprite(kScrollColumn, kArrowSize, "Handle.tga", Sprite::kAnchorTopLeft);
}

void ChatWindow::ReleaseResources() {
    upArrow_ = nullptr;
    downArrow_ = nullptr;
    handle_ = nullptr;
    Window::ReleaseResources();
}

float ChatWindow::LineHeight() const { return kTextScale * FontLineHeight(); }

// --- commands

void ChatWindow::HandleCommand(Event& event) {
    switch (event.type) {
        case kEventScrollUp: ScrollBy(1); return;
        case kEventScrollDown: ScrollBy(-1); return;
        case kEventSetScroller: SetScroll(event.value); return;
        case kEventAddChar: EditEntry(event.value); return;
        case kEventEnterString: EnterLine(event.text); return;
        case kEventAbortString: entry_.Clear(); return;
        case kEventEnterStatusString:
            if (session_ != nullptr && session_->IsServerRunning()) session_->SendStatusLine(event.text.CStr());
            return;
        case kEventAddChatString:
            AddChatLine(event.words.IsEmpty() ? String() : event.words[0], event.text, Color(uint32_t(event.value)));
            return;
        case kEventAddStatusString: AddLine(event.text, Color(uint32_t(event.value))); return;
        default: Window::HandleCommand(event); return;
    }
}

void ChatWindow::EditEntry(int32_t code) {
    if (code == kBackspace) {
        if (entry_.IsEmpty()) {
            PlayUiSound("Illegal.ogg");
            return;
        }
        entry_ = entry_.Left(entry_.CharCount() - 1);
        return;
    }
    if (code == kReturn) {
        if (entry_.IsEmpty()) return;
        PostEventString(kEventEnterString, entry_);
        entry_.Clear();
        return;
    }
    if (code == kEscape) {
        PostEvent(kEventAbortString);
        return;
    }
    if (!IsPrintable(code)) return;
    if (entry_.CharCount() >= kMaxEntryChars) {
        PlayUiSound("Illegal.ogg");
        return;
    }
    const char c = static_cast<char>(code);
    entry_ = entry_ + String(&c, 1);
}

void ChatWindow::EnterLine(const String& text) {
    if (text.IsEmpty()) return;
    scroll_ = 0;
    if (session_ == nullptr) return;
    if (session_->IsServerRunning())
        session_->SendChatLine(session_->LocalAddress(), text.CStr());
    else
        session_->SendChatToServer(text.CStr());
}

// --- the history

void ChatWindow::AddChatLine(const String& speaker, const String& text, Color colour) {
    if (scroll_ > 0) ++scroll_;
    const String name = speaker.IsEmpty() ? GetLanguageText("UnknownPlayer") : speaker;
    AddLine(Separated(name, text), colour);
    PlayUiSound("MouseUp.ogg");
}

void ChatWindow::AddLine(const String& line, Color colour) {
    const String separator = GetLanguageText("AltSeparator");
    const int32_t at = separator.IsEmpty() ? -1 : line.Find(separator.CStr());
    const String message = at < 0 ? line : line.Right(line.CharCount() - at - separator.CharCount());
    if (message.Find("LOL") >= 0) PlayLaugh();
    const float width = static_cast<float>(Width() - kTextMargin);
    const bool battle = AboutTheBattle(line);
    for (const String& piece : WrapLine(line, width, measure_)) AddHistoryEntry(piece, colour, battle);
    SetScroll(scroll_);
}

// The screens of every state open the chat afresh: past the battle and its results, the
// lines about that battle go.
void ChatWindow::OnOpen() {
    Window::OnOpen();
    if (session_ == nullptr) return;
    const SessionState state = session_->State();
    if (state == SessionState::ServerPlaying || state == SessionState::ClientPlaying ||
        state == SessionState::ServerResults || state == SessionState::ClientResults)
        return;
    std::erase_if(history_, [](const Entry& entry) { return entry.battle; });
    SetScroll(scroll_);
}

std::vector<String> ChatWindow::WrapLine(const String& line, float maxWidth, const Measure& measure) {
    std::vector<String> pieces;
    if (measure(line) <= maxWidth) {
        pieces.push_back(line);
        return pieces;
    }
    int32_t start = 0;
    const int32_t length = line.CharCount();
    while (start < length) {
        int32_t end = start + 1;  // every piece takes at least one character
        while (end < length && measure(line.Substring(start, end + 1 - start)) <= maxWidth) ++end;
        if (end < length) {
            int32_t blank = end - 1;
            while (blank > start && line[blank] != ' ') --blank;
            if (blank > start) end = blank;  // the blank stays with the next piece
        }
        pieces.push_back(line.Substring(start, end - start));
        start = end;
    }
    return pieces;
}

void ChatWindow::AddHistoryEntry(const String& text, Color colour, bool battle) {
    if (static_cast<int32_t>(history_.size()) >= kMaxHistory) history_.pop_back();
    history_.insert(history_.begin(), Entry{text, colour, battle});
}

void ChatWindow::PlayLaugh() {
    const int32_t index = (sys::Rand() * (kLaughCount - 1) + kRandMax / 2) / kRandMax;
    PlayUiSound(kLaughs[std::clamp(index, 0, kLaughCount - 1)]);
    ++laughs_;
}

// --- scrolling

int32_t ChatWindow::MaxScroll() const { return std::max(0, static_cast<int32_t>(history_.size()) - kVisibleLines); }

void ChatWindow::SetScroll(int32_t position) { scroll_ = std::clamp(position, 0, MaxScroll()); }

void ChatWindow::ScrollBy(int32_t lines) {
    const int32_t before = scroll_;
    SetScroll(scroll_ + lines);
    if (scroll_ != before) PlayUiSound("Scroll.ogg");
}

void ChatWindow::DragHandle(int32_t pointerY) {
    // With no more lines than the view holds there is nothing to drag through.
    const int32_t steps = MaxScroll();
    if (steps <= 0) return;
    const IntRect up = UpArrowRect();
    const IntRect down = DownArrowRect();
    const int32_t trackTop = up.bottom;
    const int32_t trackHeight = std::max(1, down.top - trackTop);
    // The top of the track is the oldest lines, the bottom the newest.
    const int32_t fromBottom = std::clamp(down.top - pointerY, 0, trackHeight);
    const int32_t line = std::clamp(fromBottom * steps / trackHeight, 0, steps);
    if (line != scroll_) PostEventInt(kEventSetScroller, line);
}

// --- input

IntRect ChatWindow::UpArrowRect() const {
    return IntRect(right - kArrowInset - kArrowSize, top + kArrowInset, right - kArrowInset,
                   top + kArrowInset + kArrowSize);
}

IntRect ChatWindow::DownArrowRect() const {
    const int32_t y = bottom - kArrowInset - static_cast<int32_t>(LineHeight());
    return IntRect(right - kArrowInset - kArrowSize, y - kArrowSize, right - kArrowInset, y);
}

bool ChatWindow::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.kind == kInputCharacter) {
        PostEventInt(kEventAddChar, input.code);
        return true;
    }
    if (input.kind == kInputWheel) {
        ScrollBy(input.code);
        return true;
    }
    if (input.IsKeyDown(kInputButtonLeft)) {
        heldArrow_ = UpArrowRect().Contains(p) ? 1 : DownArrowRect().Contains(p) ? -1 : 0;
        if (heldArrow_ != 0) {
            PostEvent(heldArrow_ > 0 ? kEventScrollUp : kEventScrollDown);
            repeatTimer_ = 0.0f;
            PlayUiSound("MouseDown.ogg");
            return true;
        }
        if (p.x >= left && p.x < left + kScrollColumn && p.y >= top && p.y < bottom) {
            draggingHandle_ = true;
            return true;
        }
    }
    if (input.IsKeyUp(kInputButtonLeft) && (heldArrow_ != 0 || draggingHandle_)) {
        heldArrow_ = 0;
        draggingHandle_ = false;
        PlayUiSound("MouseUp.ogg");
        return true;
    }
    if (input.kind == kInputFrameTick) {
        if (draggingHandle_) DragHandle(p.y);
        const IntRect held = heldArrow_ > 0 ? UpArrowRect() : DownArrowRect();
        if (heldArrow_ != 0 && held.Contains(p) && CurrentGame() != nullptr) {
            repeatTimer_ += CurrentGame()->frameTime;
            if (repeatTimer_ > kRepeatSeconds) {
                repeatTimer_ = 0.0f;
                PostEvent(heldArrow_ > 0 ? kEventScrollUp : kEventScrollDown);
            }
        }
    }
    return Window::HandleMouse(input);
}

// --- drawing

void ChatWindow::UpdateLayout() { Window::UpdateLayout(); }

void ChatWindow::DrawContents() {
    Window::DrawContents();
    UseScreenCamera();
    Renderer& renderer = GetRenderer();
    renderer.SetAlphaBlend();
    const float lineHeight = LineHeight();
    const float maxWidth = static_cast<float>(Width() - kTextMargin);
    String typed = Separated(GetLocalPlayer().ShownName(), entry_);
    while (!typed.IsEmpty() && measure_(typed) > maxWidth) typed = typed.Right(typed.CharCount() - 1);
    const Game* game = CurrentGame();
    cursorPhase_ += game != nullptr ? game->frameTime : 0.0f;
    if (cursorPhase_ > 1.0f) cursorPhase_ -= 1.5f;
    if (cursorPhase_ > 0.0f) typed = typed + GetLanguageText("Cursor");
    const float x = static_cast<float>(left + kScrollColumn);
    const float entryY = static_cast<float>(bottom) - lineHeight;
    DrawUiText(typed, x, entryY, Color(0xFFFFFFFF), kTextScale);
    for (int32_t row = 0; row < kVisibleLines; ++row) {
        const size_t index = static_cast<size_t>(scroll_ + row);
        if (index >= history_.size()) break;
        const float y = entryY - static_cast<float>(row + 1) * lineHeight;
        DrawUiText(history_[index].text, x, y, ReadableTextColour(history_[index].colour, kBackingColour), kTextScale);
    }
    const bool older = scroll_ + kVisibleLines < static_cast<int32_t>(history_.size());
    if (older && upArrow_ != nullptr) {
        upArrow_->SetRect(UpArrowRect());
        renderer.DrawSprite(*upArrow_);
    }
    if (scroll_ > 0 && downArrow_ != nullptr) {
        downArrow_->SetRect(DownArrowRect());
        renderer.DrawSprite(*downArrow_);
    }
    if ((older || scroll_ > 0) && handle_ != nullptr) {
        // The handle's height on its track matches the scroll position: newest at the bottom.
        const int32_t trackTop = UpArrowRect().bottom;
        const int32_t trackBottom = DownArrowRect().top - kArrowSize;
        const int32_t y = trackBottom - (trackBottom - trackTop) * scroll_ / std::max(1, MaxScroll());
        handle_->SetRect(IntRect(left, y, left + kScrollColumn - 1, y + kArrowSize - 1));
        renderer.DrawSprite(*handle_);
    }
    renderer.SetBlendOff();
}

ChatWindow& GetChatWindow() {
    static ChatWindow window;
    return window;
}
