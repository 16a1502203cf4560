// The progress log "gamelog.txt": every entry opens, appends, flushes and closes
// the file, so the log is complete up to the last entry even if the process dies.
// A log that cannot be written is ignored; logging never fails visibly.
#include <cstdio>
#include <string>

#include "engine/core/ctarnis.h"

namespace {

constexpr const char* kLogFile = "gamelog.txt";
constexpr const char* kEngineVersion = "v.1.0";

constexpr const char* kLevelPrefixes[] = {
    "? ", "   =: ", "  -=: ", "--==: ", "   +: ", " !: ", " !!!: ",
};

constexpr const char* kSeparators[] = {
    "|---------------------------------------------------|",
    "|===================================================|",
    "|:::::::::::::::::::::::::::::::::::::::::::::::::::|",
    "|!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!|",
};

// Opens, writes the pieces, flushes and closes; a missing piece writes nothing
// but the file is still created.
void appendLine(const char* prefix, const char* text, int newlines)
{
    FILE* f = fopen(kLogFile, "a");
    if (!f) return;
    if (prefix) fputs(prefix, f);
    if (text) fputs(text, f);
    for (int i = 0; i < newlines; ++i) fputc('\n', f);
    fflush(f);
    fclose(f);
}

} // namespace

void CTarnis::LOG_AddEntry(const char* text)
{
    appendLine(nullptr, text ? text : "", 1);
}

void CTarnis::LOG_AddLevelEntry(const char* text, int32_t level)
{
    if (level < kLogPlain || level > kLogSevere) {
        appendLine(nullptr, nullptr, 0);
        return;
    }
    appendLine(kLevelPrefixes[level], text ? text : "", 1);
}

void CTarnis::LOG_AddSeparator(int32_t kind)
{
    if (kind < kSeparatorDash || kind > kSeparatorBang) {
        appendLine(nullptr, nullptr, 0);
        return;
    }
    appendLine(kSeparators[kind - kSeparatorDash], nullptr, 1);
}

void CTarnis::LOG_AddEmptyLines(int32_t count)
{
    appendLine(nullptr, nullptr, count > 0 ? count : 0);
}

void CTarnis::LOG_WriteHeader(const char* title, const char* version)
{
    EHS_CHECKPOINT(EHS_FILE_CTARNIS_CORE);
    m_strAppTitle = title ? title : "";
    m_strAppVersion = version ? version : "";
    LOG_AddEmptyLines(2);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Starting " + m_strAppTitle + " " + m_strAppVersion, kLogSection);
    LOG_AddLevelEntry(std::string("Powered by Tarnis Engine ") + kEngineVersion, kLogSection);
    LOG_AddLevelEntry(std::string("Built: ") + __DATE__ + "   " + __TIME__, kLogSection);
    LOG_AddEmptyLines(1);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    LOG_AddLevelEntry("Execution date: " + std::to_string(now.wDay) + "." + std::to_string(now.wMonth) + "." +
                          std::to_string(now.wYear),
                      kLogSection);
    LOG_AddLevelEntry("Execution time: " + std::to_string(now.wHour) + ":" + std::to_string(now.wMinute), kLogSection);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(2);
}

void CTarnis::LOG_WriteFooter()
{
    LOG_AddEmptyLines(1);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("End of log.", kLogSection);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
}
