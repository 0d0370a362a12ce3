// Objects the renderer owns, kept by holders that outlive a renderer restart: the
// release empties every ref and mark, copies included, so nothing draws with freed objects.
#include <gtest/gtest.h>

#include "core/Array.h"
#include "engine/Renderer.h"
#include "engine/RendererRef.h"
#include "engine/SpriteGrid.h"

namespace {

TEST(RendererRefTest, TheReleaseEmptiesRefsCopiesAndMarksAndHoldersMakeTheirsAgain) {
    Renderer& renderer = GetRenderer();
    SpriteGrid* sprite = renderer.CreateSpriteGrid();
    ASSERT_NE(sprite, nullptr);

    RendererRef<SpriteGrid> held = sprite;
    Array<RendererRef<SpriteGrid>> copies;
    for (int i = 0; i < 20; ++i) copies.Append(held);  // grows by copying
    RendererMark made;
    made.Set();
    const int before = RendererRefBase::HeldCount();
    {
        RendererRef<SpriteGrid> gone = sprite;
        EXPECT_EQ(RendererRefBase::HeldCount(), before + 1);
    }
    EXPECT_EQ(RendererRefBase::HeldCount(), before);

    renderer.ReleaseAll();
    EXPECT_EQ(held, nullptr);
    for (const RendererRef<SpriteGrid>& copy : copies) EXPECT_EQ(copy, nullptr);
    EXPECT_FALSE(made.IsSet());
    EXPECT_EQ(RendererRefBase::HeldCount(), 0);

    held = renderer.CreateSpriteGrid();
    made.Set();
    EXPECT_NE(held, nullptr);
    EXPECT_TRUE(made.IsSet());
}

}  // namespace
