// The stream's readers on text and file streams: tokens, lines, numbers of every width,
// and the text forms of the math records. The first byte picks the order of the reads;
// the rest is the text.
#include <string>

#include "core/Color.h"
#include "core/FileStream.h"
#include "core/MathStreamIO.h"
#include "core/Matrix4.h"
#include "core/Point.h"
#include "core/Quaternion.h"
#include "core/String.h"
#include "core/StringStream.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "harness/FuzzTarget.h"
#include "harness/FuzzWorld.h"

namespace {

constexpr int kReaders = 16;

void ReadOne(Stream& stream, int which) {
    String text;
    char line[64];
    switch (which) {
        case 0: String::ReadToken(stream, text); break;
        case 1: String::ReadLine(stream, text); break;
        case 2: stream.ReadLine(line, sizeof line); break;
        case 3: {
            int value = 0;
            stream >> value;
            break;
        }
        case 4: {
            float value = 0;
            stream >> value;
            break;
        }
        case 5: {
            double value = 0;
            stream >> value;
            break;
        }
        case 6: {
            long value = 0;
            stream >> value;
            break;
        }
        case 7: {
            unsigned short value = 0;
            stream >> value;
            break;
        }
        case 8: {
            Vector2 value;
            value.ReadText(stream);
            break;
        }
        case 9: {
            Vector3 value;
            value.ReadText(stream);
            break;
        }
        case 10: {
            Quaternion value;
            value.ReadText(stream);
            break;
        }
        case 11: {
            Matrix4 value;
            value.ReadText(stream);
            break;
        }
        case 12: {
            Point value;
            value.ReadText(stream);
            break;
        }
        case 13: {
            Color value;
            value.ReadText(stream);
            break;
        }
        case 14: {
            float value = 0;
            Stream::ReadFloatSkipping(stream, value);
            break;
        }
        default: {
            char value = 0;
            stream >> value;
            break;
        }
    }
}

// Reads until the stream ends or fails. Every reader consumes or fails, so the loop is
// bounded by the text; a reader that does neither shows as a hang.
void ReadAll(Stream& stream, uint8_t order) {
    for (int step = 0; stream.IsGood(); ++step) {
        ReadOne(stream, (order + step * (1 + order % 7)) % kReaders);
        if (stream.HasError()) {
            stream.ClearError();
            char skipped = 0;
            stream.ReadChar(skipped);
        }
    }
}

}  // namespace

VORNS_FUZZ_TARGET(data, size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t order = data[0];
    StringStream text(fuzz::Text(data + 1, size - 1).c_str());
    ReadAll(text, order);
    if (fuzz::WriteScratchFile("Fuzz.txt", data + 1, size - 1)) {
        FileStream file(fuzz::ScratchFolder() + "Fuzz.txt", "rb");
        ReadAll(file, order);
    }
    return 0;
}
