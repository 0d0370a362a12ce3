// The one-line text entry box.
#include "ui/EditBox.h"

#include <algorithm>
#include <cstdint>

#include "core/TextTable.h"
#include "engine/Font.h"
#include "engine/Mouse.h"
#include "engine/Renderer.h"
#include "engine/ScreenLayout.h"
#include "engine/Sprite.h"
#include "engine/SpriteGrid.h"
#include "engine/TextFitting.h"
#include "game/Event.h"
#include "game/Game.h"
#include "ui/ConfirmationMenu.h"
#include "ui/ErrorBox.h"
#include "ui/ToolTip.h"
#include "ui/UiServices.h"
#include "ui/WindowManager.h"

namespace {

constexpr int32_t kButtonSize = 32;
constexpr int32_t kButtonInset = 16;
constexpr int32_t kCaretTop = 4;
constexpr int32_t kComplaintMargin = 8;
constexpr Color kPromptColour = Color(0xFF7BBDFE);
constexpr Color kComplaintColour = Color(0xFFFF6060);
constexpr Color kSelectionColour = Color(0xFF2E5A96);
constexpr int32_t kCodeBackspace = 8;
constexpr int32_t kCodeEnter = 13;
constexpr int32_t kCodeEscape = 27;

int32_t LineHeight() { return int32_t(FontLineHeight() * EditBox::kTextScale); }

IntRect GrownHalf(const IntRect& r) {
    const int32_t growX = (r.right - r.left) / 4;
    const int32_t growY = (r.bottom - r.top) / 4;
    return IntRect(r.left - growX, r.top - growY, r.right + growX, r.bottom + growY);
}

}  // namespace

EditBox::EditBox(const String& windowName, const String& promptKey) : Window(windowName) {
    movable = false;
    frameShown = true;
    backgroundShown = true;
    prompt = GetLanguageText(promptKey);
}

EditBox::~EditBox() = default;

bool EditBox::IsAnyOpen() { return FrontOpen() != nullptr; }

EditBox* EditBox::FrontOpen() {
    const Array<Window*>& windows = GetWindowManager().OpenWindows();
    for (int i = windows.Count() - 1; i >= 0; --i) {
        if (auto* box = dynamic_cast<EditBox*>(windows[i])) return box;
    }
    return nullptr;
}

bool EditBox::TakeKeyboard(const InputEvent& input) {
    const bool key = (input.kind == kInputDown || input.kind == kInputUp) && input.code > kInputButtonMiddle;
    if (!key && input.kind != kInputCharacter) return false;
    EditBox* box = FrontOpen();
    if (box == nullptr) return false;
    box->HandleMouse(input);
    return true;
}

void EditBox::Initialize() {
    AllowOnly("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    Window::Initialize();
}

void EditBox::CreateResources() {
    acceptSprite = CreateUiSprite(kButtonSize, kButtonSize, "YesButton64.tga", Sprite::kAnchorCentre);
    cancelSprite = CreateUiSprite(kButtonSize, kButtonSize, "NoButton64.tga", Sprite::kAnchorCentre);
    buttons = GetRenderer().CreateSpriteGrid();
    buttons->SetLayoutMode(SpriteGrid::kLayoutFree);
    buttons->AddItem(acceptSprite, "Accept", true);
    buttons->AddItem(cancelSprite, "Cancel", true);
    caretSprite = CreateUiSprite(1, 1, "Cursor.tga", Sprite::kAnchorTopLeft);
    TintSprite(caretSprite, Color(0xFFFFFFFF));
    Refresh();
}

void EditBox::ReleaseResources() {
    acceptSprite = nullptr;
    cancelSprite = nullptr;
    buttons = nullptr;
    caretSprite = nullptr;
    Window::ReleaseResources();
}

void EditBox::AllowOnly(const char* characters) {
    std::fill(std::begin(allowed), std::end(allowed), uint8_t(0));
    Allow(characters);
}

void EditBox::Allow(const char* characters) {
    for (const char* c = characters; *c != '\0'; ++c) allowed[static_cast<unsigned char>(*c)] = 1;
}

void EditBox::OnOpen() {
    complaint_.Clear();
    SetRect(IntRect(left, top, left + kWidth, top + LineHeight() + 36));
    pressedInText = false;
    CentreOnScreen();
    caret = Count();
    textSelected = Count() > 0;
    textEdited = false;
}

void EditBox::ShowComplaint(const String& reason) {
    if (reason.IsEmpty() && complaint_.Count() == 0) return;
    complaint_.Clear();
    if (!reason.IsEmpty()) {
        StringArray paragraphs;
        paragraphs.Append(reason);
        SplitWords(paragraphs, complaint_, GetFont(), kTextScale, kWidth - 2 * kComplaintMargin, 0);
    }
    // The box grows downwards by the reason's lines, between the text and the buttons.
    SetRect(IntRect(left, top, right, top + LineHeight() + 36 + complaint_.Count() * LineHeight()));
    Refresh();
}

void EditBox::Refresh() {
    acceptCentre_ = Point(left + kButtonInset, bottom - kButtonInset);
    cancelCentre_ = Point(right - kButtonInset, bottom - kButtonInset);
    if (acceptSprite == nullptr) return;
    acceptSprite->x = acceptCentre_.x;
    acceptSprite->y = acceptCentre_.y;
    cancelSprite->x = cancelCentre_.x;
    cancelSprite->y = cancelCentre_.y;
}

IntRect EditBox::ButtonRect(Button button) const {
    const Point c = button == kAccept ? acceptCentre_ : cancelCentre_;
    return IntRect(c.x - kButtonSize / 2, c.y - kButtonSize / 2, c.x + kButtonSize / 2, c.y + kButtonSize / 2);
}

IntRect EditBox::TextLineRect() const { return IntRect(left, top, right, top + LineHeight()); }

float EditBox::TextWidth(const String& part) const { return MeasureText(part, kTextScale).x; }

int32_t EditBox::CaretAt(int32_t pointerX) const {
    const float dx = float(pointerX - left);
    const int32_t count = Count();
    for (int32_t i = 0; i < count; ++i) {
        if (TextWidth(text.Left(i + 1)) > dx) return i;
    }
    return count;
}

void EditBox::DrawContents() {
    Renderer& renderer = GetRenderer();
    DrawBackground();
    const Game* game = CurrentGame();
    blinkTimer -= game != nullptr ? game->frameTime : 0.0f;
    if (blinkTimer < 0.0f) {
        blinkTimer += kBlinkSeconds;
        caretVisible = !caretVisible;
    }
    UseScreenCamera();
    renderer.SetAlphaBlend();
    const float middle = float((left + right + 1) / 2);
    const Vector2 promptSize = MeasureText(prompt, kTextScale);
    DrawUiText(prompt, middle - promptSize.x * 0.5f, float(acceptCentre_.y) - promptSize.y * 0.5f, kPromptColour,
               kTextScale);
    for (int i = 0; i < complaint_.Count(); ++i) {
        DrawUiText(complaint_[i], middle - MeasureText(complaint_[i], kTextScale).x * 0.5f,
                   float(top + (i + 1) * LineHeight() + kCaretTop), kComplaintColour, kTextScale);
    }
    if (textSelected && caretSprite != nullptr) {
        caretSprite->SetRect(
            IntRect(left, top + kCaretTop, left + int32_t(TextWidth(text)), top + kCaretTop + LineHeight()));
        TintSprite(caretSprite, kSelectionColour);
        renderer.DrawSprite(*caretSprite);
        TintSprite(caretSprite, Color(0xFFFFFFFF));
    }
    DrawUiText(text, float(left), float(top - 2), Color(0xFFFFFFFF), kTextScale);
    if (caretVisible && caretSprite != nullptr) {
        const float before = TextWidth(text.Left(caret));
        const unsigned char under = caret < Count() ? static_cast<unsigned char>(text[caret]) : 'a';
        const float glyph = kTextScale * float(GetFont().widths[under]);
        const int32_t x0 = left + int32_t(before);
        const int32_t x1 = left + int32_t(before + glyph);
        caretSprite->SetRect(IntRect(x0, top + kCaretTop, x1, top + kCaretTop + LineHeight()));
        renderer.DrawSprite(*caretSprite);
    }
    if (buttons != nullptr) renderer.DrawSpriteGrid(*buttons, true);
    renderer.SetBlendOff();
}

bool EditBox::HandleMouse(const InputEvent& input) {
    const Point p(input.x, input.y);
    if (input.IsKeyDown(Mouse::kCodeHome)) {
        PostEvent(kEventCursorHome);
        return true;
    }
    if (input.IsKeyDown(Mouse::kCodeEnd)) {
        PostEvent(kEventCursorEnd);
        return true;
    }
    if (input.kind == kInputCharacter) {
        PostEventInt(kEventAddChar, input.code);
        return true;
    }
    if (input.kind == kInputDown && input.code == kInputButtonLeft) {
        pressedButton_ = ButtonRect(kAccept).Contains(p) ? kAccept : ButtonRect(kCancel).Contains(p) ? kCancel : -1;
        if (pressedButton_ >= 0) {
            PlaySound("MouseDown.ogg");
            return true;
        }
        pressedInText = TextLineRect().Contains(p);
        if (pressedInText) {
            PlaySound("MouseDown.ogg");
            return true;
        }
    }
    if (input.kind == kInputUp && input.code == kInputButtonLeft) {
        if (pressedButton_ >= 0) {
            const int32_t pressed = pressedButton_;
            pressedButton_ = -1;
            if (ButtonRect(Button(pressed)).Contains(p)) {
                if (pressed == kAccept) {
                    Submit();
                } else {
                    PostEvent(kEventAbortString);
                }
                PlaySound("MouseUp.ogg");
            }
            return true;
        }
        if (pressedInText && TextLineRect().Contains(p)) {
            pressedInText = false;
            textSelected = false;
            caret = CaretAt(p.x);
            PlaySound("MouseUp.ogg");
            return true;
        }
    }
    if (Window::HandleMouse(input)) return true;
    return IsCameraInput(input, GetMouse());
}

void EditBox::HandleCommand(Event& event) {
    WindowManager& manager = GetWindowManager();
    switch (event.type) {
        case kEventAddChar: EditStep(event.value); break;
        case kEventEnterString:
            // A script or peer may send a text the keys would not have let through.
            if (const String reason = Rejection(text); !reason.IsEmpty()) {
                RefuseText(reason);
                break;
            }
            Accept();
            manager.RemoveFromFocusOrder(this);
            manager.CloseWindow(this);
            break;
        case kEventAbortString:
            Cancel();
            manager.RemoveFromFocusOrder(this);
            manager.CloseWindow(this);
            break;
        case kEventCursorHome:
            caret = 0;
            textSelected = false;
            break;
        case kEventCursorEnd:
            caret = Count();
            textSelected = false;
            break;
        default: Window::HandleCommand(event);
    }
}

void EditBox::EditStep(int32_t code) {
    caretVisible = true;
    blinkTimer = kBlinkSeconds;
    ShowComplaint(String());
    if (textSelected && (code == Mouse::kCodeDelete || code == kCodeBackspace)) {
        text.Clear();
        caret = 0;
        textSelected = false;
        textEdited = true;
        return;
    }
    if (code == Mouse::kCodeLeft || code == Mouse::kCodeRight) textSelected = false;
    const int32_t count = Count();
    switch (code) {
        case Mouse::kCodeDelete:
            if (caret < count) {
                text = text.Left(caret) + text.Right(count - caret - 1);
                textEdited = true;
            }
            break;
        case Mouse::kCodeLeft: caret = std::max(caret - 1, 0); break;
        case Mouse::kCodeRight: caret = std::min(caret + 1, count); break;
        case kCodeBackspace:
            if (count >= 1 && caret >= 1) {
                text = text.Left(caret - 1) + text.Right(count - caret);
                --caret;
                textEdited = true;
            }
            break;
        case kCodeEnter: Submit(); break;
        case kCodeEscape: PostEvent(kEventAbortString); break;
        default:
            // An event from a script or a peer may carry any number.
            if (code < 0 || code >= kTableSize) {
                Refuse();
                return;
            }
            Insert(char(code));
    }
    caret = std::clamp(caret, 0, Count());
}

void EditBox::Insert(char character) {
    if (allowed[static_cast<unsigned char>(character)] == 0) {
        if (refusedCharacterKey != nullptr) {
            Complain(GetLanguageText(refusedCharacterKey));
        } else {
            Refuse();
        }
        return;
    }
    const String kept = textSelected ? String() : text;
    const int32_t at = textSelected ? 0 : caret;
    const String proposed = kept.Left(at) + String::FromChar(character) + kept.Right(kept.CharCount() - at);
    const float room = float(right - left + 1);
    const float oneMore = kTextScale * float(GetFont().widths[static_cast<unsigned char>('a')]);
    if (TextWidth(proposed) + oneMore > room || !IsValidText(proposed)) {
        Refuse();
        return;
    }
    text = proposed;
    caret = at + 1;
    textSelected = false;
    textEdited = true;
}

void EditBox::Submit() {
    if (const String reason = Rejection(text); !reason.IsEmpty()) {
        RefuseText(reason);
    } else if (Count() < 1) {
        PostEvent(kEventAbortString);
    } else {
        PostEventString(kEventEnterString, text);
    }
}

String EditBox::Rejection(const String&) const { return String(); }

void EditBox::Complain(const String& reason) {
    ShowComplaint(reason);
    Refuse();
}

void EditBox::RefuseText(const String& reason) {
    Complain(reason);
    if (selectsRefusedText) {
        caret = Count();
        textSelected = Count() > 0;
    }
}

void EditBox::Refuse() { PlayUiSound("Illegal.ogg"); }

int32_t EditBox::ReadNumber(const String& digits) {
    int64_t value = 0;
    for (int i = 0; i < digits.CharCount() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        value = std::min<int64_t>(value * 10 + (digits[i] - '0'), INT32_MAX);
    }
    return int32_t(value);
}

void EditBox::AskToOverwrite(ConfirmationMenu& menu) {
    WindowManager& manager = GetWindowManager();
    manager.CloseWindow(this);
    menu.name = text;
    menu.MoveToScreenCentre();
    manager.OpenWindow(&menu);
    manager.BringToFront(&menu);
}

void EditBox::ReportSaveFailed() { ShowRefusal(GetLanguageText("SaveFailed")); }

void EditBox::HitTestControls(const Point& point) {
    if (buttons != nullptr) buttons->UpdateHover(point);
    Window::HitTestControls(point);
}

void EditBox::GetToolTip() {
    const Point mouse = GetMouse().position;
    for (Button button : {kAccept, kCancel}) {
        if (!ButtonRect(button).Contains(mouse)) continue;
        ::GetToolTip().Set(GetLanguageText(button == kAccept ? "Accept" : "Cancel"), GrownHalf(ButtonRect(button)));
        return;
    }
    Window::GetToolTip();
}

void EditBox::Cancel() {}

bool EditBox::IsValidText(const String&) const { return true; }
