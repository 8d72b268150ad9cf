#include "sim/call_log.h"

#include <charconv>
#include <cmath>

#include "natives/slot.h"
#include "sim/world.h"

namespace sim {

namespace {

template <class Integer>
void appendInteger(std::string& out, Integer value) {
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

void appendHashJson(std::string& out, std::uint64_t slot) {
    out += '"';
    appendHex(out, slotHash(slot), 8);
    out += '"';
}

void appendSlot(std::string& out, SlotKind kind, std::uint64_t slot, const Pointee& pointee) {
    switch (kind) {
        case SlotKind::unused:
            break;
        case SlotKind::integer:
            return appendInteger(out, slotInt(slot));
        case SlotKind::hash:
            return appendHashJson(out, slot);
        case SlotKind::floating:
            return appendJsonFloat(out, slotFloat(slot));
        case SlotKind::name:
            return appendJsonString(out, textOf(pointee.text));
        case SlotKind::speechRequest:
            out += "{\"line\":";
            appendJsonString(out, textOf(pointee.text));
            out += ",\"voice\":";
            appendJsonString(out, textOf(pointee.voice));
            out += ",\"variation\":";
            appendInteger(out, pointee.value);
            out += '}';
            return;
        case SlotKind::handlePointer:
            return appendInteger(out, pointee.value);
    }
    out += "null";
}

void appendArguments(std::string& out, const CallRecord& record) {
    out += '[';
    if (record.host()) {
        const HostFunctionInfo& info = hostFunctions[record.kind - nativeCatalogue.size()];
        for (std::size_t i = 0; i < info.tracedArguments; ++i) {
            if (i > 0) out += ',';
            appendInteger(out, record.slots[i]);
        }
    } else {
        const NativeSignature& signature = nativeSignatures[record.kind];
        for (std::size_t i = 0; i < record.slotCount; ++i) {
            if (i > 0) out += ',';
            appendSlot(out, signature.slots[i], record.slots[i], record.pointee);
        }
    }
    out += ']';
}

void appendResult(std::string& out, const CallRecord& record) {
    const std::uint64_t* results = record.results.data();
    switch (record.host() ? ResultKind::none : nativeSignatures[record.kind].result) {
        case ResultKind::none:
            break;
        case ResultKind::integer:
            return appendInteger(out, slotInt(results[0]));
        case ResultKind::hash:
            return appendHashJson(out, results[0]);
        case ResultKind::floating:
            return appendJsonFloat(out, slotFloat(results[0]));
        case ResultKind::boolean:
            out += slotBool(results[0]) ? "true" : "false";
            return;
        case ResultKind::position:
            for (std::size_t i = 0; i < 3; ++i) {
                out += i == 0 ? '[' : ',';
                appendJsonFloat(out, slotFloat(results[i]));
            }
            out += ']';
            return;
    }
    out += "null";
}

void appendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

void appendHex(std::string& out, std::uint64_t value, int digits) {
    const std::size_t start = out.size() + 2;
    out.append(static_cast<std::size_t>(digits) + 2, '0');
    out[start - 1] = 'x';
    for (std::size_t i = start + static_cast<std::size_t>(digits); i-- > start; value >>= 4) {
        out[i] = "0123456789ABCDEF"[value & 0xF];
    }
}

std::string hexText(std::uint64_t value, int digits) {
    std::string text;
    appendHex(text, value, digits);
    return text;
}

std::string describeNative(NativeHash hash) {
    const std::size_t index = nativeIndexOf(hash);
    const std::string hex = hexText(hash, 16);
    return index == noNative
               ? "native " + hex
               : "native " + std::string(nativeCatalogue[index].role) + " (" + hex + ")";
}

void appendJsonFloat(std::string& out, float value) {
    if (std::isnan(value)) {
        out += "\"nan\"";
    } else if (std::isinf(value)) {
        out += value > 0 ? "\"inf\"" : "\"-inf\"";
    } else {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, end);
    }
}

std::string jsonFloat(float value) {
    std::string text;
    appendJsonFloat(text, value);
    return text;
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += "0123456789ABCDEF"[byte >> 4];
            out += "0123456789ABCDEF"[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string jsonString(std::string_view text) {
    std::string json;
    appendJsonString(json, text);
    return json;
}

TextRef storeText(std::string_view text) {
    std::string& store = world().callText;
    const TextRef ref{static_cast<std::uint32_t>(store.size()),
                      static_cast<std::uint32_t>(text.size())};
    store.append(text);
    return ref;
}

std::string_view textOf(TextRef text) {
    return std::string_view(world().callText).substr(text.offset, text.length);
}

std::string argsJson(const CallRecord& record) {
    std::string json;
    appendArguments(json, record);
    return json;
}

std::string resultJson(const CallRecord& record) {
    std::string json;
    appendResult(json, record);
    return json;
}

void appendTraceLine(std::string& out, const CallRecord& record) {
    out += "{\"frame\":";
    appendInteger(out, record.frame);
    out += ",\"t\":";
    appendInteger(out, record.timeMs);
    out += ",\"day\":";
    appendInteger(out, record.day);
    out += ",\"clock\":\"";
    appendTwoDigits(out, record.clockHours);
    out += ':';
    appendTwoDigits(out, record.clockMinutes);
    out += record.host() ? "\",\"host\":" : "\",\"native\":";
    appendJsonString(out, record.name());
    if (!record.host()) {
        out += ",\"hash\":\"";
        appendHex(out, record.hash(), 16);
        out += '"';
    }
    out += ",\"args\":";
    appendArguments(out, record);
    if (!record.host()) {
        out += ",\"result\":";
        appendResult(out, record);
    }
    out += "}\n";
}

std::string traceLine(const CallRecord& record) {
    std::string line;
    appendTraceLine(line, record);
    line.pop_back();
    return line;
}

}  // namespace sim
