#include "engine/An8Parser.h"

#include "core/Stream.h"

using K = An8Keyword;

An8Parser::An8Parser(An8Scanner& scanner, An8Actions& actions, Stream& messages)
    : scanner_(scanner), actions_(actions), messages_(messages) {}

An8ParseResult An8Parser::Parse() {
    nesting_ = 0;
    try {
        Advance();
        while (token_ != An8Token::End) {
            if (TakeKeyword(K::Header)) {
                Header();
            } else if (TakeKeyword(K::Environment)) {
                Environment();
            } else if (TakeKeyword(K::Texture)) {
                Texture();
            } else if (TakeKeyword(K::Material)) {
                Material(true);
            } else if (TakeKeyword(K::Object)) {
                Object();
            } else if (TakeKeyword(K::Figure)) {
                Figure();
            } else if (TakeKeyword(K::Sequence)) {
                Sequence();
            } else {
                Fail();
            }
        }
    } catch (const Failure& failure) {
        messages_ << (failure.result == An8ParseResult::TooDeep ? "parser stack overflow" : "parse error")
                  << Stream::Endl;
        return failure.result;
    }
    return An8ParseResult::Parsed;
}

// --- tokens

void An8Parser::Advance() { token_ = scanner_.Next(); }

void An8Parser::Fail() { throw Failure{An8ParseResult::SyntaxError}; }

bool An8Parser::AtKeyword() const { return token_ == An8Token::Keyword; }

bool An8Parser::TakeKeyword(An8Keyword keyword) {
    if (!AtKeyword() || scanner_.keyword != keyword) return false;
    Advance();
    return true;
}

void An8Parser::Expect(An8Token token) {
    if (token_ != token) Fail();
    Advance();
}

void An8Parser::Open() {
    Expect(An8Token::OpenBrace);
    if (++nesting_ > kMaxNesting) throw Failure{An8ParseResult::TooDeep};
}

void An8Parser::Close() {
    Expect(An8Token::CloseBrace);
    --nesting_;
}

bool An8Parser::AtClose() const { return token_ == An8Token::CloseBrace; }

int32_t An8Parser::Integer() {
    if (token_ != An8Token::Integer) Fail();
    const int32_t value = scanner_.integer;
    Advance();
    return value;
}

float An8Parser::Number() {
    if (token_ == An8Token::Integer) return float(Integer());
    if (token_ != An8Token::Real) Fail();
    const float value = scanner_.real;
    Advance();
    return value;
}

std::string An8Parser::Text() {
    if (token_ != An8Token::String) Fail();
    std::string value = std::move(scanner_.text);
    Advance();
    return value;
}

Vector3 An8Parser::Point() {
    Expect(An8Token::OpenParen);
    Vector3 p;
    p.x = Number();
    p.y = Number();
    p.z = Number();
    Expect(An8Token::CloseParen);
    return p;
}

Quaternion An8Parser::QuaternionValue() {
    Expect(An8Token::OpenParen);
    Quaternion q;
    q.x = Number();
    q.y = Number();
    q.z = Number();
    q.w = Number();
    Expect(An8Token::CloseParen);
    return q;
}

std::string An8Parser::TextChunk() {
    Open();
    std::string value = Text();
    Close();
    return value;
}

int32_t An8Parser::IntegerChunk() {
    Open();
    const int32_t value = Integer();
    Close();
    return value;
}

float An8Parser::NumberChunk() {
    Open();
    const float value = Number();
    Close();
    return value;
}

void An8Parser::EmptyChunk() {
    Open();
    Close();
}

// --- file-level chunks

void An8Parser::Header() {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Version)) {
            actions_.OnVersion(TextChunk());
        } else if (TakeKeyword(K::Build)) {
            actions_.OnBuild(TextChunk());
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnHeader();
}

void An8Parser::Environment() {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Grid)) {
            Open();
            for (int i = 0; i < 4; ++i) Integer();
            Close();
        } else if (TakeKeyword(K::Framerate)) {
            actions_.OnFrameRate(IntegerChunk());
        } else if (TakeKeyword(K::Limitplayback)) {
            EmptyChunk();
        } else {
            Fail();
        }
    }
    Close();
}

void An8Parser::Texture() {
    Open();
    const std::string name = Text();
    while (!AtClose()) {
        if (!TakeKeyword(K::File)) Fail();
        actions_.OnTextureFile(TextChunk());
    }
    Close();
    actions_.OnTexture(name);
}

void An8Parser::Material(bool fileLevel) {
    Open();
    const std::string name = Text();
    while (!AtClose()) {
        if (TakeKeyword(K::Surface)) {
            Surface(false);
        } else if (TakeKeyword(K::Backsurface)) {
            Surface(true);
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnMaterial(name, fileLevel);
}

void An8Parser::Surface(bool back) {
    struct ColourKeyword {
        An8Keyword keyword;
        An8Colour colour;
    };
    static const ColourKeyword kColours[] = {{K::Ambiant, An8Colour::Ambient},
                                             {K::Diffuse, An8Colour::Diffuse},
                                             {K::Specular, An8Colour::Specular},
                                             {K::Emissive, An8Colour::Emissive}};
    Open();
    while (!AtClose()) {
        bool colour = false;
        for (const ColourKeyword& entry : kColours) {
            if (!TakeKeyword(entry.keyword)) continue;
            Open();
            ColourParts();
            Close();
            actions_.OnSurfaceColour(entry.colour, back);
            colour = true;
            break;
        }
        if (colour) continue;
        if (TakeKeyword(K::Rgb)) {
            Open();
            const int32_t red = Integer();
            const int32_t green = Integer();
            const int32_t blue = Integer();
            Close();
            actions_.OnRgb(red, green, blue);
        } else if (TakeKeyword(K::Lockambiantdiffuse)) {
            EmptyChunk();
        } else if (TakeKeyword(K::Alpha)) {
            actions_.OnAlpha(NumberChunk(), back);
        } else if (TakeKeyword(K::Brilliance)) {
            NumberChunk();
        } else if (TakeKeyword(K::Phongsize)) {
            actions_.OnPhongSize(IntegerChunk(), back);
        } else {
            Fail();
        }
    }
    Close();
}

void An8Parser::ColourParts() {
    while (!AtClose()) {
        if (TakeKeyword(K::Rgb)) {
            Open();
            const int32_t red = Integer();
            const int32_t green = Integer();
            const int32_t blue = Integer();
            Close();
            actions_.OnRgb(red, green, blue);
        } else if (TakeKeyword(K::Factor)) {
            NumberChunk();
        } else if (TakeKeyword(K::Texturename)) {
            actions_.OnTextureName(TextChunk());
        } else if (TakeKeyword(K::Textureparams)) {
            TextureParams();
        } else {
            Fail();
        }
    }
}

void An8Parser::TextureParams() {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Blendmode)) {
            Open();
            while (!AtClose()) {
                if (TakeKeyword(K::Decal)) {
                    actions_.OnBlendMode(0);
                } else if (TakeKeyword(K::Darken)) {
                    actions_.OnBlendMode(1);
                } else if (TakeKeyword(K::Lighten)) {
                    actions_.OnBlendMode(2);
                } else {
                    Fail();
                }
            }
            Close();
        } else if (TakeKeyword(K::Alphamode)) {
            Open();
            while (!AtClose()) {
                if (TakeKeyword(K::None)) {
                    actions_.OnAlphaMode(0);
                } else if (TakeKeyword(K::Layer)) {
                    actions_.OnAlphaMode(1);
                } else if (TakeKeyword(K::Final)) {
                    actions_.OnAlphaMode(2);
                } else {
                    Fail();
                }
            }
            Close();
        } else {
            Fail();
        }
    }
    Close();
}

void An8Parser::Placement(An8Placement where) {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Origin)) {
            Open();
            actions_.OnOrigin(Point());
            Close();
        } else if (TakeKeyword(K::Orientation)) {
            Open();
            actions_.OnOrientation(QuaternionValue());
            Close();
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnPlacement(where);
}

// --- objects

void An8Parser::Object() {
    Open();
    const std::string name = Text();
    while (!AtClose()) {
        if (TakeKeyword(K::Material)) {
            Material(false);
        } else if (TakeKeyword(K::Group)) {
            Group();
        } else if (!Component(false)) {
            Fail();
        }
    }
    Close();
    actions_.OnObject(name);
}

void An8Parser::Group() {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Name)) {
            TextChunk();
        } else if (TakeKeyword(K::Base)) {
            Placement(An8Placement::Group);
        } else if (!Component(false)) {
            Fail();
        }
    }
    Close();
    actions_.OnGroup();
}

bool An8Parser::Component(bool inBone) {
    if (TakeKeyword(K::Sphere)) {
        Primitive(An8Primitive::Sphere, inBone);
    } else if (TakeKeyword(K::Cylinder)) {
        Primitive(An8Primitive::Cylinder, inBone);
    } else if (inBone) {
        return false;
    } else if (TakeKeyword(K::Mesh)) {
        Mesh(false);
    } else if (TakeKeyword(K::Subdivision)) {
        Mesh(true);
    } else if (TakeKeyword(K::Cube)) {
        Primitive(An8Primitive::Cube, false);
    } else {
        return false;
    }
    return true;
}

void An8Parser::Mesh(bool subdivision) {
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Name)) {
            actions_.OnComponentName(TextChunk());
        } else if (TakeKeyword(K::Base)) {
            Placement(An8Placement::Component);
        } else if (TakeKeyword(K::Pivot)) {
            Placement(An8Placement::Pivot);
        } else if (TakeKeyword(K::Material)) {
            actions_.OnComponentMaterial(TextChunk());
        } else if (TakeKeyword(K::Smoothangle)) {
            actions_.OnSmoothAngle(IntegerChunk());
        } else if (TakeKeyword(K::Materiallist)) {
            Open();
            while (!AtClose()) {
                if (!TakeKeyword(K::Materialname)) Fail();
                actions_.OnMaterialName(TextChunk());
            }
            Close();
        } else if (TakeKeyword(K::Points)) {
            Open();
            while (!AtClose()) actions_.OnPoint(Point());
            Close();
        } else if (TakeKeyword(K::Edges)) {
            Edges();
        } else if (TakeKeyword(K::Texcoords)) {
            Open();
            while (!AtClose()) {
                Expect(An8Token::OpenParen);
                const float u = Number();
                const float v = Number();
                Expect(An8Token::CloseParen);
                actions_.OnTexCoord(u, v);
            }
            Close();
        } else if (TakeKeyword(K::Faces)) {
            Faces();
        } else if (subdivision && (TakeKeyword(K::Working) || TakeKeyword(K::Divisions))) {
            IntegerChunk();
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnMeshEnd();
}

void An8Parser::Edges() {
    Open();
    while (!AtClose()) {
        Expect(An8Token::OpenParen);
        const int32_t first = Integer();
        const int32_t second = Integer();
        const bool hasThird = token_ != An8Token::CloseParen;
        const int32_t third = hasThird ? Integer() : 0;
        Expect(An8Token::CloseParen);
        actions_.OnEdge(first, second, hasThird, third);
    }
    Close();
}

// count flags material normal ( (point) or (point texcoord) ... )
void An8Parser::Faces() {
    Open();
    std::vector<An8Corner> corners;
    while (!AtClose()) {
        Integer();
        Integer();
        const int32_t material = Integer();
        Integer();
        Expect(An8Token::OpenParen);
        corners.clear();
        while (token_ != An8Token::CloseParen) {
            Expect(An8Token::OpenParen);
            An8Corner corner;
            corner.point = Integer();
            if (token_ != An8Token::CloseParen) corner.texCoord = Integer();
            Expect(An8Token::CloseParen);
            corners.push_back(corner);
        }
        Expect(An8Token::CloseParen);
        actions_.OnFace(material, corners);
    }
    Close();
}

void An8Parser::Primitive(An8Primitive kind, bool inBone) {
    const bool round = kind != An8Primitive::Cube;
    const bool cylinder = kind == An8Primitive::Cylinder;
    Open();
    while (!AtClose()) {
        if (TakeKeyword(K::Name)) {
            actions_.OnComponentName(TextChunk());
        } else if (TakeKeyword(K::Base)) {
            Placement(An8Placement::Component);
        } else if (TakeKeyword(K::Material)) {
            actions_.OnComponentMaterial(TextChunk());
        } else if (round && TakeKeyword(K::Diameter)) {
            actions_.OnDiameter(NumberChunk());
        } else if (round && TakeKeyword(K::Longlat)) {
            Open();
            const int32_t longitude = Integer();
            const int32_t latitude = Integer();
            Close();
            actions_.OnLongLat(longitude, latitude);
        } else if (cylinder && TakeKeyword(K::Length)) {
            actions_.OnLength(NumberChunk());
        } else if (cylinder && TakeKeyword(K::Topdiameter)) {
            actions_.OnTopDiameter(NumberChunk());
        } else if (cylinder && TakeKeyword(K::Capstart)) {
            EmptyChunk();
            actions_.OnCapStart();
        } else if (cylinder && TakeKeyword(K::Capend)) {
            EmptyChunk();
            actions_.OnCapEnd();
        } else if (!round && TakeKeyword(K::Scale)) {
            Open();
            Vector3 scale;
            scale.x = Number();
            scale.y = Number();
            scale.z = Number();
            Close();
            actions_.OnCubeScale(scale);
        } else if (!round && TakeKeyword(K::Divisions)) {
            Open();
            const int32_t x = Integer();
            const int32_t y = Integer();
            const int32_t z = Integer();
            Close();
            actions_.OnCubeDivisions(x, y, z);
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnPrimitive(kind, inBone);
}

// --- figures

void An8Parser::Figure() {
    Open();
    const std::string name = Text();
    while (!AtClose()) {
        if (TakeKeyword(K::Material)) {
            Material(false);
        } else if (TakeKeyword(K::Bone)) {
            Bone();
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnFigure(name);
}

void An8Parser::Bone() {
    Open();
    const std::string name = Text();
    actions_.OnBoneBegin();
    while (!AtClose()) {
        if (TakeKeyword(K::Bone)) {
            Bone();
        } else if (TakeKeyword(K::Length)) {
            actions_.OnBoneLength(NumberChunk());
        } else if (TakeKeyword(K::Orientation)) {
            Open();
            actions_.OnBoneOrientation(QuaternionValue());
            Close();
        } else if (TakeKeyword(K::Dof)) {
            Open();
            Text();
            for (int i = 0; i < 3; ++i) Number();
            while (!AtClose()) {
                if (!TakeKeyword(K::Unlimited)) Fail();
                EmptyChunk();
            }
            Close();
        } else if (TakeKeyword(K::Namedobject)) {
            NamedObject();
        } else if (!Component(true)) {
            Fail();
        }
    }
    Close();
    actions_.OnBone(name);
}

void An8Parser::NamedObject() {
    Open();
    const std::string object = Text();
    actions_.OnNamedObjectBegin(object);
    while (!AtClose()) {
        if (TakeKeyword(K::Name)) {
            actions_.OnNamedObjectName(TextChunk());
        } else if (TakeKeyword(K::Base)) {
            Placement(An8Placement::NamedObject);
        } else if (TakeKeyword(K::Material)) {
            TextChunk();
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnNamedObject(object);
}

// --- sequences

void An8Parser::Sequence() {
    Open();
    const std::string name = Text();
    while (!AtClose()) {
        if (TakeKeyword(K::Figure)) {
            actions_.OnSequenceFigure(TextChunk());
        } else if (TakeKeyword(K::Frames)) {
            actions_.OnFrames(IntegerChunk());
        } else if (TakeKeyword(K::Jointangle)) {
            JointAngle();
        } else {
            Fail();
        }
    }
    Close();
    actions_.OnSequence(name);
}

void An8Parser::JointAngle() {
    Open();
    const std::string bone = Text();
    const std::string axis = Text();
    while (!AtClose()) {
        if (!TakeKeyword(K::Track)) Fail();
        Open();
        while (!AtClose()) {
            if (!TakeKeyword(K::Floatkey)) Fail();
            Open();
            const int32_t frame = Integer();
            const float value = Number();
            Text();
            Close();
            actions_.OnFloatKey(frame, value);
        }
        Close();
    }
    Close();
    actions_.OnJointAngle(bone, axis);
}
