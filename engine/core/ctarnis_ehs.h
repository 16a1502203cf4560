// Error-handling system: the one exception class every failure is raised with,
// the process-wide checkpoint that locates machine faults, and the translator
// that turns machine faults into exceptions.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/ctarnis_fileids.h"
#include "engine/platform/win32/tns_seh.h"

// Error types (printed names in CEHSException::GetTypeName).
enum : int32_t {
    EHS_TYPE_UNKNOWN = 0,
    EHS_TYPE_GENERAL = 1,
    EHS_TYPE_GAME = 2,
    EHS_TYPE_WIN32 = 3,
    EHS_TYPE_LUA = 4,
    EHS_TYPE_LUAGLUE = 5,
    EHS_TYPE_INSCRIPT = 6,
};

class CEHSException {
public:
    CEHSException(int32_t type, int32_t code, std::string description, std::string file, int32_t line);

    const char* GetTypeName() const;
    // Appends the report to "ehslog.txt"; silently does nothing when it cannot.
    void WriteErrorLog() const;

    int32_t m_iType;
    int32_t m_iCode;
    std::string m_strDescription;
    std::string m_strFile;
    int32_t m_iLine;
};

// The checkpoint: two plain stores, cheap enough for every function entry.
namespace ehs_detail {
inline int32_t g_checkpointFileID = 0;
inline int32_t g_checkpointLine = 0;
} // namespace ehs_detail

inline void EHS_SetCheckpoint(int32_t fileID, int32_t line)
{
    ehs_detail::g_checkpointFileID = fileID;
    ehs_detail::g_checkpointLine = line;
}
inline int32_t EHS_GetCheckpointFileID()
{
    return ehs_detail::g_checkpointFileID;
}
inline int32_t EHS_GetCheckpointLine()
{
    return ehs_detail::g_checkpointLine;
}

// Records the file's checkpoint ID with the current line.
#define EHS_CHECKPOINT(fileID) EHS_SetCheckpoint((fileID), __LINE__)

// Raises a CEHSException located at the raising line.
#define EHS_THROW(type, code, description) throw CEHSException((type), (code), (description), __FILE__, __LINE__)

#define EHS_Assert(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) throw CEHSException(EHS_TYPE_GENERAL, 0, "EHS Assertion failed.", __FILE__, __LINE__); \
    } while (0)

// Translator of machine faults: raises type 3 for the known codes, returns for others.
void EHS_TranslateStructuredException(unsigned int code, EXCEPTION_POINTERS* info);

// The error-log report of a fault that cannot be thrown (see tns_seh.h),
// written without allocating: callable from a signal handler.
void EHS_WriteFaultReportFromSignal(unsigned int code);

// The description of a known fault code, or null.
const char* EHS_FaultDescription(unsigned int code);
