// Host stand-in for the process's code page: the tests choose it.
#pragma once

namespace kelvara {

// Makes textIsUtf8() answer `utf8` (false until a test says otherwise).
void useUtf8Texts(bool utf8);

}  // namespace kelvara
