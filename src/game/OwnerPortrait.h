#pragma once
// An owner's portrait put on a button: recoloured in the owner's colours and, when larger
// than the button, shrunk whole into its middle rather than cut at the button's edges.
#include "core/Image.h"

class Player;

// The portrait halved until it is no wider and no taller than the base, which keeps its
// shape; one that fits, or an empty base, leaves it as it is.
Image FittedPortrait(const Image& portrait, const Image& base);

// The base with the overlay, recoloured in the owner's primary and trim colours, drawn
// over it with its top-left corner at (x, y). An overlay wider or taller than the base is
// halved until it fits and drawn in the base's middle. Without a base the overlay alone.
Image ComposeOwnerPicture(const Image& base, const Image& overlay, int x, int y, const Player& owner);
