#include "sim/call_log.h"

#include <charconv>
#include <cmath>

#include "natives/slot.h"
#include "sim/control.h"
#include "sim/guest_memory.h"

namespace sim {

namespace {

std::string hashJson(std::uint64_t slot) {
    return '"' + hexText(slotHash(slot), 8) + '"';
}

std::string decodeSlot(SlotKind kind, std::uint64_t slot) {
    switch (kind) {
        case SlotKind::unused:
            break;
        case SlotKind::integer:
            return std::to_string(slotInt(slot));
        case SlotKind::hash:
            return hashJson(slot);
        case SlotKind::floating:
            return jsonFloat(slotFloat(slot));
        case SlotKind::name:
            return jsonString(nameAt(slot));
        case SlotKind::speechRequest: {
            const SpeechRequestView request = speechRequestAt(slot);
            return "{\"line\":" + jsonString(request.line) +
                   ",\"voice\":" + jsonString(request.voice) +
                   ",\"variation\":" + std::to_string(request.variation) + "}";
        }
        case SlotKind::handlePointer:
            return std::to_string(handleAt(slot));
    }
    return "null";
}

std::string twoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::string hexText(std::uint64_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits) + 2, '0');
    text[1] = 'x';
    for (int i = digits + 1; i >= 2; --i, value >>= 4) {
        text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value & 0xF];
    }
    return text;
}

std::string jsonFloat(float value) {
    if (std::isnan(value)) return "\"nan\"";
    if (std::isinf(value)) return value > 0 ? "\"inf\"" : "\"-inf\"";
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            json += "\\u00";
            json += hexText(byte, 2).substr(2);
        } else {
            json += c;
        }
    }
    return json + '"';
}

std::string decodeArguments(const NativeSignature& signature,
                            std::span<const std::uint64_t> slots) {
    std::string json = "[";
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (i > 0) json += ',';
        json += decodeSlot(i < maxArgumentSlots ? signature.slots[i] : SlotKind::unused, slots[i]);
    }
    return json + "]";
}

std::string decodeResult(ResultKind kind, const std::uint64_t* results) {
    switch (kind) {
        case ResultKind::none:
            break;
        case ResultKind::integer:
            return std::to_string(slotInt(results[0]));
        case ResultKind::hash:
            return hashJson(results[0]);
        case ResultKind::floating:
            return jsonFloat(slotFloat(results[0]));
        case ResultKind::boolean:
            return slotBool(results[0]) ? "true" : "false";
        case ResultKind::position:
            return "[" + jsonFloat(slotFloat(results[0])) + "," + jsonFloat(slotFloat(results[1])) +
                   "," + jsonFloat(slotFloat(results[2])) + "]";
    }
    return "null";
}

std::string traceLine(const CallRecord& record) {
    std::string line = "{\"frame\":" + std::to_string(record.frame) +
                       ",\"t\":" + std::to_string(record.timeMs) +
                       ",\"day\":" + std::to_string(record.day) + ",\"clock\":\"" +
                       twoDigits(record.clockHours) + ":" + twoDigits(record.clockMinutes) + "\"";
    if (record.host) {
        return line + ",\"host\":" + jsonString(record.name) + ",\"args\":" + record.argsJson + "}";
    }
    return line + ",\"native\":" + jsonString(record.name) + ",\"hash\":\"" +
           hexText(record.hash, 16) + "\",\"args\":" + record.argsJson +
           ",\"result\":" + record.resultJson + "}";
}

}  // namespace sim
