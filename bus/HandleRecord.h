#pragma once

#include <cstdint>

// The recorded handle number of the open port, kept in a small state file so that a later call
// can find a port left open: "vlm_bus.HANDLE" in $XDG_RUNTIME_DIR, else in $LUMETRA4_HOME, else
// in the home directory. Failures to write or remove it are ignored; a missing file reads as 0.
namespace HandleRecord {

void write(uint32_t handle);
void remove();
uint32_t read();

} // namespace HandleRecord
