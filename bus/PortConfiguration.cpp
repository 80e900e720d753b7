#include "PortConfiguration.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string configurationFile()
{
    if (const char *file = std::getenv("VLM_BUS_CONFIG"); file && *file)
        return file;
    if (const char *folder = std::getenv("XDG_CONFIG_HOME"); folder && *folder)
        return std::string(folder) + "/vlm_bus.ini";
    if (const char *home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config/vlm_bus.ini";
    return {};
}

// The value of key in section [Ports]; section and key names ignore case, as in INI files.
std::string configuredPath(const std::string &key)
{
    std::ifstream file(configurationFile());
    std::string line;
    bool inPorts = false;
    while (std::getline(file, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            inPorts = lowered(line) == "[ports]";
            continue;
        }
        const auto equals = line.find('=');
        if (inPorts && equals != std::string::npos
            && lowered(trimmed(line.substr(0, equals))) == lowered(key))
            return trimmed(line.substr(equals + 1));
    }
    return {};
}

} // namespace

namespace PortConfiguration {

std::string devicePath(uint8_t port)
{
    const std::string name = "COM" + std::to_string(port);
    if (const char *path = std::getenv(("VLM_BUS_" + name).c_str()); path && *path)
        return path;
    const std::string configured = configuredPath(name);
    if (!configured.empty())
        return configured;
    return "/dev/ttyS" + std::to_string(port - 1);
}

std::string describe(uint8_t port)
{
    return "COM" + std::to_string(port) + " = " + devicePath(port);
}

} // namespace PortConfiguration
