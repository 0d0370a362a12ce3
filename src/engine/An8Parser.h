#pragma once
// The grammar of the ".an8" model text, read by recursive descent. The parser tells a
// set of actions about each construct as it completes, inner constructs before the chunk
// that holds them, with the values as written in the file; what they build is the
// actions' business. There is no error recovery: the first syntax error ends the parse.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Quaternion.h"
#include "core/Vector3.h"
#include "engine/An8Scanner.h"

class Stream;

enum class An8Colour { Ambient, Diffuse, Specular, Emissive };
enum class An8Primitive { Sphere, Cylinder, Cube };
// Where a "base" or "pivot" placement stands.
enum class An8Placement { Group, Component, Pivot, NamedObject };

struct An8Corner {
    int32_t point = 0;
    int32_t texCoord = -1;  // -1 when the corner names none
};

class An8Actions {
public:
    virtual ~An8Actions() = default;

    virtual void OnHeader() {}
    virtual void OnVersion(const std::string&) {}
    virtual void OnBuild(const std::string&) {}
    virtual void OnFrameRate(int32_t) {}

    virtual void OnTextureFile(const std::string&) {}
    virtual void OnTexture(const std::string&) {}

    // Inside materials; `back` for the items of a "backsurface" block.
    virtual void OnRgb(int32_t, int32_t, int32_t) {}
    virtual void OnTextureName(const std::string&) {}
    virtual void OnBlendMode(int) {}  // decal 0, darken 1, lighten 2
    virtual void OnAlphaMode(int) {}  // none 0, layer 1, final 2
    virtual void OnSurfaceColour(An8Colour, bool) {}
    virtual void OnAlpha(float, bool) {}
    virtual void OnPhongSize(int32_t, bool) {}
    // A material at file level, or inside an object or a figure.
    virtual void OnMaterial(const std::string&, bool) {}

    virtual void OnOrigin(const Vector3&) {}
    virtual void OnOrientation(const Quaternion&) {}
    virtual void OnPlacement(An8Placement) {}
    virtual void OnGroup() {}

    // Meshes, subdivisions and primitives.
    virtual void OnComponentName(const std::string&) {}
    virtual void OnComponentMaterial(const std::string&) {}
    virtual void OnMaterialName(const std::string&) {}
    virtual void OnSmoothAngle(int32_t) {}
    virtual void OnPoint(const Vector3&) {}
    virtual void OnTexCoord(float, float) {}
    // An edge of two indices has no third (then `third` is 0 and `hasThird` false).
    virtual void OnEdge(int32_t, int32_t, bool, int32_t) {}
    virtual void OnFace(int32_t, const std::vector<An8Corner>&) {}
    virtual void OnMeshEnd() {}
    virtual void OnDiameter(float) {}
    virtual void OnLength(float) {}
    virtual void OnTopDiameter(float) {}
    virtual void OnLongLat(int32_t, int32_t) {}
    virtual void OnCapStart() {}
    virtual void OnCapEnd() {}
    virtual void OnCubeScale(const Vector3&) {}
    virtual void OnCubeDivisions(int32_t, int32_t, int32_t) {}
    // A primitive inside an object, or inside a bone of a figure.
    virtual void OnPrimitive(An8Primitive, bool) {}
    virtual void OnObject(const std::string&) {}

    // Figures. A bone and a named object tell when they begin as well, so that what they
    // hold always has a node to go to, whatever order their items come in.
    virtual void OnBoneBegin() {}
    virtual void OnBoneLength(float) {}
    virtual void OnBoneOrientation(const Quaternion&) {}
    virtual void OnBone(const std::string&) {}
    virtual void OnNamedObjectBegin(const std::string&) {}
    virtual void OnNamedObjectName(const std::string&) {}
    virtual void OnNamedObject(const std::string&) {}
    virtual void OnFigure(const std::string&) {}

    // Sequences.
    virtual void OnSequenceFigure(const std::string&) {}
    virtual void OnFrames(int32_t) {}
    virtual void OnFloatKey(int32_t, float) {}
    virtual void OnJointAngle(const std::string&, const std::string&) {}
    virtual void OnSequence(const std::string&) {}
};

enum class An8ParseResult {
    Parsed = 0,
    SyntaxError = 1,
    TooDeep = 2,  // chunks nested beyond the parser's bound
};

class An8Parser {
public:
    // Chunks nest at most this deep; only bones nest without a limit of their own.
    static constexpr int kMaxNesting = 256;

    An8Parser(An8Scanner& scanner, An8Actions& actions, Stream& messages);

    // Reads the whole text. A syntax error writes "parse error", too deep a nesting
    // "parser stack overflow", each as a line on the messages stream.
    An8ParseResult Parse();

private:
    struct Failure {
        An8ParseResult result;
    };

    void Advance();
    [[noreturn]] void Fail();
    bool AtKeyword() const;
    bool TakeKeyword(An8Keyword keyword);
    void Expect(An8Token token);
    void Open();
    void Close();
    bool AtClose() const;
    int32_t Integer();
    float Number();
    std::string Text();
    Vector3 Point();
    Quaternion QuaternionValue();
    // keyword "{" STRING "}" and the like, the keyword already taken.
    std::string TextChunk();
    int32_t IntegerChunk();
    float NumberChunk();
    void EmptyChunk();

    void Header();
    void Environment();
    void Texture();
    void Material(bool fileLevel);
    void Surface(bool back);
    void ColourParts();
    void TextureParams();
    void Placement(An8Placement where);
    void Object();
    void Group();
    bool Component(bool inBone);
    void Mesh(bool subdivision);
    void Edges();
    void Faces();
    void Primitive(An8Primitive kind, bool inBone);
    void Figure();
    void Bone();
    void NamedObject();
    void Sequence();
    void JointAngle();

    An8Scanner& scanner_;
    An8Actions& actions_;
    Stream& messages_;
    An8Token token_ = An8Token::End;
    int nesting_ = 0;
};
