// Host stand-in of the records' system services: no font list (every face counts as
// installed), no registry (nothing is found), and an English-speaking user.
#include "formats/setup_state.h"
#include "setup/script_records.h"

namespace kelvara {
namespace {

bool fontInstalled(const char*) {
    return true;
}
char* readRegistryText(int, const char*, const char*) {
    return nullptr;
}
int userLanguage() {
    return kDefaultLanguage;
}

const RecordPlatform kHostPlatform = {fontInstalled, readRegistryText, userLanguage};

}  // namespace

const RecordPlatform& systemRecordPlatform() {
    return kHostPlatform;
}

}  // namespace kelvara
