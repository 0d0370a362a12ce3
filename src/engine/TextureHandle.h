#pragma once
// The handle by which callers keep a texture that the renderer owns; null means none.
class Texture;
using TextureHandle = Texture*;
