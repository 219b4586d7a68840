// Extract mode: the script's folders and payload files are written below the
// current directory, without compiling, registering or logging anything.
#pragma once

namespace tessel::setup {

void ExtractPayload();

}  // namespace tessel::setup
