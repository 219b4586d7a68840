// Discovery of the installed IDE versions.
#pragma once

namespace tessel::common {

// Fills RootDir and Exists of every IdeTable record from the registry and file system.
void FindBorlandProducts();

}  // namespace tessel::common
