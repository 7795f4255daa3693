# Files of this subsystem (see src/CMakeLists.txt for the three lists).
