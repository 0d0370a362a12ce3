#include "engine/An8ModelBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "core/FileHelpers.h"
#include "core/MathUtil.h"
#include "core/Stream.h"
#include "core/String.h"
#include "engine/ActorSet.h"
#include "engine/KeyedPoseTrack.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"

namespace {

constexpr float kDegrees = std::numbers::pi_v<float> / 180.0f;
// Primitives inside bones and objects holding a primitive are smoothed at most this much.
constexpr int kPrimitiveSmoothing = 45;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

gfx::ColorValue ColourValue(Color colour) {
    const auto floats = colour.ToFloats();
    return {floats[0], floats[1], floats[2], floats[3]};
}

// The default material every material of a file starts from.
void ResetScratch(Material& material) {
    material = Material();
    const float grey = 224.0f / 255.0f;
    material.ambient = {grey, grey, grey, 1.0f};
    material.diffuse = {grey, grey, grey, 1.0f};
    material.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.emissive = {0.0f, 0.0f, 0.0f, 1.0f};
    material.power = 15.0f;
}

// Colour operations of a texture stage by blend mode: decal shows the texture alone,
// lighten adds it, darken modulates (the stage's default).
constexpr uint32_t kSelectTexture = 2;
constexpr uint32_t kAdd = 7;
constexpr uint32_t kBlendTextureAlpha = 13;
constexpr uint32_t kArgumentDiffuse = 0;

uint32_t ColourOperation(int blendMode, uint32_t otherwise) {
    if (blendMode == 0) return kSelectTexture;
    if (blendMode == 2) return kAdd;
    return otherwise;
}

// "a\\\\b" as written in a file is "a\\b": each doubled backslash counts once.
std::string ReduceDoubledBackslashes(const std::string& path) {
    std::string reduced;
    for (size_t i = 0; i < path.size(); ++i) {
        reduced += path[i];
        if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\') ++i;
    }
    return reduced;
}

int32_t Clamped(int32_t value, int32_t low, int32_t high) { return std::clamp(value, low, high); }

bool HasTexture(const Material* material) { return material != nullptr && !material->stages.IsEmpty(); }

}  // namespace

An8ModelBuilder::An8ModelBuilder(Renderer& renderer, ActorSet& set, float scale, const ModelLoadSettings& settings,
                                 Stream& messages)
    : renderer_(renderer), set_(set), scale_(scale), settings_(settings), messages_(messages) {
    ResetScratch(scratch_);
}

// --- header and environment

void An8ModelBuilder::OnHeader() {
    textures_.clear();
    fileMaterials_.clear();
    objectMaterials_.clear();
    faceMaterialTable_.clear();
    objectNames_.clear();
    objectMeshes_.clear();
    figureNames_.clear();
    figureRoots_.clear();
    nodesByDepth_.clear();
    boneLengths_.clear();
    boneDepth_ = -1;
    transform_.SetIdentity();
    groupBase_.SetIdentity();
    componentBase_.SetIdentity();
    ResetPrimitive();
    textureName_.clear();
    smoothing_ = 360;
    blendMode_ = 0;
    alphaMode_ = 0;
    frameRate_ = 24;
    ResetScratch(scratch_);
}

// A rate of 0 or below would divide every key time by nothing: the rate stays.
void An8ModelBuilder::OnFrameRate(int32_t rate) {
    if (rate > 0) {
        frameRate_ = rate;
        return;
    }
    messages_ << "AN8: frame rate " << rate << " ignored" << Stream::Endl;
}

// --- textures and materials

void An8ModelBuilder::OnTextureFile(const std::string& path) { texturePath_ = ReduceDoubledBackslashes(path); }

void An8ModelBuilder::OnTexture(const std::string& name) {
    String path(texturePath_.c_str());
    texturePath_.clear();
    if (String::EqualsNoCaseString(path.Extension(), "gif")) {
        path = path.DirectoryPart() + path.FileTitle() + ".tga";
    }
    TextureEntry entry{name, nullptr, false};
    // The texture loader treats a missing file as fatal; a model naming one only loses
    // that texture.
    if (!path.IsEmpty() && FileExists(path)) {
        entry.texture = renderer_.CreateTextureImage(path, entry.hasAlpha, settings_.textureWidth,
                                                     settings_.textureHeight, 1, 3, 0x30000, 5, 0x30000, true);
    } else {
        messages_ << "AN8: texture file \"" << path << "\" not found" << Stream::Endl;
    }
    textures_.push_back(entry);
}

void An8ModelBuilder::OnRgb(int32_t red, int32_t green, int32_t blue) {
    colour_ = Color::FromRGBA(uint8_t(Clamped(red, 0, 255)), uint8_t(Clamped(green, 0, 255)),
                              uint8_t(Clamped(blue, 0, 255)), 255);
}

void An8ModelBuilder::OnSurfaceColour(An8Colour colour, bool back) {
    if (back) return;
    switch (colour) {
        case An8Colour::Ambient: scratch_.ambient = ColourValue(colour_); return;
        case An8Colour::Specular: scratch_.specular = ColourValue(colour_); return;
        case An8Colour::Emissive: scratch_.emissive = ColourValue(colour_); return;
        case An8Colour::Diffuse: break;
    }
    scratch_.diffuse = ColourValue(colour_);
    const auto found = std::find_if(textures_.begin(), textures_.end(),
                                    [&](const TextureEntry& entry) { return entry.name == textureName_; });
    TextureStageSettings stage;
    if (found != textures_.end() && found->texture != nullptr) {
        stage.texture = found->texture;
        stage.colorOp = alphaMode_ == 1 ? kBlendTextureAlpha : ColourOperation(blendMode_, stage.colorOp);
        if (!(found->hasAlpha && alphaMode_ == 2)) stage.alphaArg1 = kArgumentDiffuse;
    } else if (found == textures_.end() && textureName_ == "CHECKS") {
        stage.texture = renderer_.GetCheckerTexture();
        stage.colorOp = ColourOperation(blendMode_, stage.colorOp);
        stage.alphaArg1 = kArgumentDiffuse;
    } else {
        return;
    }
    scratch_.stages.Clear();
    scratch_.stages.Append(stage);
}

void An8ModelBuilder::OnAlpha(float alpha, bool back) {
    if (back) return;
    const float value = alpha / 255.0f;
    scratch_.ambient.a = scratch_.diffuse.a = scratch_.specular.a = scratch_.emissive.a = value;
}

void An8ModelBuilder::OnPhongSize(int32_t size, bool back) {
    if (!back) scratch_.power = float(size) - 1.0f;
}

void An8ModelBuilder::OnMaterial(const std::string& name, bool fileLevel) {
    Material* material = renderer_.CreateMaterial();
    *material = scratch_;
    material->name = name.c_str();
    (fileLevel ? fileMaterials_ : objectMaterials_).push_back({name, material});
    ResetScratch(scratch_);
}

Material* An8ModelBuilder::FindMaterial(const std::string& name) const {
    for (const std::vector<NamedMaterial>* table : {&objectMaterials_, &fileMaterials_}) {
        for (const NamedMaterial& entry : *table) {
            if (entry.name == name) return entry.material;
        }
    }
    return nullptr;
}

// --- placement

Vector3 An8ModelBuilder::Converted(const Vector3& p) const { return {p.z * scale_, p.x * scale_, p.y * scale_}; }

Matrix4 An8ModelBuilder::ConvertedTranslation(const Vector3& offset) const {
    Matrix4 m;
    m.SetTranslation(Converted(offset));
    return m;
}

// The file's rotation in engine axes: the axis permutation on both sides; the scale
// cancels out.
Matrix4 An8ModelBuilder::ConvertedRotation(const Quaternion& rotation) const {
    const Matrix4 r = rotation.ToMatrix();
    Matrix4 converted;
    // Engine axis i is file axis (i + 2) mod 3.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            converted.m[4 * row + column] = r.m[4 * ((row + 2) % 3) + (column + 2) % 3];
        }
    }
    return converted;
}

Vector3 An8ModelBuilder::Placed(const Vector3& point) const {
    return TransformPoint(groupBase_, TransformPoint(componentBase_, Converted(point)));
}

void An8ModelBuilder::OnOrigin(const Vector3& origin) {
    transform_ = Matrix4::Multiply(ConvertedTranslation(origin), transform_);
}

void An8ModelBuilder::OnOrientation(const Quaternion& orientation) {
    transform_ = Matrix4::Multiply(ConvertedRotation(orientation), transform_);
}

void An8ModelBuilder::OnPlacement(An8Placement where) {
    switch (where) {
        case An8Placement::Group: groupBase_ = transform_; break;
        case An8Placement::Component: componentBase_ = transform_; break;
        case An8Placement::Pivot: break;
        case An8Placement::NamedObject:
            if (ModelNode* node = NewestNode()) node->local = Matrix4::Multiply(node->local, transform_);
            break;
    }
    transform_.SetIdentity();
}

// --- meshes

// Made on first use, so a file without a header, or an object without components, still
// builds into a mesh of its own and no mesh is left over at the end.
Mesh& An8ModelBuilder::CurrentMesh() {
    if (mesh_ == nullptr) mesh_ = renderer_.CreateMesh(0, 0, 0, 0);
    return *mesh_;
}

void An8ModelBuilder::OnComponentMaterial(const std::string& name) {
    if (Material* material = FindMaterial(name)) faceMaterial_ = material;
}

void An8ModelBuilder::OnMaterialName(const std::string& name) { faceMaterialTable_.push_back(FindMaterial(name)); }

void An8ModelBuilder::OnSmoothAngle(int32_t degrees) { smoothing_ = std::min(smoothing_, int(degrees)); }

int An8ModelBuilder::AddVertex(const Vector3& position, const Vector2* texCoords) {
    Mesh& mesh = CurrentMesh();
    MeshVertex vertex;
    vertex.position = &mesh.positions[mesh.AddPosition(position)];
    vertex.normal = Vector3(0, 0, 1);
    vertex.color = Color(kWhite);
    if (texCoords != nullptr) vertex.texCoords.Append(*texCoords);
    return mesh.AddVertex(vertex);
}

void An8ModelBuilder::AddTriangle(int a, int b, int c) { AddTriangle(a, b, c, faceMaterial_); }

void An8ModelBuilder::AddTriangle(int a, int b, int c, Material* material) {
    Mesh& mesh = CurrentMesh();
    MeshFace face;
    face.material = material;
    face.corners[0] = &mesh.vertices[a];
    face.corners[1] = &mesh.vertices[b];
    face.corners[2] = &mesh.vertices[c];
    mesh.AddFace(face);
}

void An8ModelBuilder::OnPoint(const Vector3& point) { pointVertices_.push_back({AddVertex(Placed(point), nullptr)}); }

void An8ModelBuilder::OnEdge(int32_t first, int32_t second, bool hasThird, int32_t third) {
    if (!hasThird || third != -1) return;
    const int points = int(pointVertices_.size());
    if (first < 0 || first >= points || second < 0 || second >= points) {
        messages_ << "AN8: edge (" << first << " " << second << ") names a point out of range" << Stream::Endl;
        return;
    }
    Mesh& mesh = CurrentMesh();
    MeshEdge edge;
    edge.ends[0] = mesh.vertices[pointVertices_[size_t(first)][0]].position;
    edge.ends[1] = mesh.vertices[pointVertices_[size_t(second)][0]].position;
    mesh.AddEdge(edge);
}

bool An8ModelBuilder::FaceMaterialHasTexture() const { return HasTexture(faceMaterial_); }

// The point's vertex with these texture coordinates: its first vertex takes them when
// it has none yet; another vertex of the point that has them is shared; else a copy.
int An8ModelBuilder::CornerVertex(int point, const Vector2* texCoords) {
    std::vector<int>& made = pointVertices_[size_t(point)];
    Mesh& mesh = CurrentMesh();
    if (texCoords == nullptr) return made[0];
    MeshVertex& first = mesh.vertices[made[0]];
    if (first.texCoords.IsEmpty()) {
        first.texCoords.Append(*texCoords);
        return made[0];
    }
    for (int vertex : made) {
        const Vector2Array& coords = mesh.vertices[vertex].texCoords;
        if (!coords.IsEmpty() && coords[0] == *texCoords) return vertex;
    }
    const int copy = AddVertex(*mesh.vertices[made[0]].position, texCoords);
    made.push_back(copy);
    return copy;
}

void An8ModelBuilder::OnFace(int32_t materialIndex, const std::vector<An8Corner>& corners) {
    const int points = int(pointVertices_.size());
    for (const An8Corner& corner : corners) {
        const bool badTexCoord = corner.texCoord >= int32_t(texCoords_.size());
        if (corner.point < 0 || corner.point >= points || badTexCoord) {
            messages_ << "AN8: a face names point " << corner.point << " or texture coordinate " << corner.texCoord
                      << " out of range; the face is skipped" << Stream::Endl;
            return;
        }
    }
    // A mesh face takes its material from the material list alone.
    Material* material = materialIndex >= 0 && size_t(materialIndex) < faceMaterialTable_.size()
                             ? faceMaterialTable_[size_t(materialIndex)]
                             : nullptr;
    const bool textured = HasTexture(material);
    std::vector<int> vertices;
    for (const An8Corner& corner : corners) {
        const Vector2* coords = textured && corner.texCoord >= 0 ? &texCoords_[size_t(corner.texCoord)] : nullptr;
        vertices.push_back(CornerVertex(corner.point, coords));
    }
    for (size_t i = 1; i + 1 < vertices.size(); ++i) AddTriangle(vertices[0], vertices[i], vertices[i + 1], material);
}

void An8ModelBuilder::ResetPrimitive() {
    diameter_ = 1.0f;
    length_ = 1.0f;
    topDiameter_ = -1.0f;
    longitude_ = 12;
    latitude_ = 8;
    capStart_ = false;
    capEnd_ = false;
    cubeScale_ = Vector3(1, 1, 1);
    for (int32_t& divisions : cubeDivisions_) divisions = 1;
}

void An8ModelBuilder::EndComponent() {
    ResetPrimitive();
    componentBase_.SetIdentity();
    faceMaterial_ = nullptr;
    faceMaterialTable_.clear();
    texCoords_.clear();
    pointVertices_.clear();
}

Mesh* An8ModelBuilder::FinishCurrentMesh(const std::string& name, int smoothingDegrees) {
    Mesh* mesh = &CurrentMesh();
    mesh->name = name.c_str();
    mesh->MergePositions();
    mesh->MergeVertices();
    mesh->UpdateBounds();
    mesh->BuildAdjacency();
    mesh->ComputeNormals(float(smoothingDegrees) * kDegrees);
    mesh->hasNormals = 1;
    mesh->hasColors = settings_.vertexColours ? 1 : 0;
    mesh->UpdateTexCoordSetCount();
    if (settings_.simplify) {
        mesh->BuildLevelsOfDetail(settings_.firstPassFactor, settings_.ratio, settings_.topologyCheck != 0);
    }
    renderer_.CreateModelMeshes(mesh);
    mesh_ = nullptr;
    pointVertices_.clear();
    return mesh;
}

// --- primitives

void An8ModelBuilder::OnLongLat(int32_t longitude, int32_t latitude) {
    longitude_ = std::min(longitude, kMaxLongitude);
    latitude_ = std::min(latitude, kMaxLatitude);
}

// No divisions would leave a side without cells; one is the least that draws it.
void An8ModelBuilder::OnCubeDivisions(int32_t x, int32_t y, int32_t z) {
    const int32_t given[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) cubeDivisions_[i] = Clamped(given[i], 1, kMaxCubeDivisions);
}

bool An8ModelBuilder::FitsBudget(An8Primitive kind) {
    const int64_t l = std::max(longitude_, 0) + int64_t(1);
    const int64_t m = std::max(latitude_, 0) + int64_t(1);
    const int64_t x = cubeDivisions_[0] + int64_t(1);
    const int64_t y = cubeDivisions_[1] + int64_t(1);
    const int64_t z = cubeDivisions_[2] + int64_t(1);
    int64_t count = 2 * (x * y + y * z + z * x);
    if (kind != An8Primitive::Cube) count = (m + 1) * l;
    if (primitiveVertices_ + count <= kMaxPrimitiveVertices) {
        primitiveVertices_ += count;
        return true;
    }
    messages_ << "AN8: primitive \"" << componentName_.c_str() << "\" skipped: the file asks for too many vertices"
              << Stream::Endl;
    return false;
}

void An8ModelBuilder::OnPrimitive(An8Primitive kind, bool inBone) {
    if (!FitsBudget(kind)) {
        EndComponent();
        return;
    }
    switch (kind) {
        case An8Primitive::Sphere: GenerateSphere(); break;
        case An8Primitive::Cylinder: GenerateCylinder(); break;
        case An8Primitive::Cube: GenerateCube(); break;
    }
    if (!inBone) {
        EndComponent();
        smoothing_ = std::min(smoothing_, kPrimitiveSmoothing);
        return;
    }
    const std::string name = componentName_;
    Mesh* mesh = FinishCurrentMesh(name, kPrimitiveSmoothing);
    ModelNode* node = renderer_.NewModelNode();
    node->name = name.c_str();
    node->mesh = mesh;
    NodesAt(boneDepth_ + 1).push_back(node);
    EndComponent();
}

void An8ModelBuilder::OnObject(const std::string& name) {
    objectMeshes_.push_back(FinishCurrentMesh(name, smoothing_));
    objectNames_.push_back(name);
    objectMaterials_.clear();
    EndComponent();
    smoothing_ = 360;
}

// --- figures

std::vector<ModelNode*>& An8ModelBuilder::NodesAt(int depth) {
    const size_t index = size_t(std::max(depth, 0));
    if (nodesByDepth_.size() <= index) nodesByDepth_.resize(index + 1);
    return nodesByDepth_[index];
}

ModelNode* An8ModelBuilder::NewestNode() const {
    if (boneDepth_ < 0 || size_t(boneDepth_) >= nodesByDepth_.size()) return nullptr;
    const std::vector<ModelNode*>& nodes = nodesByDepth_[size_t(boneDepth_)];
    return nodes.empty() ? nullptr : nodes.back();
}

// A bone's node is made when the bone begins, so that a bone without a length, or with
// its orientation written first, still has a node of its own.
void An8ModelBuilder::OnBoneBegin() {
    ++boneDepth_;
    boneLengths_.emplace_back();
    NodesAt(boneDepth_).push_back(renderer_.NewModelNode());
}

void An8ModelBuilder::OnBoneLength(float length) {
    if (!boneLengths_.empty()) boneLengths_.back() = ConvertedTranslation(Vector3(0, length, 0));
}

void An8ModelBuilder::OnBoneOrientation(const Quaternion& orientation) {
    if (ModelNode* node = NewestNode()) node->local = ConvertedRotation(orientation);
}

void An8ModelBuilder::OnBone(const std::string& name) {
    ModelNode* node = NewestNode();
    if (node == nullptr) return;
    node->name = name.c_str();
    for (ModelNode* child : NodesAt(boneDepth_ + 1)) node->LinkChild(child);
    NodesAt(boneDepth_ + 1).clear();
    if (boneDepth_ > 1) {
        node->local = Matrix4::Multiply(node->local, boneLengths_[boneLengths_.size() - 2]);
    }
    boneLengths_.pop_back();
    --boneDepth_;
}

void An8ModelBuilder::OnNamedObjectBegin(const std::string& object) {
    ++boneDepth_;
    ModelNode* node = renderer_.NewModelNode();
    node->name = object.c_str();
    NodesAt(boneDepth_).push_back(node);
}

void An8ModelBuilder::OnNamedObjectName(const std::string& name) {
    if (ModelNode* node = NewestNode()) node->name = name.c_str();
}

void An8ModelBuilder::OnNamedObject(const std::string& object) {
    ModelNode* node = NewestNode();
    const auto found = std::find(objectNames_.begin(), objectNames_.end(), object);
    if (node != nullptr && found != objectNames_.end()) {
        node->mesh = objectMeshes_[size_t(found - objectNames_.begin())];
    }
    --boneDepth_;
}

void An8ModelBuilder::OnFigure(const std::string& name) {
    std::vector<ModelNode*>& roots = NodesAt(0);
    if (!roots.empty()) {
        ModelNode* root = roots.front();
        root->name = name.c_str();
        root->UpdateBounds(true);
        ActorSetEntry entry;
        entry.root = root;
        set_.AddEntry(entry);
        figureNames_.push_back(name);
        figureRoots_.push_back(root);
    }
    roots.clear();
    objectMaterials_.clear();
}

// --- sequences

ModelNode* An8ModelBuilder::FindFigure(const std::string& name) const {
    const auto found = std::find(figureNames_.begin(), figureNames_.end(), name);
    return found == figureNames_.end() ? nullptr : figureRoots_[size_t(found - figureNames_.begin())];
}

void An8ModelBuilder::OnSequenceFigure(const std::string& name) {
    sequenceTarget_ = FindFigure(name);
    jointTracks_.clear();
}

void An8ModelBuilder::OnFrames(int32_t frames) { sequenceLength_ = float(frames) / float(frameRate_); }

void An8ModelBuilder::OnFloatKey(int32_t frame, float value) {
    keyTimes_.push_back(float(frame) / float(frameRate_));
    keyValues_.push_back(value);
}

void An8ModelBuilder::OnJointAngle(const std::string& bone, const std::string& axisName) {
    static const Vector3 kAxes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const int axis = axisName == "X" ? 0 : axisName == "Y" ? 1 : axisName == "Z" ? 2 : -1;
    if (axis < 0) {
        messages_ << "AN8: joint angle axis \"" << axisName.c_str() << "\" is not X, Y or Z" << Stream::Endl;
    } else {
        const String boneName(bone.c_str());
        auto before = [&](const JointTrack& track) {
            const int order = std::strcmp(track.boneName.CStr(), boneName.CStr());
            return order < 0 || (order == 0 && track.axis < axis);
        };
        auto at = std::find_if_not(jointTracks_.begin(), jointTracks_.end(), before);
        if (at == jointTracks_.end() || at->boneName != boneName || at->axis != axis) {
            JointTrack track;
            track.boneName = boneName;
            track.axis = axis;
            track.length = sequenceLength_;
            at = jointTracks_.insert(at, track);
        }
        const Vector3 direction = Converted(kAxes[axis]);
        for (size_t i = 0; i < keyTimes_.size(); ++i) {
            at->AddKey({Quaternion::FromAxisAngle(direction, keyValues_[i] * kDegrees), keyTimes_[i]});
        }
    }
    keyTimes_.clear();
    keyValues_.clear();
}

void An8ModelBuilder::OnSequence(const std::string& name) {
    std::vector<float> times;
    for (const JointTrack& track : jointTracks_) {
        for (const JointKey& key : track.keys) times.push_back(key.time);
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    for (JointTrack& track : jointTracks_) {
        for (float time : times) track.AddInterpolatedKey(time);
    }
    AddKeyedTrack(name);
    sequenceTarget_ = nullptr;
    sequenceLength_ = 0.0f;
    jointTracks_.clear();
}

void An8ModelBuilder::AddKeyedTrack(const std::string& name) {
    if (sequenceTarget_ == nullptr) return;
    ActorSetEntry* entry = nullptr;
    for (ActorSetEntry& candidate : set_.entries) {
        if (candidate.root == sequenceTarget_) entry = &candidate;
    }
    if (entry == nullptr) return;
    Array<RotationChannel> channels;
    for (const JointTrack& joint : jointTracks_) {
        RotationChannel channel;
        channel.boneName = joint.boneName;
        channel.axis = joint.axis;
        for (const JointKey& key : joint.keys) channel.keys.Append({key.rotation, key.time});
        channels.Append(channel);
    }
    KeyedPoseTrack* track = renderer_.CreateKeyTrack();
    track->name = name.c_str();
    track->model = sequenceTarget_;
    track->AddChannels(channels);
    entry->tracks.Append(track);
}

void An8ModelBuilder::Finish() {
    if (!set_.entries.IsEmpty()) return;
    for (size_t i = 0; i < objectMeshes_.size(); ++i) {
        ModelNode* node = renderer_.NewModelNode();
        node->name = objectNames_[i].c_str();
        node->mesh = objectMeshes_[i];
        node->UpdateBounds(true);
        ActorSetEntry entry;
        entry.root = node;
        set_.AddEntry(entry);
    }
}
