#pragma once
// The wire form of the timed battle events: the server writes one message per event,
// a client reads it back into a pooled record. Both sides share this one layout so
// that they cannot drift apart.
#include <cstdint>

#include "net/MessageReader.h"
#include "net/MessageWriter.h"
#include "net/NetworkEvent.h"

namespace NetworkEventCodec {

// Unit action kinds travel as a u32; the highest one is the timer.
constexpr uint32_t kMaxActionKind = 15;
// Debris pieces of one unit and the path points of one shot.
constexpr uint32_t kMaxListPoints = 4096;

// True for the codes that carry a timed event.
bool IsTimedCode(uint8_t code);
// Appends the event's message (code and fields). False, with nothing written, for a
// kind that has no message (9, 10, None) or an action kind out of range.
bool Write(const NetworkEvent& event, MessageWriter& out);
// Reads the fields after a timed code into the record (cleared first). False, and the
// reader's error set, when the fields are short, not finite or out of range.
bool Read(uint8_t code, MessageReader& in, NetworkEvent& event);

}  // namespace NetworkEventCodec
