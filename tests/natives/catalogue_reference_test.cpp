// The catalogue's hashes and slot counts, checked both ways against the public native database's
// entries kept in src/natives/natives-reference.json: every catalogue native is in the reference
// with its slot count, and every reference entry is a native of the catalogue.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "natives/catalogue.h"

namespace {

// Hash -> number of parameters, read with a scanner that knows only this file's shape: top-level
// keys "0x...": { ... "params": [ {"type": ...}, ... ] ... }.
std::map<NativeHash, std::size_t> parameterCounts(const std::string& json) {
    std::map<NativeHash, std::size_t> counts;
    std::size_t at = 0;
    while ((at = json.find("\"0x", at)) != std::string::npos) {
        const std::size_t end = json.find('"', at + 1);
        const NativeHash hash = std::stoull(json.substr(at + 3, end - at - 3), nullptr, 16);
        const std::size_t params = json.find("\"params\"", end);
        const std::size_t close = json.find(']', params);
        std::size_t count = 0;
        for (std::size_t t = json.find("\"type\"", params); t < close;
             t = json.find("\"type\"", t + 1)) {
            ++count;
        }
        counts[hash] = count;
        at = close;
    }
    return counts;
}

std::map<NativeHash, std::size_t> referenceCounts() {
    std::ifstream file(NATIVES_REFERENCE_PATH);
    std::stringstream text;
    text << file.rdbuf();
    return parameterCounts(text.str());
}

TEST(CatalogueReference, EveryCatalogueNativeIsInTheReferenceWithItsSlotCount) {
    const std::map<NativeHash, std::size_t> reference = referenceCounts();
    ASSERT_FALSE(reference.empty()) << "no native reference at " << NATIVES_REFERENCE_PATH;
    for (const NativeInfo& info : nativeCatalogue) {
        const auto entry = reference.find(info.hash);
        ASSERT_NE(entry, reference.end()) << info.role << " is not in the reference";
        EXPECT_EQ(entry->second, info.argumentSlots) << info.role;
    }
}

TEST(CatalogueReference, EveryReferenceEntryIsACatalogueNative) {
    const std::map<NativeHash, std::size_t> reference = referenceCounts();
    ASSERT_FALSE(reference.empty()) << "no native reference at " << NATIVES_REFERENCE_PATH;
    for (const auto& [hash, slots] : reference) {
        EXPECT_NE(findNative(hash), nullptr) << "0x" << std::hex << std::uppercase << hash
                                             << " is in the reference but not in the catalogue";
    }
}

}  // namespace
