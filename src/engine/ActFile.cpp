// The ".act" language: blocks of white-space separated words, keywords in any case.
#include "engine/ActFile.h"

#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/ConsoleStream.h"
#include "core/FileHelpers.h"
#include "core/FileStream.h"
#include "core/MathUtil.h"
#include "core/Quaternion.h"
#include "engine/ActorSet.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/PoseFiles.h"
#include "engine/Renderer.h"
#include "platform/sys/Paths.h"

namespace {

// Definitions may nest this deep.
constexpr int kMaxNesting = 16;

enum class ActLanguage { Scene, Actor };

void ConsoleLine(const String& text) {
    ConsoleStream& console = GetConsoleStream();
    console << text;
    console.Flush();
}

bool EndsWithComma(const String& token) { return token.CharCount() > 0 && token[token.CharCount() - 1] == ','; }

String WithoutLastCharacter(const String& token) { return token.Left(token.CharCount() - 1); }

struct PoseSet {
    String name;
    StringArray poses;
};

// What one block has said so far.
struct Block {
    String name;
    String rename;
    float scale = 1.0f;
    Vector3 translation;
    Quaternion rotation;
    String meshName;
    StringArray children;
    Array<PoseSet> poseSets;
    bool hasContent = false;

    Matrix4 Transform() const {
        Matrix4 m;
        m.SetScale(scale);
        m.RotateByQuaternion(rotation);
        m.Translate(translation);
        return m;
    }
};

// The files being read, by full path, so that a definition naming itself (directly or
// through others) is refused instead of read without end.
std::unordered_set<std::string>& FilesBeingRead() {
    static std::unordered_set<std::string> files;
    return files;
}

class ActFileReader {
public:
    ActFileReader(const String& fileName, ActLanguage language, const ModelLoadSettings& settings, ActFileLists* lists,
                  int depth)
        : fileName_(fileName),
          folder_(fileName.DirectoryPart()),
          language_(language),
          settings_(settings),
          lists_(lists),
          depth_(depth),
          stream_(fileName.CStr(), "r") {}

    bool IsOpen() const { return stream_.IsOpen(); }
    // The last root actor read, or none.
    ModelNode* Read();

private:
    bool Word(String& token) {
        String::ReadToken(stream_, token);
        return !token.IsEmpty();
    }
    float Number() {
        String token;
        Word(token);
        return token.ToFloat();
    }
    bool Listing() const { return lists_ != nullptr; }

    bool SkipComment(const String& token);
    bool ReadBlockBody(Block& block, bool actor);
    void ReadNameList(StringArray& names);
    void ReadPoseSet(Block& block);
    bool ReadCommonStatement(const String& keyword, Block& block);

    String Located(const String& name) const;
    void FinishMesh(const Block& block);
    void FinishActor(Block& block);
    ModelNode* NestedModel(const String& name);
    void LinkChildren(ModelNode* node, const Block& block);
    void AddPoseSets(ModelNode* node, const Block& block);

    String fileName_;
    String folder_;
    ActLanguage language_;
    ModelLoadSettings settings_;
    ActFileLists* lists_;
    int depth_;
    FileStream stream_;
    std::unordered_map<std::string, ModelNode*> table_;
    std::unordered_set<const ModelNode*> linked_;
    ModelNode* result_ = nullptr;
};

// A named file beside the definition, else in the working folder.
String ActFileReader::Located(const String& name) const {
    const String beside = folder_ + name;
    if (FileExists(beside) || !FileExists(name)) return beside;
    return name;
}

// "//" runs to the end of its line; "/*" to the first word that ends with "*/".
bool ActFileReader::SkipComment(const String& token) {
    if (language_ != ActLanguage::Scene) return false;
    if (token.StartsWithNoCase("//")) {
        String rest;
        String::ReadLine(stream_, rest);
        return true;
    }
    if (!token.StartsWithNoCase("/*")) return false;
    if (token.CharCount() >= 4 && token.EndsWithNoCase("*/")) return true;
    for (String word; Word(word);) {
        if (word.EndsWithNoCase("*/")) break;
    }
    return true;
}

// Every word but the last ends with a comma. A word with a comma inside loses its last
// character, which is the comma for every word but a last one like "b,c".
void ActFileReader::ReadNameList(StringArray& names) {
    for (String word; Word(word);) {
        const bool more = EndsWithComma(word);
        names.Append(word.Find(",") >= 0 ? WithoutLastCharacter(word) : word);
        if (!more) return;
    }
}

void ActFileReader::ReadPoseSet(Block& block) {
    String word;
    if (!Word(word)) return;
    PoseSet set;
    if (EndsWithComma(word)) {
        set.name = WithoutLastCharacter(word);
        ReadNameList(set.poses);
    } else {
        set.name = word;
    }
    block.poseSets.Append(set);
}

bool ActFileReader::ReadCommonStatement(const String& keyword, Block& block) {
    if (keyword.EqualsNoCase("rename")) {
        Word(block.rename);
    } else if (keyword.EqualsNoCase("scale")) {
        block.scale = Number();
    } else if (keyword.EqualsNoCase("translate")) {
        const float x = Number(), y = Number(), z = Number();
        block.translation = Vector3(x, y, z);
    } else if (keyword.EqualsNoCase("rotate")) {
        const float x = Number(), y = Number(), z = Number(), degrees = Number();
        block.rotation.SetFromAxisAngle(Vector3(x, y, z), degrees * kPi / 180.0f);
    } else {
        return false;
    }
    return true;
}

// Words that are no keyword of the block (its "{" among them) are passed over. False
// when the file ends before the block's "}".
bool ActFileReader::ReadBlockBody(Block& block, bool actor) {
    for (String word; Word(word);) {
        if (word == "}") return true;
        if (ReadCommonStatement(word, block)) continue;
        if (!actor) continue;
        if (word.EqualsNoCase("mesh")) {
            Word(block.meshName);
            block.hasContent = true;
        } else if (word.EqualsNoCase("child")) {
            ReadNameList(block.children);
            block.hasContent = true;
        } else if (language_ == ActLanguage::Scene && word.EqualsNoCase("poseset")) {
            ReadPoseSet(block);
            block.hasContent = true;
        }
    }
    return false;
}

void ActFileReader::FinishMesh(const Block& block) {
    if (!sys::IsSafeName(block.name.CStr())) {
        ConsoleLine(String("Mesh name ") + block.name + " cannot name a file: skipped");
        return;
    }
    const String path = Located(block.name + "_c_painted.obj");
    if (Listing()) {
        lists_->meshes.Append(path);
        return;
    }
    Renderer& renderer = GetRenderer();
    ModelNode* model = nullptr;
    if (language_ == ActLanguage::Scene) {
        const ModelLoadSettings& s = settings_;
        model = renderer.LoadModel(path, 1.0f, 0.0f, 0, s.vertexColours, s.simplify, s.firstPassFactor, s.ratio,
                                   s.topologyCheck, false, false, s.textureWidth, s.textureHeight, false);
    } else {
        Array<ActorSetEntry> entries;
        model = renderer.LoadActorSet(path, entries, 1.0f, false, settings_, false, false);
    }
    if (model == nullptr || model->mesh == nullptr) {
        ConsoleLine(String("Mesh ") + path + " cannot be loaded: skipped");
        return;
    }
    const String meshName = block.rename.IsEmpty() ? block.name : block.rename;
    Mesh* mesh = model->mesh;
    mesh->name = meshName;
    mesh->Transform(block.Transform());
    mesh->UpdateBounds();
    if (mesh->deviceMesh != nullptr) {
        mesh->ReleaseDeviceMesh();
        renderer.CreateModelMeshes(mesh);
    }
    model->UpdateBounds(false);
    table_[meshName.CStr()] = model;
}

ModelNode* ActFileReader::NestedModel(const String& name) {
    if (!sys::IsSafeName(name.CStr())) {
        ConsoleLine(String("Actor name ") + name + " cannot name a file: skipped");
        return nullptr;
    }
    const String path = Located(name + ".act");
    if (Listing()) {
        lists_->actFiles.Append(path);
        return nullptr;
    }
    if (depth_ + 1 > kMaxNesting) {
        ConsoleLine(String("Actor file ") + path + " nests too deep: skipped");
        return nullptr;
    }
    ActFileReader nested(path, language_, settings_, nullptr, depth_ + 1);
    ModelNode* model = nested.IsOpen() ? nested.Read() : nullptr;
    if (model == nullptr) ConsoleLine(String("Actor file ") + path + " cannot be loaded: skipped");
    return model;
}

// A node joins one parent only: a second use would move a subtree or close a loop.
void ActFileReader::LinkChildren(ModelNode* node, const Block& block) {
    for (const String& childName : block.children) {
        const auto found = table_.find(childName.CStr());
        if (found == table_.end()) continue;
        ModelNode* child = found->second;
        if (child == node || !linked_.insert(child).second) {
            ConsoleLine(String("Actor ") + childName + " is a child already: not linked again");
            continue;
        }
        child->nextSibling = nullptr;
        node->LinkChild(child);
    }
}

void ActFileReader::AddPoseSets(ModelNode* node, const Block& block) {
    const String title = fileName_.FileTitle();
    for (const PoseSet& set : block.poseSets) {
        if (!sys::IsSafeName((title + set.name).CStr())) continue;
        const String keyFile = folder_ + title + set.name + ".key";
        const String poseBase = keyFile.StripExtension();
        if (Listing()) {
            lists_->keyFiles.Append(keyFile);
            for (const String& pose : set.poses) lists_->poseFiles.Append(poseBase + pose + ".ppp");
            continue;
        }
        PoseAnimation animation;
        if (!LoadKeyFile(keyFile, *node, animation)) {
            ConsoleLine(String("Key file ") + keyFile + " cannot be loaded: pose set skipped");
            continue;
        }
        for (const String& pose : set.poses) {
            PoseTrack track;
            const String poseFile = poseBase + pose + ".ppp";
            if (sys::IsSafeName((poseBase.FileTitle() + pose).CStr()) && LoadPoseFile(poseFile, track)) {
                animation.tracks.Append(track);
            } else {
                ConsoleLine(String("Pose file ") + poseFile + " cannot be loaded: skipped");
            }
        }
        node->animations.Append(animation);
    }
}

void ActFileReader::FinishActor(Block& block) {
    const bool isRoot = block.name == "*";
    ModelNode* node = nullptr;
    if (isRoot || block.hasContent) {
        if (!Listing()) node = GetRenderer().NewModelNode();
    } else {
        node = NestedModel(block.name);
    }
    if (!block.rename.IsEmpty() && !isRoot && block.rename != "*") block.name = block.rename;
    if (node != nullptr) {
        node->name = block.name;
        const auto mesh = table_.find(block.meshName.CStr());
        if (!block.meshName.IsEmpty() && mesh != table_.end()) node->mesh = mesh->second->mesh;
        node->local = Matrix4::Multiply(node->local, block.Transform());
        LinkChildren(node, block);
    }
    if (isRoot) {
        if (node != nullptr) node->name = fileName_.FileTitle();
        if (node != nullptr || Listing()) AddPoseSets(node, block);
        result_ = node;
    }
    if (node == nullptr) return;
    node->UpdateBounds(false);
    table_[block.name.CStr()] = node;
}

ModelNode* ActFileReader::Read() {
    const std::string key = sys::FullPath(fileName_.CStr());
    if (!FilesBeingRead().insert(key).second) {
        ConsoleLine(String("Actor file ") + fileName_ + " names itself: not read again");
        return nullptr;
    }
    for (String word; Word(word);) {
        if (SkipComment(word)) continue;
        const bool mesh = word.EqualsNoCase("mesh");
        if (mesh || word.EqualsNoCase("actor")) {
            Block block;
            if (!Word(block.name) || !ReadBlockBody(block, !mesh)) break;
            mesh ? FinishMesh(block) : FinishActor(block);
        } else if (language_ == ActLanguage::Scene && (word.EqualsNoCase("camera") || word.EqualsNoCase("abscamera"))) {
            for (int i = 0; i < 4; ++i) Number();
        } else if (language_ == ActLanguage::Scene && word.EqualsNoCase("background")) {
            Word(word);
        }
    }
    FilesBeingRead().erase(key);
    return result_;
}

}  // namespace

ModelNode* LoadSceneFile(const String& fileName, float scale, float fitSize, const ModelLoadSettings& settings,
                         bool createDeviceMeshes, ActFileLists* lists) {
    if (lists != nullptr) {
        lists->meshes.Clear();
        lists->actFiles.Clear();
        lists->keyFiles.Clear();
        lists->poseFiles.Clear();
    }
    ActFileReader reader(fileName, ActLanguage::Scene, settings, lists, 0);
    if (!reader.IsOpen()) return nullptr;
    ModelNode* root = reader.Read();
    if (root == nullptr || lists != nullptr) return nullptr;
    if (std::fabs(scale - 1.0f) > kDefaultTolerance) root->Scale(scale);
    if (std::fabs(fitSize) > kDefaultTolerance) root->FitToSize(fitSize);
    if (createDeviceMeshes) GetRenderer().CreateModelTreeMeshes(root);
    root->UpdateBounds(false);
    return root;
}

void LoadActorFile(ActorSet& set, const String& fileName, float scale, const ModelLoadSettings& settings) {
    set.entries.Clear();
    ActFileReader reader(fileName, ActLanguage::Actor, settings, nullptr, 0);
    if (!reader.IsOpen()) return;
    ModelNode* root = reader.Read();
    if (root == nullptr) return;
    root->name = fileName.FileTitle();
    if (std::fabs(scale - 1.0f) > kDefaultTolerance) root->Scale(scale);
    root->UpdateBounds(false);
    set.AddEntry(ActorSetEntry{root, {}});
}
