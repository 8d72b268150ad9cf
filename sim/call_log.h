// The call log: every host and native call decoded into JSON text as the trace shows it. All
// formatting is done by hand (no printf, no locale) so that Linux and the Windows build under
// Wine write the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "sim/native_signatures.h"

namespace sim {

// "0x" and digits upper-case hex digits of value, zero-padded.
std::string hexText(std::uint64_t value, int digits);

// The shortest decimal that reads back to the same float; non-finite values as strings.
std::string jsonFloat(float value);
std::string jsonString(std::string_view text);

// Decoded while the pointers are still valid, i.e. before the native runs.
std::string decodeArguments(const NativeSignature& signature, std::span<const std::uint64_t> slots);
std::string decodeResult(ResultKind kind, const std::uint64_t* results);

}  // namespace sim
