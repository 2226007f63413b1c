// switchpoint.log, beside config.ini: one line each time the settings fall
// back or the switch hook had to be put back, so a carer can find out why
// the program is not as it was set up.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace sp {

constexpr const char* SETTINGS_LOG_NAME = "switchpoint.log";
constexpr std::size_t SETTINGS_LOG_LIMIT = std::size_t{16} * 1024;

// The log with `line` added at its end. When that would pass `limit`, the
// oldest whole lines go first, down to half of it.
std::string appendToLog(const std::string& log, const std::string& line, std::size_t limit);

// "<local time> <text>" as a new line of the log.
void logLine(Platform& p, const std::string& text);
// "<local time> config.ini: <reason>" as a new line of the log.
void logSettingsFallback(Platform& p, const std::string& reason);

} // namespace sp
