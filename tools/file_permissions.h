// The access a finished output file gets, set the platform's way (file_permissions_posix.cpp,
// file_permissions_windows.cpp).
#pragma once

namespace output {

// A file made private by mkstemp gets the permissions of a file the user saved normally.
void giveUsualPermissions(int descriptor);

}  // namespace output
