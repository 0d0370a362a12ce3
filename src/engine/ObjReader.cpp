// The OBJ scanner, parser and entry operations.
#include "engine/ObjReader.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/ConsoleStream.h"
#include "core/Image.h"
#include "core/MathUtil.h"
#include "engine/ActorSet.h"
#include "engine/Material.h"
#include "engine/Mesh.h"
#include "engine/ModelNode.h"
#include "engine/Renderer.h"
#include "platform/sys/Paths.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void ConsoleLine(const String& text) {
    ConsoleStream& console = GetConsoleStream();
    console << text;
    console.Flush();
}

bool ReadWholeFile(const String& fileName, std::string& text) {
    std::FILE* file = std::fopen(sys::ResolvePath(fileName.CStr()).c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[8192];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

// The painted texture: a bitmap twin beside the TGA is converted into it when newer.
Material* PaintedMaterial(const String& fileName, const ModelLoadSettings& settings) {
    Renderer& renderer = GetRenderer();
    const String textureName = fileName.Left(fileName.CharCount() - 3) + "tga";
    Image converted;
    renderer.LoadConvertedImage(converted, textureName, settings.textureWidth, settings.textureHeight);
    Material* material = renderer.CreateTexturedMaterial(textureName, settings.textureWidth, settings.textureHeight);
    if (!material->stages.IsEmpty()) {
        material->stages[0].addressU = 3;
        material->stages[0].addressV = 3;
    }
    material->diffuse = {1, 1, 1, 1};
    material->ambient = {1, 1, 1, 1};
    material->specular = {1, 1, 1, 1};
    material->emissive = {0, 0, 0, 1};
    material->power = 100.0f;
    return material;
}

ModelNode* ReadModelFile(const String& fileName, const ModelLoadSettings& settings) {
    std::string text;
    if (!ReadWholeFile(fileName, text)) return nullptr;
    Renderer& renderer = GetRenderer();
    ModelNode* node = renderer.NewModelNode();
    node->name = fileName.FileTitle();
    Mesh* mesh = renderer.CreateMesh(0, 0, 0, 0);
    node->mesh = mesh;
    const bool painted = fileName.EndsWithNoCase("_painted.obj");
    Material* material = painted ? PaintedMaterial(fileName, settings) : nullptr;
    ObjReader reader;
    if (!reader.Read(text, *mesh, painted, material)) return nullptr;
    if (settings.vertexColours) mesh->hasColors = 1;
    if (settings.simplify)
        mesh->BuildLevelsOfDetail(settings.firstPassFactor, settings.ratio, settings.topologyCheck != 0);
    return node;
}

}  // namespace

// --- scanner

void ObjReader::ReportIllegal(unsigned char c) {
    String shown;
    if (c >= 128) {
        shown += "M-";
        c &= 0x7F;
    }
    if (c < 32 || c == 127) {
        shown += "^";
        c = c == 127 ? '?' : char(c + 64);
    }
    shown += String::FromChar(char(c));
    ConsoleLine(String("Illegal character '") + shown + "' found");
}

// A comment runs from its '#' to the end of its line; a line that begins with ';' continues
// it. Its text is echoed to the standard output, so a model's notes show where it was loaded;
// the line break and ';' that join two lines go silently.
void ObjReader::SkipComment() {
    const std::string& text = *text_;
    ++at_;
    while (at_ < text.size()) {
        if (text[at_] == '\n') {
            if (!(at_ + 1 < text.size() && text[at_ + 1] == ';')) return;
            at_ += 2;
            continue;
        }
        std::fputc(text[at_], stdout);
        ++at_;
    }
}

// The longest number at the position: optional sign, digits with an optional point and
// fraction (or a point and digits), and an optional exponent. Digits alone are an
// integer.
bool ObjReader::ScanNumber() {
    const std::string& text = *text_;
    size_t p = at_;
    if (text[p] == '+' || text[p] == '-') ++p;
    const size_t wholeStart = p;
    while (p < text.size() && IsDigit(text[p])) ++p;
    const size_t whole = p - wholeStart;
    bool real = false;
    if (p < text.size() && text[p] == '.') {
        size_t q = p + 1;
        while (q < text.size() && IsDigit(text[q])) ++q;
        if (whole > 0 || q > p + 1) {
            p = q;
            real = true;
        }
    }
    if (whole == 0 && !real) return false;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
        const size_t digits = q;
        while (q < text.size() && IsDigit(text[q])) ++q;
        if (q > digits) {
            p = q;
            real = true;
        }
    }
    tokenText_.assign(text, at_, p - at_);
    token_ = real ? Token::Real : Token::Integer;
    at_ = p;
    return true;
}

ObjReader::Token ObjReader::Next() {
    if (peeked_) {
        peeked_ = false;
        return token_;
    }
    const std::string& text = *text_;
    while (at_ < text.size()) {
        const char c = text[at_];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            ++at_;
        } else if (c == '#') {
            SkipComment();
        } else if (c == '/') {
            ++at_;
            return token_ = Token::Slash;
        } else if (c == 'v') {
            const char after = at_ + 1 < text.size() ? text[at_ + 1] : '\0';
            at_ += after == 'n' || after == 't' ? 2 : 1;
            return token_ = after == 'n' ? Token::VN : after == 't' ? Token::VT : Token::V;
        } else if (c == 'f') {
            ++at_;
            return token_ = Token::F;
        } else if (text.compare(at_, 3, "NaN") == 0) {
            tokenText_ = "NaN";
            at_ += 3;
            return token_ = Token::Real;
        } else if ((IsDigit(c) || c == '.' || c == '+' || c == '-') && ScanNumber()) {
            return token_;
        } else {
            ReportIllegal(static_cast<unsigned char>(c));
            ++at_;
        }
    }
    return token_ = Token::End;
}

// "NaN" and numbers beyond the float range read as 0.
float ObjReader::NumberValue() const {
    if (token_ == Token::Integer) return float(IndexValue());
    const float value = TextToFloat(tokenText_.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0f;
}

int ObjReader::IndexValue() const {
    const long long value = TextToInt64(tokenText_.c_str(), nullptr, 10);
    const long long limit = std::numeric_limits<int>::max();
    return int(value > limit ? limit : value < -limit ? -limit : value);
}

// --- parser

bool ObjReader::ReadNumbers(float* values, int count) {
    for (int i = 0; i < count; ++i) {
        const Token token = Next();
        if (token != Token::Integer && token != Token::Real) return false;
        values[i] = NumberValue();
    }
    return true;
}

// INTEGER, INTEGER/INTEGER, INTEGER//INTEGER or INTEGER/INTEGER/INTEGER.
bool ObjReader::ReadCorner(Corner& corner) {
    if (Next() != Token::Integer) return false;
    corner = Corner();
    corner.position = IndexValue();
    if (Next() != Token::Slash) {
        peeked_ = true;
        return true;
    }
    Token token = Next();
    if (token == Token::Integer) {
        corner.texCoord = IndexValue();
        if (Next() != Token::Slash) {
            peeked_ = true;
            return true;
        }
        token = Next();
    } else if (token == Token::Slash) {
        token = Next();
    } else {
        return false;
    }
    if (token != Token::Integer) return false;
    corner.normal = IndexValue();
    return true;
}

// Indices count from 1 and name entries read before the face.
bool ObjReader::CornerValid(const Corner& corner) const {
    const auto within = [](int index, size_t count) { return index >= 1 && size_t(index) <= count; };
    return within(corner.position, size_t(mesh_->positions.Count())) &&
           (corner.texCoord == kAbsent || within(corner.texCoord, texCoords_.size())) &&
           (corner.normal == kAbsent || within(corner.normal, normals_.size()));
}

void ObjReader::AddFace(const Corner (&corners)[3]) {
    for (const Corner& corner : corners) {
        if (!CornerValid(corner)) {
            ConsoleLine("Face with an index of nothing read skipped");
            return;
        }
    }
    MeshFace face;
    face.material = faceMaterial_;
    for (int i = 0; i < 3; ++i) {
        MeshVertex vertex;
        vertex.position = &mesh_->positions[corners[i].position - 1];
        if (corners[i].texCoord != kAbsent) vertex.texCoords.Append(texCoords_[size_t(corners[i].texCoord - 1)]);
        if (corners[i].normal != kAbsent) vertex.normal = normals_[size_t(corners[i].normal - 1)];
        mesh_->AddVertex(vertex);
    }
    // Taken once all three are in: adding a vertex may move the array.
    for (int i = 0; i < 3; ++i) face.corners[i] = &mesh_->vertices[mesh_->vertices.Count() - 3 + i];
    mesh_->AddFace(face);
}

bool ObjReader::ReadStatement(Token statement) {
    float v[3];
    switch (statement) {
        case Token::V:
            if (!ReadNumbers(v, 3)) return false;
            mesh_->AddPosition(painted_ ? Vector3(v[2], v[0], v[1]) : Vector3(v[0], -v[1], v[2]));
            return true;
        case Token::VN:
            if (!ReadNumbers(v, 3)) return false;
            normals_.emplace_back(v[2], v[0], v[1]);
            return true;
        case Token::VT:
            if (!ReadNumbers(v, 2)) return false;
            texCoords_.emplace_back(v[0], 1.0f - v[1]);
            return true;
        case Token::F: {
            Corner corners[3];
            for (Corner& corner : corners) {
                if (!ReadCorner(corner)) return false;
            }
            AddFace(corners);
            return true;
        }
        default: return false;
    }
}

// Every corner was read as its own vertex: weld them, then smooth across every edge
// (a crease angle of a full turn), since the files' own normals are only hints.
void ObjReader::Finish() {
    mesh_->MergeVertices();
    mesh_->UpdateBounds();
    mesh_->BuildAdjacency();
    mesh_->hasNormals = 1;
    mesh_->ComputeNormals(kPi * 360.0f / 180.0f);
    mesh_->UpdateTexCoordSetCount();
}

bool ObjReader::Read(const std::string& text, Mesh& mesh, bool painted, Material* faceMaterial) {
    text_ = &text;
    at_ = 0;
    peeked_ = false;
    mesh_ = &mesh;
    painted_ = painted;
    faceMaterial_ = faceMaterial;
    normals_.clear();
    texCoords_.clear();
    for (Token token = Next(); token != Token::End; token = Next()) {
        if (!ReadStatement(token)) {
            ConsoleLine("parse error");
            return false;
        }
    }
    Finish();
    return true;
}

// --- entry operations

ModelNode* LoadObjModel(const String& fileName, float scale, float fitSize, const ModelLoadSettings& settings,
                        bool registerMeshes) {
    ModelNode* node = ReadModelFile(fileName, settings);
    if (node == nullptr) return nullptr;
    if (std::fabs(1.0f - scale) > kDefaultTolerance) node->Scale(scale);
    if (std::fabs(fitSize) > kDefaultTolerance) node->FitToSize(fitSize);
    if (registerMeshes) GetRenderer().CreateModelTreeMeshes(node);
    node->UpdateBounds(true);
    return node;
}

bool LoadObjMesh(ActorSet& set, const ModelLoadSettings& settings) {
    set.entries.Clear();
    ModelNode* node = ReadModelFile(set.name, settings);
    if (node == nullptr) return false;
    GetRenderer().CreateModelTreeMeshes(node);
    node->UpdateBounds(true);
    set.AddEntry(ActorSetEntry{node, {}});
    return true;
}
