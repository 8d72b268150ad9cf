#include "sim/control.h"

namespace sim {

// Jenkins' one-at-a-time hash; the game folds ASCII capitals to lower case before mixing, so
// "WEAPON_BOW" and "weapon_bow" name the same thing.
Hash gameHash(std::string_view name) {
    std::uint32_t hash = 0;
    for (const char c : name) {
        std::uint8_t byte = static_cast<std::uint8_t>(c);
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<std::uint8_t>(byte - 'A' + 'a');
        hash += byte;
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

}  // namespace sim
