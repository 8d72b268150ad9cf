#include <sys/stat.h>

#include "tools/file_permissions.h"

namespace output {

void giveUsualPermissions(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

}  // namespace output
