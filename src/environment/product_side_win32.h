// The side of the system a product installs on, chosen from its architecture before its records
// are read (their paths and the previous location take the side's folders and keys). A 64-bit
// product on a system that runs it installs on the native side: runEnvironment.nativeSide, the
// 64-bit registry view for its keys, the native folders for <ProgramFiles>, <CommonFiles> and
// <System32>. The install and uninstall threads add the file system without its redirection.
#pragma once
#include <cstdint>

namespace kelvara {

// Stores the product's architecture in the settings and, when it installs on the native side,
// turns that side on. A product the system cannot run stays on the 32-bit side: the requirement
// check refuses it before anything is written.
void chooseProductSide(std::uint8_t architecture);

}  // namespace kelvara
