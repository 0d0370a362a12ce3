// The ".an8" model text: its tokens, its grammar and the order in which constructs are
// reported to the builder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StringStream.h"
#include "engine/An8Parser.h"
#include "engine/An8Scanner.h"

namespace {

// Writes each action it is told about as a short line.
class Recorder : public An8Actions {
public:
    std::vector<std::string> log;

    void OnHeader() override { log.push_back("header"); }
    void OnRgb(int32_t r, int32_t g, int32_t b) override { Add("rgb", r, g, b); }
    void OnSurfaceColour(An8Colour colour, bool back) override { Add(back ? "back" : "colour", int(colour)); }
    void OnMaterial(const std::string& name, bool fileLevel) override {
        log.push_back("material " + name + (fileLevel ? " file" : " object"));
    }
    void OnPoint(const Vector3& p) override { Add("point", int(p.x), int(p.y), int(p.z)); }
    void OnEdge(int32_t a, int32_t b, bool third, int32_t c) override { Add(third ? "edge3" : "edge2", a, b, c); }
    void OnFace(int32_t material, const std::vector<An8Corner>& corners) override {
        std::string line = "face " + std::to_string(material);
        for (const An8Corner& c : corners) line += " " + std::to_string(c.point) + "/" + std::to_string(c.texCoord);
        log.push_back(line);
    }
    void OnMeshEnd() override { log.push_back("mesh"); }
    void OnPrimitive(An8Primitive kind, bool inBone) override {
        Add(inBone ? "bone primitive" : "primitive", int(kind));
    }
    void OnObject(const std::string& name) override { log.push_back("object " + name); }
    void OnBoneLength(float length) override { Add("length", int(length)); }
    void OnBone(const std::string& name) override { log.push_back("bone " + name); }
    void OnFigure(const std::string& name) override { log.push_back("figure " + name); }
    void OnFloatKey(int32_t frame, float value) override { Add("key", frame, int(value)); }
    void OnJointAngle(const std::string& bone, const std::string& axis) override {
        log.push_back("joint " + bone + " " + axis);
    }

private:
    void Add(const char* what, int a, int b = 0, int c = 0) {
        log.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
    }
};

struct Parsed {
    An8ParseResult result;
    std::vector<std::string> log;
    std::string messages;
};

Parsed Parse(const std::string& text) {
    StringStream messages;
    An8Scanner scanner(text, messages);
    Recorder recorder;
    An8Parser parser(scanner, recorder, messages);
    const An8ParseResult result = parser.Parse();
    return {result, recorder.log, messages.Text()};
}

TEST(An8ScannerTest, NumbersStringsKeywordsAndIllegalCharacters) {
    StringStream messages;
    const std::string longText(1000, 'x');
    const std::string input = "12 -3 +4 1.5 .25 7. 1e2 -2.5E-1 99999999999 1e999 texturename materials \"a\nb\" \"" +
                              longText + "\" Q\r\x81 \"open";
    An8Scanner scanner(input, messages);
    auto next = [&](An8Token expected) { EXPECT_EQ(scanner.Next(), expected); };
    next(An8Token::Integer);
    EXPECT_EQ(scanner.integer, 12);
    next(An8Token::Integer);
    EXPECT_EQ(scanner.integer, -3);
    next(An8Token::Integer);
    EXPECT_EQ(scanner.integer, 4);
    for (float expected : {1.5f, 0.25f, 7.0f, 100.0f, -0.25f}) {
        next(An8Token::Real);
        EXPECT_FLOAT_EQ(scanner.real, expected);
    }
    next(An8Token::Integer);
    EXPECT_EQ(scanner.integer, INT32_MAX);  // saturated
    next(An8Token::Real);
    EXPECT_EQ(scanner.real, 0.0f);  // overflow is no number
    next(An8Token::Keyword);
    EXPECT_EQ(scanner.keyword, An8Keyword::Texturename);  // the longest keyword wins
    next(An8Token::Keyword);
    EXPECT_EQ(scanner.keyword, An8Keyword::Material);  // then "s" is illegal
    next(An8Token::String);
    EXPECT_EQ(scanner.text, "a\nb");
    next(An8Token::String);
    EXPECT_EQ(scanner.text, longText);  // no length limit
    next(An8Token::End);                // Q, CR, a high byte and the unclosed quote: illegal
    EXPECT_STREQ(messages.Text(),
                 "Illegal character 's' found\nIllegal character 'Q' found\nIllegal character '^M' found\n"
                 "Illegal character 'M-^A' found\nIllegal character '\"' found\n"
                 "Illegal character 'o' found\nIllegal character 'p' found\nIllegal character 'e' found\nIllegal "
                 "character 'n' found\n");
}

TEST(An8ParserTest, CommentsAloneParseAndCapitalKeywordsAreErrors) {
    const Parsed empty = Parse(" /* a comment; with x; */ \n\t/**/ ");
    EXPECT_EQ(empty.result, An8ParseResult::Parsed);
    EXPECT_TRUE(empty.log.empty());

    const Parsed capitals = Parse("Header { }");
    EXPECT_EQ(capitals.result, An8ParseResult::SyntaxError);
    EXPECT_NE(capitals.messages.find("Illegal character 'H' found"), std::string::npos);
    EXPECT_NE(capitals.messages.find("parse error"), std::string::npos);
}

TEST(An8ParserTest, ConstructsAreReportedAsTheyComplete) {
    const Parsed parsed = Parse(R"(
        header { version { "1" } }
        material { "red" surface { rgb { 255 0 0 } diffuse { rgb { 1 2 3 } } } backsurface { ambiant { } } }
        object { "box"
            mesh {
                points { (0 0 0) (1 0 0) (1.5 1 0) (0 1 0) }
                edges { (0 1) (1 2 -1) }
                faces { 4 4 0 -1 ( (0 0) (1 1) (2 2) (3 3) ) 3 4 0 -1 ( (0) (1) (2) ) }
            }
            cube { }
        }
        figure { "walker" bone { "root" length { 2 } bone { "leg" length { 1 } sphere { } } } }
        sequence { "walk" jointangle { "leg" "X" track { floatkey { 3 45 "F" } } } }
    )");
    ASSERT_EQ(parsed.result, An8ParseResult::Parsed) << parsed.messages;
    const std::vector<std::string> expected = {"header",
                                               "rgb 255 0 0",
                                               "rgb 1 2 3",
                                               "colour 1 0 0",
                                               "back 0 0 0",
                                               "material red file",
                                               "point 0 0 0",
                                               "point 1 0 0",
                                               "point 1 1 0",
                                               "point 0 1 0",
                                               "edge2 0 1 0",
                                               "edge3 1 2 -1",
                                               "face 0 0/0 1/1 2/2 3/3",
                                               "face 0 0/-1 1/-1 2/-1",
                                               "mesh",
                                               "primitive 2 0 0",
                                               "object box",
                                               "length 2 0 0",
                                               "length 1 0 0",
                                               "bone primitive 0 0 0",
                                               "bone leg",
                                               "bone root",
                                               "figure walker",
                                               "key 3 45 0",
                                               "joint leg X"};
    EXPECT_EQ(parsed.log, expected);
}

TEST(An8ParserTest, MalformedChunksEndTheParse) {
    for (const char* text : {
             "object { \"o\" mesh { faces { 3 0 0 0 ( (0 1 2) (1) (2) ) } } }",  // three in a corner
             "object { \"o\" mesh { edges { (0 1 2 3) } } }",
             "material { \"m\" surface { rgb { 1.0 0 0 } } }",  // colours are integers
             "header { version { \"1\" }",                      // never closed
             "object { mesh { } }",                             // no name
         }) {
        const Parsed parsed = Parse(text);
        EXPECT_EQ(parsed.result, An8ParseResult::SyntaxError) << text;
        EXPECT_EQ(parsed.messages, "parse error\n") << text;
    }
}

TEST(An8ParserTest, NestingBeyondTheBoundIsRefused) {
    std::string text = "figure { \"deep\" ";
    for (int i = 0; i < An8Parser::kMaxNesting; ++i) text += "bone { \"b\" ";
    const Parsed parsed = Parse(text);
    EXPECT_EQ(parsed.result, An8ParseResult::TooDeep);
    EXPECT_EQ(parsed.messages, "parser stack overflow\n");
}

}  // namespace
