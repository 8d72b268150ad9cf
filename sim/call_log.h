// The call log's text: records hold raw slots, and JSON is made from them only where it is asked
// for (the trace, messages, tests). All formatting is done by hand (no printf, no locale) so that
// Linux and the Windows build under Wine write the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/control.h"

namespace sim {

// "0x" and digits upper-case hex digits of value, zero-padded.
std::string hexText(std::uint64_t value, int digits);

// "native ROLE (0x...)" for a catalogue native, "native 0x..." for a stranger: how every host
// message names a native.
std::string describeNative(NativeHash hash);
// The shortest decimal that reads back to the same float; non-finite values as strings.
std::string jsonFloat(float value);
std::string jsonString(std::string_view text);

void appendHex(std::string& out, std::uint64_t value, int digits);
void appendJsonFloat(std::string& out, float value);
void appendJsonString(std::string& out, std::string_view text);

// Keeps text read during a call beside the log, until the log is cleared.
TextRef storeText(std::string_view text);

}  // namespace sim
