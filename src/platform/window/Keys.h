#pragma once
// Virtual-key codes: the classic numbering the game's input tables are built on (held-key
// tables of 256 entries indexed by these codes). Letters and digits are their capital
// ASCII codes; every code is below kKeyCount.
namespace win {

constexpr int kKeyCount = 256;

// Mouse buttons share the key-state table, as they do in the classic numbering.
constexpr int kKeyLeftButton = 1;
constexpr int kKeyRightButton = 2;
constexpr int kKeyMiddleButton = 4;

constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyAlt = 18;
constexpr int kKeyPause = 19;
constexpr int kKeyCapsLock = 20;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyPrintScreen = 44;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;

// Digits and letters: their characters ('0'..'9', 'A'..'Z').
constexpr int kKey0 = 48;
constexpr int kKey1 = 49;
constexpr int kKey2 = 50;
constexpr int kKey3 = 51;
constexpr int kKey4 = 52;
constexpr int kKey5 = 53;
constexpr int kKey6 = 54;
constexpr int kKey7 = 55;
constexpr int kKey8 = 56;
constexpr int kKey9 = 57;
constexpr int kKeyA = 65;
constexpr int kKeyB = 66;
constexpr int kKeyC = 67;
constexpr int kKeyD = 68;
constexpr int kKeyE = 69;
constexpr int kKeyF = 70;
constexpr int kKeyG = 71;
constexpr int kKeyH = 72;
constexpr int kKeyI = 73;
constexpr int kKeyJ = 74;
constexpr int kKeyK = 75;
constexpr int kKeyL = 76;
constexpr int kKeyM = 77;
constexpr int kKeyN = 78;
constexpr int kKeyO = 79;
constexpr int kKeyP = 80;
constexpr int kKeyQ = 81;
constexpr int kKeyR = 82;
constexpr int kKeyS = 83;
constexpr int kKeyT = 84;
constexpr int kKeyU = 85;
constexpr int kKeyV = 86;
constexpr int kKeyW = 87;
constexpr int kKeyX = 88;
constexpr int kKeyY = 89;
constexpr int kKeyZ = 90;

constexpr int kKeyLeftSuper = 91;
constexpr int kKeyRightSuper = 92;
constexpr int kKeyApplication = 93;

constexpr int kKeyNumpad0 = 96;  // keypad digits are 96..105
constexpr int kKeyNumpad9 = 105;
constexpr int kKeyMultiply = 106;
constexpr int kKeyAdd = 107;
constexpr int kKeySubtract = 109;
constexpr int kKeyDecimal = 110;
constexpr int kKeyDivide = 111;

constexpr int kKeyF1 = 112;  // F1..F24 are 112..135
constexpr int kKeyF12 = 123;
constexpr int kKeyF24 = 135;

constexpr int kKeyNumLock = 144;
constexpr int kKeyScrollLock = 145;

// Punctuation keys of a US layout.
constexpr int kKeySemicolon = 186;
constexpr int kKeyEquals = 187;
constexpr int kKeyComma = 188;
constexpr int kKeyMinus = 189;
constexpr int kKeyPeriod = 190;
constexpr int kKeySlash = 191;
constexpr int kKeyBackquote = 192;
constexpr int kKeyLeftBracket = 219;
constexpr int kKeyBackslash = 220;
constexpr int kKeyRightBracket = 221;
constexpr int kKeyQuote = 222;

// The code of a letter key, either case: KeyOfLetter('a') == KeyOfLetter('A') == 65.
constexpr int KeyOfLetter(char letter) { return (letter >= 'a' && letter <= 'z') ? letter - 'a' + kKeyA : letter; }

// The code of function key Fn, n = 1..24.
constexpr int KeyOfFunction(int n) { return kKeyF1 + n - 1; }

}  // namespace win
