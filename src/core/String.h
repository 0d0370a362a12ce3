#pragma once
// The program's own text type: 8-bit characters, deep copies, and the growth rule of the
// growable arrays, whose capacities stored-data code and tests rely on.
#include <cstddef>
#include <cstdint>

class Stream;
class StringArray;

class String {
public:
    // Split without a quote character.
    static constexpr char kNoQuote = '\xFF';

    String();
    String(const char* text);  // NOLINT: texts convert implicitly, as in every caller
    String(const char* text, int count);
    String(const String& other);
    ~String();

    String& operator=(const String& other);
    String& operator=(const char* text);

    static String FromChar(char c);
    static String FromInt(int value);
    // decimals < 0 gives six decimals.
    static String FromFloat(double value, int decimals);

    void Assign(const char* text);
    void AssignFrom(const String& other);
    void Append(const char* text);
    void AppendString(const String& other);
    String& operator+=(const char* text);
    String& operator+=(const String& other);
    // Empty text; the storage is kept.
    void Clear();
    // Sets the length (characters + 1) by the growth rule; the characters are not touched
    // except the zero at the new end. True when the storage was reallocated.
    bool Reserve(int length);

    static String Concat(const String& a, const String& b);
    String ConcatText(const char* text) const;
    static String TextConcat(const char* text, const String& s);

    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const;

    static bool EqualsNoCaseString(const String& a, const String& b);
    bool EqualsNoCase(const char* text) const;
    // -1, 0 or 1; bytes compared as signed 8-bit values after lower-casing A-Z.
    static int CompareNoCase(const String& a, const String& b);
    int CompareNoCaseText(const char* text) const;
    bool StartsWithNoCase(const String& prefix) const;
    bool EndsWithNoCase(const char* suffix) const;

    void ToLower();
    void ToUpper();
    String Lowered() const;
    String Uppered() const;

    // ELF hash over the characters and the terminating zero, bytes as signed values.
    uint32_t Hash() const;

    int Find(const char* text) const;
    int FindLast(const char* text) const;
    String Substring(int start, int count) const;
    String Left(int n) const;
    String Right(int n) const;

    String DirectoryPart() const;
    String FileName() const;
    String StripExtension() const;
    String FileTitle() const;
    String Extension() const;

    // "C" locale conversion; text that is no finite number gives 0.
    float ToFloat() const;

    // Splits `text` into `out` (reusing its elements). A blank delimiter splits at runs of
    // white space; any other delimiter gives empty parts between adjacent delimiters.
    // Quote characters group text (delimiters included) and are dropped.
    static void Split(const char* text, StringArray& out, char delimiter, char quote = kNoQuote);
    void Split(StringArray& out, char delimiter, char quote = kNoQuote) const;

    // One white-space separated word of any length; empty when the stream is not good.
    static Stream& ReadToken(Stream& stream, String& token);
    // One whole line of any length without its line end ("\n" or "\r\n").
    static Stream& ReadLine(Stream& stream, String& line);

    const char* CStr() const { return chars_; }
    char* Data() { return chars_; }
    // Bytes in use including the terminating zero: an empty string has length 1.
    int Length() const { return length_; }
    int Capacity() const { return capacity_; }
    int CharCount() const { return length_ - 1; }
    bool IsEmpty() const { return length_ <= 1; }
    char operator[](int i) const { return chars_[i]; }
    char& operator[](int i) { return chars_[i]; }

private:
    void AppendBytes(const char* text, int count);
    void ReplaceStorage(int capacity);

    int length_ = 0;
    int capacity_ = 0;
    char* chars_ = nullptr;
};

bool TextEquals(const char* a, const char* b);
bool TextEqualsNoCase(const char* text, const String& s);
String operator+(const String& a, const String& b);
String operator+(const String& a, const char* b);
String operator+(const char* a, const String& b);

// Character classes of the "C" locale, for bytes taken as unsigned values.
bool IsSpaceChar(int c);
char LowerChar(char c);
char UpperChar(char c);

// Number text always in the "C" locale, whatever locale the process has set: a decimal
// comma would corrupt every text file. `end` receives the first unparsed character.
double TextToDouble(const char* text, char** end);
float TextToFloat(const char* text, char** end);
long double TextToLongDouble(const char* text, char** end);
long long TextToInt64(const char* text, char** end, int base);
unsigned long long TextToUInt64(const char* text, char** end, int base);
int FormatText(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

// While alive, the C library's formatted input and output on this thread use the "C"
// locale (for fscanf and fprintf on files).
class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    void* previous_;
};
