// Reading the running setup image: the checksum check and the setup script.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/image_layout.h"

namespace kelvara {

// Checks the Adler-32 of the running file from kChecksumStart to its end against the header.
// True when intact; otherwise the failure message (caption "Kelvara") has been shown.
bool verifySetupImage(const StubHeader& header);

// Reads the package header into runEnvironment and inflates the setup script into a new heap block
// (runEnvironment.script, runEnvironment.scriptSize). A script that cannot be inflated leaves zero
// bytes where nothing was produced. False only when the memory for the script cannot be had.
bool loadSetupScript(const StubHeader& header);

}  // namespace kelvara
