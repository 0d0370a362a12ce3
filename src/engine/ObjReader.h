#pragma once
// The Wavefront OBJ reader for the small subset the game's models use: positions ("v"),
// normals ("vn"), texture coordinates ("vt") and triangles ("f") with 1-based indices,
// in any order; the format has no line structure. Other characters are reported on the
// console and skipped. A "_painted.obj" file is a painted model: its positions are
// stored (z, x, y) and its faces take the same-named "_painted.tga" texture.
#include <cstdint>
#include <string>
#include <vector>

#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "engine/ModelLoadSettings.h"

class ActorSet;
class Material;
class Mesh;
class ModelNode;

class ObjReader {
public:
    enum class Token { End, Integer, Real, V, VN, VT, F, Slash, Illegal };

    // Reads the text into the mesh, which must be empty. False after a syntax error
    // (reported on the console as "parse error"); the mesh then holds what was read.
    bool Read(const std::string& text, Mesh& mesh, bool painted, Material* faceMaterial);

private:
    // The 1-based indices as written; kAbsent for a field the corner leaves out.
    static constexpr int kAbsent = -2147483647 - 1;
    struct Corner {
        int position = kAbsent;
        int texCoord = kAbsent;
        int normal = kAbsent;
    };

    Token Next();
    void SkipComment();
    void ReportIllegal(unsigned char c);
    bool ScanNumber();
    float NumberValue() const;
    int IndexValue() const;

    bool ReadNumbers(float* values, int count);
    bool ReadCorner(Corner& corner);
    bool ReadStatement(Token statement);
    void AddFace(const Corner (&corners)[3]);
    bool CornerValid(const Corner& corner) const;
    void Finish();

    const std::string* text_ = nullptr;
    size_t at_ = 0;
    Token token_ = Token::End;
    std::string tokenText_;
    bool peeked_ = false;

    Mesh* mesh_ = nullptr;
    bool painted_ = false;
    Material* faceMaterial_ = nullptr;
    std::vector<Vector3> normals_;  // stored (z, x, y)
    std::vector<Vector2> texCoords_;
};

// A model of one node holding one mesh, scaled and fitted as asked (fit size 0: no
// fitting), with device meshes when asked; none when the file cannot be read or parsed.
ModelNode* LoadObjModel(const String& fileName, float scale, float fitSize, const ModelLoadSettings& settings,
                        bool registerMeshes);
// The same reader for an actor set named after its file: the set gets one entry.
bool LoadObjMesh(ActorSet& set, const ModelLoadSettings& settings);
