// Owners' portraits on buttons: the overlay's red and green parts take the owner's two
// colours over the base, clipped to it, and a portrait larger than the button goes on whole.
#include <gtest/gtest.h>

#include "game/OwnerPortrait.h"
#include "game/Player.h"

namespace {

Color Rgba(int r, int g, int b, int a) { return Color::FromRGBA(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)); }

TEST(OwnerPortraitTest, OverlayTakesTheOwnersColoursOverTheBase) {
    Player owner;
    owner.primaryColor = Rgba(10, 20, 200, 255);
    owner.trimColor = Rgba(0, 180, 0, 255);
    Image base(4, 4);
    base.Fill(Rgba(90, 90, 90, 255));
    Image overlay(2, 2);
    overlay.Fill(Rgba(0, 0, 0, 0));
    overlay.At(0, 0) = Rgba(255, 0, 0, 255);
    overlay.At(1, 0) = Rgba(0, 255, 0, 255);
    overlay.At(0, 1) = Rgba(0, 0, 255, 255);

    const Image picture = ComposeOwnerPicture(base, overlay, 2, 2, owner);
    EXPECT_EQ(picture.At(2, 2), owner.primaryColor);
    EXPECT_EQ(picture.At(3, 2), owner.trimColor);
    EXPECT_EQ(picture.At(2, 3), Rgba(0, 0, 255, 255));   // blue keeps its own colour
    EXPECT_EQ(picture.At(3, 3), Rgba(90, 90, 90, 255));  // a clear overlay pixel shows the base
    EXPECT_EQ(picture.At(0, 0), Rgba(90, 90, 90, 255));

    // An overlay reaching past the corner is cut there; without a base it stands alone.
    const Image clipped = ComposeOwnerPicture(base, overlay, 3, 3, owner);
    ASSERT_EQ(clipped.Width(), 4);
    EXPECT_EQ(clipped.At(3, 3), owner.primaryColor);
    const Image alone = ComposeOwnerPicture(Image(), overlay, 0, 0, owner);
    ASSERT_EQ(alone.Width(), 2);
    EXPECT_EQ(alone.At(0, 0), owner.primaryColor);
    EXPECT_EQ(ComposeOwnerPicture(base, Image(), 0, 0, owner).At(1, 1), Rgba(90, 90, 90, 255));
}

TEST(OwnerPortraitTest, APortraitWiderThanTheButtonGoesOnWholeInItsMiddle) {
    Player owner;
    Image base(4, 4);
    base.Fill(Rgba(90, 90, 90, 255));
    // Twice as wide as the button, blue on the left and white on the right: halved to
    // 4 x 2 and put in rows 1 and 2 whatever its offset, with the button's grey above and below.
    Image portrait(8, 4);
    portrait.Fill(Rgba(0, 0, 255, 255));
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x) portrait.At(x, y) = Rgba(255, 255, 255, 255);

    const Image picture = ComposeOwnerPicture(base, portrait, -2, -2, owner);
    ASSERT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.At(0, 1), Rgba(0, 0, 255, 255));
    EXPECT_EQ(picture.At(3, 2), Rgba(255, 255, 255, 255));
    EXPECT_EQ(picture.At(3, 0), Rgba(90, 90, 90, 255));
    EXPECT_EQ(picture.At(0, 3), Rgba(90, 90, 90, 255));
}

}  // namespace
