// The text box shows pages as they were written: every line starts a line of its own,
// and what is too wide for the box is wrapped within it, also after the box is resized;
// what the figure says aloud does not replace the page.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/TextBox.h"
#include "ui/UiServices.h"

namespace {

using ui_test::UiTest;

class TextBoxTest : public UiTest {
protected:
    static StringArray Lines(std::initializer_list<const char*> texts) {
        StringArray lines;
        for (const char* text : texts) lines.Append(String(text));
        return lines;
    }
    // Every wrapped line fits beside the talking figure, clear of the frame on the right.
    static void ExpectInside(const TextBox& box) {
        const float room = float(box.right - box.left + 1 - TextBox::kSpeakerWidth - TextBox::kRightMargin);
        for (const String& line : box.lines) EXPECT_LE(MeasureText(line, TextBox::kTextScale).x, room) << line.CStr();
    }
};

TEST_F(TextBoxTest, PagesKeepTheirLineAndParagraphBreaks) {
    TextBox box;
    box.SetRectValues(0, 0, 799, 214);
    Array<StringArray> pages;
    pages.Append(Lines({"Welcome, commander.", "", "Your Vorns wait."}));
    pages.Append(Lines({"Second page."}));
    box.SetParagraphs(pages);
    ASSERT_EQ(box.lines.Count(), 4);
    EXPECT_STREQ(box.lines[0].CStr(), "Welcome, commander.");
    EXPECT_TRUE(box.lines[1].IsEmpty());
    EXPECT_STREQ(box.lines[2].CStr(), "Your Vorns wait.");
    EXPECT_STREQ(box.lines[3].CStr(), "Second page.");
}

TEST_F(TextBoxTest, LongLinesWrapInsideTheBoxAndAgainWhenItIsResized) {
    TextBox box;
    box.SetRectValues(0, 0, 799, 214);
    Array<StringArray> pages;
    pages.Append(
        Lines({"A line far longer than the box is wide, which has to be broken at its blanks so that "
               "none of its words is drawn past the frame on the right of the box.",
               // 131 letters: as wide as the room beside the figure, up to the frame.
               "A line just as wide as the room beside the figure would end right against the frame of the "
               "box, so it is broken one word too early.",
               "Short."}));
    box.SetParagraphs(pages);
    const int32_t wide = box.lines.Count();
    EXPECT_GE(wide, 3);
    ExpectInside(box);
    box.Resize(Point(400, 215));
    EXPECT_GT(box.lines.Count(), wide);
    ExpectInside(box);
    EXPECT_STREQ(box.lines[box.lines.Count() - 1].CStr(), "Short.");
}

TEST_F(TextBoxTest, TextTallerThanTheBoxMakesItTallerAboveThePromptAndShorterTextGivesItBack) {
    TextBox box;
    box.MoveTo(Point(0, 0));
    box.Resize(Point(800, 115));
    box.waitForContinue = true;
    Array<StringArray> pages;
    pages.Append(Lines({"One.", "Two.", "Three.", "", "Five.", "Six.", "Seven.", "Eight.", "Nine."}));
    box.SetParagraphs(pages);
    const float step = FontLineHeight() * TextBox::kTextScale + 2.0f;
    // Every line, and the prompt to go on below the last, lie inside the box.
    EXPECT_GE(float(box.bottom - box.top + 1), step * float(box.lines.Count() + 1));
    Array<StringArray> shorter;
    shorter.Append(Lines({"One line."}));
    box.SetParagraphs(shorter);
    EXPECT_EQ(box.bottom - box.top + 1, 115);
}

TEST_F(TextBoxTest, ASpokenLineLeavesThePageShown) {
    TextBox box;
    box.SetRectValues(0, 0, 799, 214);
    Array<StringArray> pages;
    pages.Append(Lines({"Move the camera with the arrow keys."}));
    box.SetParagraphs(pages);
    box.Say("Speech\\English\\PressTheSpaceBar.OGG", "Press the space bar to go on.");
    ASSERT_EQ(box.lines.Count(), 1);
    EXPECT_STREQ(box.lines[0].CStr(), "Move the camera with the arrow keys.");
}

}  // namespace
