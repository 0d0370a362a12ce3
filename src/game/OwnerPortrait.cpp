// An owner's portrait on a button.
#include "game/OwnerPortrait.h"

#include "game/Player.h"

Image FittedPortrait(const Image& portrait, const Image& base) {
    Image fitted = portrait;
    if (base.IsEmpty()) return fitted;
    while ((fitted.Width() > base.Width() || fitted.Height() > base.Height()) && fitted.Width() > 1 &&
           fitted.Height() > 1) {
        fitted.HalfSizePlain(fitted);
    }
    return fitted;
}

Image ComposeOwnerPicture(const Image& base, const Image& overlay, int x, int y, const Player& owner) {
    Image picture = base.IsEmpty() ? Image(overlay.Width(), overlay.Height()) : base;
    if (overlay.IsEmpty()) return picture;
    if (overlay.Width() <= picture.Width() && overlay.Height() <= picture.Height()) {
        picture.BlendBlit(overlay, x, y, owner.primaryColor, owner.trimColor);
        return picture;
    }
    // At its offset a portrait larger than the button would show only the part that lands
    // on it; shrunk, it goes on whole, in the middle.
    const Image fitted = FittedPortrait(overlay, picture);
    picture.BlendBlit(fitted, (picture.Width() - fitted.Width()) / 2, (picture.Height() - fitted.Height()) / 2,
                      owner.primaryColor, owner.trimColor);
    return picture;
}
