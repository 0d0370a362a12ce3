// Key and pose files.
#include "engine/PoseFiles.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Box.h"
#include "core/FileStream.h"
#include "engine/Matrix3.h"
#include "engine/ModelNode.h"
#include "engine/PoseAnimation.h"

namespace {

// Key files give their data in a normalised space with other axes: model x is the
// file's y, model y its z and model z its negated x, all scaled by the model's size.
Vector3 ToModelAxes(const Vector3& v, float size) { return {-size * v.z, size * v.x, size * v.y}; }

// A rotation given in the file's axes, expressed in the model's: C R A with A the axis
// change and C its inverse. The model's size cancels out, so unit axes serve.
Matrix3 ToModelRotation(const Matrix3& r) {
    Matrix3 toFile;   // C
    Matrix3 toModel;  // A
    toFile.m[0] = 0, toFile.m[1] = 0, toFile.m[2] = -1;
    toFile.m[3] = 1, toFile.m[4] = 0, toFile.m[5] = 0;
    toFile.m[6] = 0, toFile.m[7] = 1, toFile.m[8] = 0;
    toModel.m[0] = 0, toModel.m[1] = 1, toModel.m[2] = 0;
    toModel.m[3] = 0, toModel.m[4] = 0, toModel.m[5] = 1;
    toModel.m[6] = -1, toModel.m[7] = 0, toModel.m[8] = 0;
    return Matrix3::Multiply(Matrix3::Multiply(toFile, r), toModel);
}

class KeyFileReader {
public:
    explicit KeyFileReader(const String& path) : stream_(path.CStr(), "r") {}

    bool IsOpen() const { return stream_.IsOpen(); }

    bool SkipTo(const char* word) {
        for (String token; Token(token);) {
            if (token == word) return true;
        }
        return false;
    }

    bool Count(int32_t& count) {
        String token;
        if (!Token(token)) return false;
        const long long value = TextToInt64(token.CStr(), nullptr, 10);
        count = int32_t(std::clamp<long long>(value, 0, std::numeric_limits<int32_t>::max()));
        return true;
    }

    // A word that is no finite number reads as 0.
    bool Number(float& value) {
        String token;
        if (!Token(token)) return false;
        value = TextToFloat(token.CStr(), nullptr);
        if (!std::isfinite(value)) value = 0.0f;
        return true;
    }

    bool Vector(Vector3& v) { return Number(v.x) && Number(v.y) && Number(v.z); }

private:
    bool Token(String& token) {
        String::ReadToken(stream_, token);
        return !token.IsEmpty();
    }

    FileStream stream_;
};

struct ModelMeasure {
    float size = 0.0f;
    float bottom = 0.0f;
};

ModelMeasure Measure(ModelNode& node) {
    const Matrix4 saved = node.local;
    node.local.SetIdentity();
    const Box box = node.GetBox();
    node.local = saved;
    if (!box.IsValid()) return {};
    return {box.MaxExtent(), box.minimum.z};
}

bool ReadKey(KeyFileReader& reader, ModelNode& node, const ModelMeasure& measure, int32_t nodes, PoseKey& key) {
    Vector3 point;
    if (!reader.Vector(point)) return false;
    const Vector3 lift(0, 0, measure.bottom);
    key.position = TransformPoint(node.local, ToModelAxes(point, measure.size) + lift);
    for (int32_t m = 0; m < nodes; ++m) {
        Matrix3 rotation;
        Vector3 translation;
        float ignored = 0.0f;
        for (int row = 0; row < 3; ++row) {
            Vector3 values;
            if (!reader.Vector(values) || !reader.Number(ignored)) return false;
            rotation.SetRow(row, values);
        }
        if (!reader.Vector(translation) || !reader.Number(ignored)) return false;
        key.rotations.Append(ToModelRotation(rotation));
        if (m == 0) key.offset = ToModelAxes(translation, measure.size) + lift;
    }
    return true;
}

}  // namespace

bool LoadKeyFile(const String& path, ModelNode& node, PoseAnimation& animation) {
    KeyFileReader reader(path);
    if (!reader.IsOpen()) return false;
    const ModelMeasure measure = Measure(node);
    animation.name = path.FileTitle();
    animation.keys.Clear();
    int32_t keyCount = 0;
    int32_t nodeCount = 0;
    if (!reader.SkipTo("balls") || !reader.Count(keyCount)) return false;
    if (!reader.SkipTo("models") || !reader.Count(nodeCount)) return false;
    if (keyCount > PoseAnimation::kMaxKeys || nodeCount > PoseAnimation::kMaxNodes) return false;
    for (int32_t i = 0; i < keyCount; ++i) {
        PoseKey key;
        if (!ReadKey(reader, node, measure, nodeCount, key)) return false;
        animation.keys.Append(key);
    }
    animation.Build();
    return true;
}

bool LoadPoseFile(const String& path, PoseTrack& track) {
    FileStream stream(path.CStr(), "rb");
    if (!stream.IsOpen()) return false;
    PoseTrack read;
    read.ReadBinary(stream);
    if (stream.HasError()) return false;
    track = read;
    return true;
}
