#pragma once

#include <cstdint>
#include <string>

// Where the ports COM1..COM8 live: the environment variable VLM_BUS_COMn, else the entry COMn=
// of section [Ports] in the library's configuration file (VLM_BUS_CONFIG, else
// $XDG_CONFIG_HOME/vlm_bus.ini, else ~/.config/vlm_bus.ini), else /dev/ttyS<n-1>.
namespace PortConfiguration {

constexpr uint8_t firstPort = 1;
constexpr uint8_t lastPort = 8;

std::string devicePath(uint8_t port);
// "COM%01d" plus the device path, for messages.
std::string describe(uint8_t port);

} // namespace PortConfiguration
