#pragma once
// The tokens of the ".an8" model text: integers, reals, quoted strings, braces and
// parentheses, and 70 lower-case keywords (the longest keyword that starts at a letter
// wins, so "materials" is "material" followed by an illegal "s"). Comments run from
// "/*" to "*/". Any other character is reported as illegal and skipped.
#include <cstdint>
#include <string>
#include <string_view>

class Stream;

enum class An8Keyword {
    Header,
    Version,
    Build,
    Environment,
    Grid,
    Framerate,
    Limitplayback,
    Texture,
    File,
    Object,
    Material,
    Surface,
    Backsurface,
    Rgb,
    Lockambiantdiffuse,
    Ambiant,
    Diffuse,
    Specular,
    Emissive,
    Alpha,
    Factor,
    Texturename,
    Textureparams,
    Blendmode,
    Decal,
    Darken,
    Lighten,
    Alphamode,
    None,
    Layer,
    Final,
    Brilliance,
    Phongsize,
    Group,
    Base,
    Origin,
    Orientation,
    Pivot,
    Mesh,
    Name,
    Smoothangle,
    Materiallist,
    Materialname,
    Points,
    Edges,
    Texcoords,
    Faces,
    Subdivision,
    Working,
    Divisions,
    Sphere,
    Diameter,
    Longlat,
    Cylinder,
    Length,
    Topdiameter,
    Capstart,
    Capend,
    Cube,
    Scale,
    Figure,
    Bone,
    Dof,
    Unlimited,
    Namedobject,
    Sequence,
    Frames,
    Jointangle,
    Track,
    Floatkey,
    Count
};

// The keyword's text as written in a file.
const char* An8KeywordText(An8Keyword keyword);

enum class An8Token {
    End,
    Integer,
    Real,
    String,
    OpenBrace,
    CloseBrace,
    OpenParen,
    CloseParen,
    Keyword,
};

class An8Scanner {
public:
    // Illegal characters are reported on `messages`, one line each; comment text goes to
    // the standard output, as the format's other readers do.
    An8Scanner(std::string_view text, Stream& messages);

    // The next token; End at the end of the text. Fills the value that goes with it.
    An8Token Next();

    int32_t integer = 0;  // Integer: the value, saturated to 32 bits
    float real = 0.0f;    // Real: the value; a non-finite one reads as 0
    std::string text;     // String: the characters between the quotes, of any length
    An8Keyword keyword = An8Keyword::Count;

private:
    int Peek(size_t ahead = 0) const;
    void SkipComment();
    An8Token ScanNumber();
    bool ScanKeyword();
    bool ScanString();
    void ReportIllegal(unsigned char c);

    std::string_view input_;
    size_t at_ = 0;
    Stream& messages_;
};
