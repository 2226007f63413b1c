#include "settings/fallback_log.h"

#include "settings/settings.h"

namespace sp {

std::string appendToLog(const std::string& log, const std::string& line, std::size_t limit) {
    if (log.size() + line.size() <= limit) return log + line;
    if (line.size() >= limit / 2) return line;
    std::size_t from = log.size() + line.size() - limit / 2;
    from = log.find('\n', from - 1);
    if (from == std::string::npos) return line;
    return log.substr(from + 1) + line;
}

void logLine(Platform& p, const std::string& text) {
    std::string log;
    const FileRead got = p.readFile(SETTINGS_LOG_NAME, log, SETTINGS_LOG_LIMIT);
    // A log that another program holds or that cannot be read is not
    // replaced; nothing ever waits for its log line.
    if (got == FileRead::Locked || got == FileRead::Failed) return;
    if (got != FileRead::Ok) log.clear();
    const std::string line = p.localTimeText() + " " + text + "\r\n";
    p.replaceFile(SETTINGS_LOG_NAME, appendToLog(log, line, SETTINGS_LOG_LIMIT));
}

void logSettingsFallback(Platform& p, const std::string& reason) {
    logLine(p, std::string(SETTINGS_FILE_NAME) + ": " + reason);
}

} // namespace sp
