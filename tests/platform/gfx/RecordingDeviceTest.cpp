#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/Image.h"
#include "platform/gfx/DeviceMesh.h"
#include "platform/gfx/RecordingAdapter.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/TextureFile.h"
#include "support/TempFolder.h"

namespace {

using namespace gfx;

struct ColourVertex {
    float x, y, z;
    uint32_t colour;
};
constexpr VertexFormat kColourFormat = kFormatPosition | kFormatDiffuse;

TEST(RecordingDevice, StartsWithTheFixedFunctionDefaults) {
    RecordingDevice device(640, 480);
    EXPECT_EQ(device.GetRenderState(RenderState::Lighting), 1u);
    EXPECT_EQ(device.GetRenderState(RenderState::ZEnable), 1u);
    EXPECT_EQ(device.GetRenderState(RenderState::ZWriteEnable), 1u);
    EXPECT_EQ(device.GetRenderState(RenderState::ZFunc), uint32_t(Compare::LessEqual));
    EXPECT_EQ(device.GetRenderState(RenderState::CullMode), uint32_t(Cull::CounterClockwise));
    EXPECT_EQ(device.GetRenderState(RenderState::SpecularEnable), 0u);
    EXPECT_EQ(device.GetRenderState(RenderState::Ambient), 0u);
    EXPECT_EQ(device.GetRenderState(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(device.GetRenderState(RenderState::FogEnable), 0u);
    EXPECT_EQ(device.GetRenderState(RenderState::ColorVertex), 1u);
    EXPECT_EQ(device.GetTextureStageState(0, TextureStageState::ColorOp), uint32_t(TextureOp::Modulate));
    EXPECT_EQ(device.GetTextureStageState(0, TextureStageState::AlphaOp), uint32_t(TextureOp::SelectArg1));
    EXPECT_EQ(device.GetTextureStageState(1, TextureStageState::ColorOp), uint32_t(TextureOp::Disable));
    EXPECT_EQ(device.GetTextureStageState(3, TextureStageState::TexCoordIndex), 3u);
    EXPECT_EQ(device.GetSamplerState(2, SamplerState::AddressU), uint32_t(Address::Wrap));
    EXPECT_EQ(device.GetSamplerState(2, SamplerState::MipFilter), uint32_t(Filter::None));
    EXPECT_EQ(device.GetViewport(), (Viewport{0, 0, 640, 480, 0, 1}));
    EXPECT_FALSE(device.IsLightEnabled(0));
}

TEST(RecordingDevice, RecordsChangesAndRefusesValuesOutOfRange) {
    RecordingDevice device;
    device.SetCallLog(true);
    EXPECT_EQ(device.SetRenderState(RenderState::ZWriteEnable, false), Result::Ok);
    EXPECT_EQ(device.SetRenderState(RenderState::ZWriteEnable, false), Result::Ok);
    EXPECT_EQ(device.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha), Result::Ok);
    EXPECT_EQ(device.SetRenderState(RenderState::ZFunc, 0u), Result::InvalidParam);
    EXPECT_EQ(device.SetRenderState(RenderState::Lighting, 2u), Result::InvalidParam);
    EXPECT_EQ(device.SetTextureStageState(0, TextureStageState::ColorOp, 11u), Result::InvalidParam);
    EXPECT_EQ(device.SetTextureStageState(8, TextureStageState::ColorOp, TextureOp::Add), Result::InvalidParam);
    EXPECT_EQ(device.SetSamplerState(0, SamplerState::AddressU, 5u), Result::InvalidParam);
    EXPECT_EQ(device.SetClipPlane(6, ClipPlane{1, 0, 0, 0}), Result::InvalidParam);
    EXPECT_EQ(device.SetViewport({600, 0, 600, 10, 0, 1}), Result::InvalidParam);

    EXPECT_EQ(device.GetRenderState(RenderState::ZWriteEnable), 0u);
    EXPECT_EQ(device.GetRenderState(RenderState::SrcBlend), uint32_t(Blend::SrcAlpha));
    EXPECT_EQ(device.GetRenderState(RenderState::ZFunc), uint32_t(Compare::LessEqual));
    EXPECT_EQ(device.Stats().stateCalls, 3u);
    EXPECT_EQ(device.Stats().stateChanges, 2u);
    ASSERT_GE(device.CallLog().size(), 2u);
    EXPECT_EQ(device.CallLog()[0], "SetRenderState(ZWriteEnable, 0)");
}

TEST(RecordingDevice, FrameCycleIsCheckedAndDrawsAreRecorded) {
    RecordingDevice device(64, 64);
    device.SetCallLog(true);
    const ColourVertex tri[3] = {{0, 0, 0, 0xFFFFFFFF}, {1, 0, 0, 0xFFFFFFFF}, {0, 1, 0, 0xFFFFFFFF}};
    ASSERT_EQ(device.SetVertexFormat(kColourFormat), Result::Ok);
    EXPECT_EQ(device.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, tri, sizeof(ColourVertex)),
              Result::InvalidCall);  // outside a scene
    EXPECT_EQ(device.EndScene(), Result::InvalidCall);
    ASSERT_EQ(device.BeginScene(), Result::Ok);
    EXPECT_EQ(device.BeginScene(), Result::InvalidCall);
    Matrix4 world;
    world.SetTranslation({3, 4, 5});
    device.SetTransform(TransformKind::World, world);
    EXPECT_EQ(device.DrawPrimitiveUP(PrimitiveType::TriangleList, 1, tri, sizeof(ColourVertex)), Result::Ok);
    EXPECT_EQ(device.Present(), Result::InvalidCall);  // inside a scene
    EXPECT_EQ(device.Clear({}, kClearTarget | kClearDepth, Color(0xFF000000), 1.0f), Result::Ok);
    ASSERT_EQ(device.EndScene(), Result::Ok);
    EXPECT_EQ(device.Present(), Result::Ok);

    EXPECT_EQ(device.Stats().drawCalls, 1u);
    EXPECT_EQ(device.Stats().primitives, 1u);
    ASSERT_EQ(device.Draws().size(), 1u);
    EXPECT_EQ(device.Draws()[0].world, world);
    ASSERT_EQ(device.Clears().size(), 1u);
    EXPECT_EQ(device.Clears()[0].rect.right, 64);
}

TEST(RecordingDevice, ClearIsLimitedToTheViewport) {
    RecordingDevice device(100, 80);
    device.SetCallLog(true);
    ASSERT_EQ(device.SetViewport({10, 20, 30, 40, 0, 1}), Result::Ok);
    const ClearRect partly{0, 0, 25, 90};
    device.Clear({&partly, 1}, kClearTarget, Color(), 1);
    device.Clear({}, kClearDepth, Color(), 1);
    const ClearRect outside{50, 0, 60, 10};
    device.Clear({&outside, 1}, kClearTarget, Color(), 1);
    ASSERT_EQ(device.Clears().size(), 2u);
    const ClearRect a = device.Clears()[0].rect, b = device.Clears()[1].rect;
    EXPECT_EQ((std::vector<int>{a.left, a.top, a.right, a.bottom}), (std::vector<int>{10, 20, 25, 60}));
    EXPECT_EQ((std::vector<int>{b.left, b.top, b.right, b.bottom}), (std::vector<int>{10, 20, 40, 60}));
}

TEST(RecordingDevice, ScriptedLossNeedsDynamicBuffersReleasedAndSurvivesFailedResets) {
    RecordingDevice device;
    auto dynamic = device.CreateVertexBuffer(64, BufferUsage::Dynamic);
    auto managed = device.CreateTexture(4, 4, 1);
    device.SetRenderState(RenderState::Lighting, false);
    device.ScriptLoss(2, 1);

    EXPECT_EQ(device.TestCooperativeLevel(), Result::DeviceLost);
    EXPECT_EQ(device.Reset(), Result::InvalidCall);  // a dynamic buffer still lives
    dynamic.object.reset();
    EXPECT_EQ(device.Reset(), Result::DeviceLost);  // not resettable yet
    EXPECT_EQ(device.TestCooperativeLevel(), Result::DeviceLost);
    EXPECT_EQ(device.TestCooperativeLevel(), Result::DeviceNotReset);
    EXPECT_EQ(device.Present(), Result::DeviceLost);
    EXPECT_EQ(device.Reset(), Result::DeviceLost);  // the scripted failure: still lost
    EXPECT_TRUE(device.IsLost());
    EXPECT_EQ(device.TestCooperativeLevel(), Result::DeviceNotReset);
    EXPECT_EQ(device.Reset(), Result::Ok);
    EXPECT_EQ(device.TestCooperativeLevel(), Result::Ok);

    EXPECT_EQ(device.GetRenderState(RenderState::Lighting), 1u);  // back at its default
    EXPECT_EQ(device.Stats().TexturesAlive(), 1u);                // managed objects survive
    auto again = device.CreateVertexBuffer(128, BufferUsage::Dynamic);
    EXPECT_EQ(device.Stats().VertexBuffersAlive(), 1u);
}

TEST(RecordingDevice, TextureRowsArePaddedAndCopiedRowByRow) {
    RecordingDevice device;
    auto created = device.CreateTexture(5, 3, 1);
    ASSERT_EQ(created.result, Result::Ok);
    DeviceTexture& texture = *created.object;
    EXPECT_GT(texture.Pitch(), 5u * 4);

    Image image(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) image.At(x, y) = Color::FromRGBA(uint8_t(x * 40), uint8_t(y * 70), 9, 255);
    ASSERT_EQ(CopyImageToTexture(image, texture), Result::Ok);
    LockedRect locked;
    ASSERT_EQ(texture.LockRect(0, locked, kLockReadOnly), Result::Ok);
    EXPECT_EQ(texture.LockRect(0, locked), Result::InvalidCall);
    // Pixel (4, 2): stored blue, green, red, alpha at row 2 of the real pitch.
    const uint8_t* p = locked.bits + 2 * locked.pitch + 4 * 4;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{9, 140, 160, 255}));
    ASSERT_EQ(texture.UnlockRect(0), Result::Ok);

    Image back;
    ASSERT_EQ(CopyTextureToImage(texture, back), Result::Ok);
    ASSERT_EQ(back.Width(), 5);
    EXPECT_EQ(std::memcmp(back.Pixels(), image.Pixels(), 5 * 3 * 4), 0);
    EXPECT_EQ(CopyImageToTexture(Image(4, 3), texture), Result::InvalidParam);
}

TEST(RecordingDevice, ReleasedObjectsAreUnboundAndCounted) {
    RecordingDevice device;
    auto texture = device.CreateTexture(2, 2, 0);
    EXPECT_EQ(texture.object->LevelCount(), 2u);
    auto buffer = device.CreateVertexBuffer(48, BufferUsage::Static);
    device.SetTexture(1, texture.object.get());
    device.SetStreamSource(buffer.object.get(), 16);
    EXPECT_EQ(device.Stats().TexturesAlive(), 1u);
    texture.object.reset();
    buffer.object.reset();
    EXPECT_EQ(device.GetTexture(1), nullptr);
    EXPECT_EQ(device.GetStreamSource(), nullptr);
    EXPECT_EQ(device.Stats().TexturesAlive(), 0u);
    EXPECT_EQ(device.Stats().VertexBuffersAlive(), 0u);
}

TEST(RecordingDevice, BufferOverrunsAreRefused) {
    RecordingDevice device;
    auto vb = device.CreateVertexBuffer(3 * sizeof(ColourVertex), BufferUsage::Dynamic);
    auto ib = device.CreateIndexBuffer(6 * 2, IndexFormat::Index16, BufferUsage::Dynamic);
    uint8_t* bytes = nullptr;
    EXPECT_EQ(vb.object->Lock(0, 4 * sizeof(ColourVertex), bytes, kLockDiscard), Result::InvalidParam);
    ASSERT_EQ(ib.object->Lock(0, 0, bytes, kLockDiscard), Result::Ok);
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};  // vertex 3 is past the buffer
    std::memcpy(bytes, indices, sizeof indices);
    ASSERT_EQ(ib.object->Unlock(), Result::Ok);

    device.BeginScene();
    device.SetVertexFormat(kColourFormat);
    device.SetStreamSource(vb.object.get(), sizeof(ColourVertex));
    device.SetIndices(ib.object.get());
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 3, 0, 1), Result::Ok);
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 2), Result::InvalidParam);
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 3, 3, 2),
              Result::InvalidParam);  // more indices than the buffer holds
    EXPECT_EQ(device.DrawPrimitive(PrimitiveType::TriangleList, 1, 1), Result::InvalidParam);
    EXPECT_EQ(device.Stats().drawCalls, 1u);
}

TEST(RecordingDevice, DrawsReadEachRunOfIndicesOncePerWriteAndStillRefuseABadOne) {
    RecordingDevice device;
    auto vb = device.CreateVertexBuffer(4 * sizeof(ColourVertex), BufferUsage::Static);
    auto ib = device.CreateIndexBuffer(6 * 2, IndexFormat::Index16, BufferUsage::Static);
    auto write = [&](std::initializer_list<uint16_t> indices) {
        uint8_t* bytes = nullptr;
        ASSERT_EQ(ib.object->Lock(0, 0, bytes), Result::Ok);
        std::memcpy(bytes, std::data(indices), indices.size() * 2);
        ASSERT_EQ(ib.object->Unlock(), Result::Ok);
    };
    write({0, 1, 2, 0, 2, 3});
    device.BeginScene();
    device.SetVertexFormat(kColourFormat);
    device.SetStreamSource(vb.object.get(), sizeof(ColourVertex));
    device.SetIndices(ib.object.get());
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 2), Result::Ok);
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 1, 0, 4, 0, 1), Result::Ok);
    // Index 3 from base vertex 1 is vertex 4, past the stream.
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 1, 0, 4, 0, 2), Result::InvalidParam);
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, -1, 0, 4, 0, 2), Result::InvalidParam);
    EXPECT_EQ(ib.object->IndicesScanned(), 9u);  // two runs: all six, then the first three

    write({0, 1, 2, 0, 2, 4});
    EXPECT_EQ(device.DrawIndexedPrimitive(PrimitiveType::TriangleList, 0, 0, 4, 0, 2), Result::InvalidParam);
    EXPECT_EQ(ib.object->IndicesScanned(), 15u);
    EXPECT_EQ(device.Stats().drawCalls, 4u);
}

TEST(DeviceMesh, RefusesMeshesWithoutFaces) {
    RecordingDevice device;
    EXPECT_EQ(DeviceMesh::Create(device, 0, 3, kFormatPosition).result, Result::InvalidParam);
    EXPECT_EQ(DeviceMesh::Create(device, 1, 0, kFormatPosition).result, Result::InvalidParam);
    EXPECT_EQ(device.Stats().VertexBuffersAlive(), 0u);
}

TEST(DeviceMesh, UsesThirtyTwoBitIndicesPastSixtyFiveThousandVertices) {
    RecordingDevice device;
    auto small = DeviceMesh::Create(device, 1, 65535, kFormatPosition);
    auto large = DeviceMesh::Create(device, 1, 65536, kFormatPosition);
    ASSERT_EQ(large.result, Result::Ok);
    EXPECT_EQ(small.object->IndexType(), IndexFormat::Index16);
    EXPECT_EQ(large.object->IndexType(), IndexFormat::Index32);

    uint8_t* bytes = nullptr;
    ASSERT_EQ(large.object->LockIndexBuffer(bytes), Result::Ok);
    const uint32_t face[3] = {65533, 65534, 65535};
    std::memcpy(bytes, face, sizeof face);
    large.object->UnlockIndexBuffer();
    device.BeginScene();
    EXPECT_EQ(large.object->DrawSubset(0), Result::Ok);
    EXPECT_EQ(device.GetIndices()->Format(), IndexFormat::Index32);
    EXPECT_EQ(device.Stats().drawCalls, 1u);
}

TEST(DeviceMesh, DrawsEachSubsetInOneCall) {
    RecordingDevice device;
    auto created = DeviceMesh::Create(device, 4, 3, kFormatPosition | kFormatNormal | FormatTex(1));
    ASSERT_EQ(created.result, Result::Ok);
    DeviceMesh& mesh = *created.object;
    EXPECT_EQ(mesh.Stride(), 32u);
    uint32_t* attributes = nullptr;
    ASSERT_EQ(mesh.LockAttributeBuffer(attributes), Result::Ok);
    const uint32_t subsets[4] = {1, 0, 1, 3};
    std::memcpy(attributes, subsets, sizeof subsets);
    EXPECT_EQ(mesh.DrawSubset(0), Result::InvalidCall);  // still locked
    mesh.UnlockAttributeBuffer();
    EXPECT_EQ(mesh.SubsetCount(), 4u);

    device.SetCallLog(true);
    device.BeginScene();
    for (uint32_t s = 0; s < 5; ++s) EXPECT_EQ(mesh.DrawSubset(s), Result::Ok);
    ASSERT_EQ(device.Draws().size(), 3u);  // subsets 2 and 4 have no faces
    EXPECT_EQ(device.Draws()[0].primitiveCount, 1u);
    EXPECT_EQ(device.Draws()[1].primitiveCount, 2u);
    EXPECT_EQ(device.Draws()[2].primitiveCount, 1u);
    EXPECT_EQ(device.CallLog()[device.CallLog().size() - 1], "DrawIndexedRun(4, 9, 1)");  // subset 3 sorted last
    // The buffers were bound once, and the spans came from the sort, not from the indices.
    EXPECT_EQ(device.Stats().stateCalls, 3u);
    EXPECT_EQ(device.GetIndices()->IndicesScanned(), 0u);

    // Indices written behind the mesh's back are read again, and one past the vertices refused.
    uint8_t* bytes = nullptr;
    ASSERT_EQ(device.GetIndices()->Lock(0, 2, bytes), Result::Ok);
    const uint16_t pastTheEnd = 3;
    std::memcpy(bytes, &pastTheEnd, 2);
    ASSERT_EQ(device.GetIndices()->Unlock(), Result::Ok);
    EXPECT_EQ(mesh.DrawSubset(0), Result::InvalidParam);
}

TEST(RecordingAdapter, RefusesUnofferedMultisamplingAndModes) {
    RecordingAdapter adapter;
    adapter.SetClientSize(320, 200);
    EXPECT_EQ(adapter.CreateDevice({0, 0, true, 4}).result, Result::NotAvailable);
    EXPECT_EQ(adapter.CreateDevice({1000, 700, false, 0}).result, Result::NotAvailable);
    auto windowed = adapter.CreateDevice({0, 0, true, 0});
    ASSERT_EQ(windowed.result, Result::Ok);
    EXPECT_EQ(windowed.object->BackBufferWidth(), 320u);
    auto full = adapter.CreateDevice({800, 600, false, 0});
    ASSERT_EQ(full.result, Result::Ok);
    EXPECT_EQ(full.object->BackBufferHeight(), 600u);
}

TEST(TextureFile, ResizesOnRequestAndBuildsTheMipChain) {
    platform_test::TempFolder folder;
    Image picture(4, 2);
    picture.Fill(Color(0xFF204060));
    picture.At(0, 0) = Color(0xFFFFFFFF);
    const std::string path = folder / "chain.tga";
    ASSERT_TRUE(picture.SaveTGA(path));
    RecordingDevice device;

    TextureFileOptions whole;
    whole.mipLevels = 0;
    auto chain = CreateTextureFromFile(device, path, whole);
    ASSERT_EQ(chain.result, Result::Ok);
    ASSERT_EQ(chain.object->LevelCount(), 3u);  // 4 x 2, 2 x 1, 1 x 1
    Image level1;
    ASSERT_EQ(CopyTextureToImage(*chain.object, level1, 1), Result::Ok);
    ASSERT_EQ(level1.Width(), 2);
    // The mean of white and three of (0x20, 0x40, 0x60), rounded.
    EXPECT_EQ(level1.At(0, 0), Color::FromRGBA(88, 112, 136, 255));
    EXPECT_EQ(level1.At(1, 0), Color(0xFF204060));

    TextureFileOptions doubled;
    doubled.width = 8;
    doubled.height = 4;
    doubled.filter = Filter::Point;
    auto larger = CreateTextureFromFile(device, path, doubled);
    ASSERT_EQ(larger.result, Result::Ok);
    Image big;
    ASSERT_EQ(CopyTextureToImage(*larger.object, big), Result::Ok);
    EXPECT_EQ(big.At(1, 1), Color(0xFFFFFFFF));
    EXPECT_EQ(big.At(2, 1), Color(0xFF204060));

    platform_test::WriteRaw(folder / "bad.tga", "not a picture");
    EXPECT_EQ(CreateTextureFromFile(device, folder / "bad.tga").result, Result::BadFile);
}

}  // namespace
