#pragma once
// Builds the models of an ".an8" file while its text is parsed: materials and textures,
// one mesh per object (its meshes, subdivisions and primitives merged and finished),
// one model tree per figure with the meshes of its bones, and the figures' sequences as
// keyed tracks. Every figure becomes an entry of the actor set; a file without figures
// gets one entry per object.
//
// File coordinates (x, y, z) become (z, x, y) times the load scale in the engine.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Array.h"
#include "core/Color.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "engine/An8Parser.h"
#include "engine/JointTrack.h"
#include "engine/Material.h"
#include "engine/ModelLoadSettings.h"

class ActorSet;
class Mesh;
class ModelNode;
class Renderer;
class Stream;

class An8ModelBuilder : public An8Actions {
public:
    // Bounds on what a file can make a primitive generate.
    static constexpr int32_t kMaxLongitude = 512;
    static constexpr int32_t kMaxLatitude = 512;
    static constexpr int32_t kMaxCubeDivisions = 256;
    // All primitives of one file together make at most this many vertices; a primitive
    // beyond it is skipped, so a short file cannot ask for unbounded geometry.
    static constexpr int64_t kMaxPrimitiveVertices = int64_t(1) << 22;

    // Entries go to the set; problems are reported on the messages stream.
    An8ModelBuilder(Renderer& renderer, ActorSet& set, float scale, const ModelLoadSettings& settings,
                    Stream& messages);

    // After a whole file: a file without figures gets one entry per object.
    void Finish();

    void OnHeader() override;
    void OnVersion(const std::string& text) override { version = text; }
    void OnBuild(const std::string& text) override { build = text; }
    void OnFrameRate(int32_t rate) override;
    void OnTextureFile(const std::string& path) override;
    void OnTexture(const std::string& name) override;
    void OnRgb(int32_t red, int32_t green, int32_t blue) override;
    void OnTextureName(const std::string& name) override { textureName_ = name; }
    void OnBlendMode(int mode) override { blendMode_ = mode; }
    void OnAlphaMode(int mode) override { alphaMode_ = mode; }
    void OnSurfaceColour(An8Colour colour, bool back) override;
    void OnAlpha(float alpha, bool back) override;
    void OnPhongSize(int32_t size, bool back) override;
    void OnMaterial(const std::string& name, bool fileLevel) override;
    void OnOrigin(const Vector3& origin) override;
    void OnOrientation(const Quaternion& orientation) override;
    void OnPlacement(An8Placement where) override;
    void OnGroup() override { groupBase_.SetIdentity(); }
    void OnComponentName(const std::string& name) override { componentName_ = name; }
    void OnComponentMaterial(const std::string& name) override;
    void OnMaterialName(const std::string& name) override;
    void OnSmoothAngle(int32_t degrees) override;
    void OnPoint(const Vector3& point) override;
    void OnTexCoord(float u, float v) override { texCoords_.emplace_back(u, 1.0f - v); }
    void OnEdge(int32_t first, int32_t second, bool hasThird, int32_t third) override;
    void OnFace(int32_t materialIndex, const std::vector<An8Corner>& corners) override;
    void OnMeshEnd() override { EndComponent(); }
    void OnDiameter(float diameter) override { diameter_ = diameter; }
    void OnLength(float length) override { length_ = length; }
    void OnTopDiameter(float diameter) override { topDiameter_ = diameter; }
    void OnLongLat(int32_t longitude, int32_t latitude) override;
    void OnCapStart() override { capStart_ = true; }
    void OnCapEnd() override { capEnd_ = true; }
    void OnCubeScale(const Vector3& scale) override { cubeScale_ = scale; }
    void OnCubeDivisions(int32_t x, int32_t y, int32_t z) override;
    void OnPrimitive(An8Primitive kind, bool inBone) override;
    void OnObject(const std::string& name) override;
    void OnBoneBegin() override;
    void OnBoneLength(float length) override;
    void OnBoneOrientation(const Quaternion& orientation) override;
    void OnBone(const std::string& name) override;
    void OnNamedObjectBegin(const std::string& object) override;
    void OnNamedObjectName(const std::string& name) override;
    void OnNamedObject(const std::string& object) override;
    void OnFigure(const std::string& name) override;
    void OnSequenceFigure(const std::string& name) override;
    void OnFrames(int32_t frames) override;
    void OnFloatKey(int32_t frame, float value) override;
    void OnJointAngle(const std::string& bone, const std::string& axis) override;
    void OnSequence(const std::string& name) override;

    // Stored, not used.
    std::string version;
    std::string build;

private:
    struct NamedMaterial {
        std::string name;
        Material* material = nullptr;
    };
    struct TextureEntry {
        std::string name;
        TextureHandle texture = nullptr;
        bool hasAlpha = false;
    };

    // --- coordinates
    Vector3 Converted(const Vector3& point) const;
    Matrix4 ConvertedTranslation(const Vector3& offset) const;
    Matrix4 ConvertedRotation(const Quaternion& rotation) const;
    // A file point through the conversion and the component and group bases.
    Vector3 Placed(const Vector3& point) const;

    // --- meshes
    Mesh& CurrentMesh();
    int AddVertex(const Vector3& position, const Vector2* texCoords);
    // With the current face material, or the one given.
    void AddTriangle(int a, int b, int c);
    void AddTriangle(int a, int b, int c, Material* material);
    int CornerVertex(int point, const Vector2* texCoords);
    bool FaceMaterialHasTexture() const;
    Material* FindMaterial(const std::string& name) const;
    void EndComponent();
    void ResetPrimitive();
    // Merges, links and smooths the current mesh, builds its levels and hands it to the
    // renderer; the next component starts a new mesh.
    Mesh* FinishCurrentMesh(const std::string& name, int smoothingDegrees);

    // --- primitives (An8Primitives.cpp)
    // The vertices the primitive would make; false (and a message) beyond the budget.
    bool FitsBudget(An8Primitive kind);
    void GenerateSphere();
    void GenerateCylinder();
    void GenerateCube();
    void GenerateCubeSide(const Vector3& corner, const Vector3& across, const Vector3& up, int columns, int rows);
    void AddRingCells(int firstRing, int rings, int perRing);

    // --- figures and sequences
    ModelNode* NewestNode() const;
    std::vector<ModelNode*>& NodesAt(int depth);
    ModelNode* FindFigure(const std::string& name) const;
    void AddKeyedTrack(const std::string& name);

    Renderer& renderer_;
    ActorSet& set_;
    const float scale_;
    const ModelLoadSettings settings_;
    Stream& messages_;

    Mesh* mesh_ = nullptr;  // made on first use
    std::string componentName_;
    Material* faceMaterial_ = nullptr;
    Color colour_ = Color(0xFFFFFFFFu);
    std::string textureName_;
    int blendMode_ = 0;
    int alphaMode_ = 0;
    int smoothing_ = 360;
    int32_t frameRate_ = 24;

    Material scratch_;
    std::string texturePath_;
    std::vector<TextureEntry> textures_;
    std::vector<NamedMaterial> fileMaterials_;
    std::vector<NamedMaterial> objectMaterials_;
    std::vector<Material*> faceMaterialTable_;

    Matrix4 transform_;
    Matrix4 groupBase_;
    Matrix4 componentBase_;
    // Per point of the current component (a file's indices count from the component's
    // first point): the vertices made for it.
    std::vector<std::vector<int>> pointVertices_;
    std::vector<Vector2> texCoords_;

    float diameter_ = 1.0f;
    float length_ = 1.0f;
    float topDiameter_ = -1.0f;
    int32_t longitude_ = 12;
    int32_t latitude_ = 8;
    bool capStart_ = false;
    bool capEnd_ = false;
    Vector3 cubeScale_{1, 1, 1};
    int32_t cubeDivisions_[3] = {1, 1, 1};
    int64_t primitiveVertices_ = 0;

    std::vector<std::string> objectNames_;
    std::vector<Mesh*> objectMeshes_;
    std::vector<std::string> figureNames_;
    std::vector<ModelNode*> figureRoots_;

    int boneDepth_ = -1;
    std::vector<std::vector<ModelNode*>> nodesByDepth_;
    std::vector<Matrix4> boneLengths_;

    ModelNode* sequenceTarget_ = nullptr;
    float sequenceLength_ = 0.0f;
    std::vector<JointTrack> jointTracks_;  // by bone name (as bytes), then axis
    std::vector<float> keyTimes_;
    std::vector<float> keyValues_;
};
