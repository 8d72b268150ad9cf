#include "data/squad_formation.h"

const char* squadModel(const GangProfile& profile, Vector3 hideoutPoint) {
    if (profile.secondaryModel != nullptr && !(hideoutPoint.x > profile.secondaryModelMaxX)) {
        return profile.secondaryModel;
    }
    return profile.primaryModel;
}

Vector3 memberPosition(Vector3 hideoutPoint, int slot) {
    const Vector3& offset = squadFormation.at(static_cast<std::size_t>(slot - 1));
    return {hideoutPoint.x + offset.x, hideoutPoint.y + offset.y, hideoutPoint.z + offset.z};
}
