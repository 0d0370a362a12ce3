#include "engine/TextObserver.h"

#include "engine/Font.h"

namespace {
TextObserver* observer = nullptr;
}  // namespace

TextObserver* SetTextObserver(TextObserver* next) {
    TextObserver* previous = observer;
    observer = next;
    return previous;
}

void ReportDrawnText(const String& text, const Vector2& position, const Font& font, Color colour, float scale) {
    if (observer == nullptr) return;
    DrawnText run;
    run.text = text;
    run.position = position;
    font.GetTextWidth(run.size, text, scale);
    run.scale = scale;
    run.colour = colour;
    observer->TextDrawn(run);
}
