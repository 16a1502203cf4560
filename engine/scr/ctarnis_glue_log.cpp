// Script adapter for the log.
#include "engine/scr/ctarnis_glue_api.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GLUE_LOG;

int glue_TRS_LOG_AddEntry(lua_State* L)
{
    GLUE_CHECK(L, kFileID, "TRS_LOG_AddEntry", {GlueArg::String});
    CTarnis::LOG_AddEntry(lua_tostring(L, 1));
    return 0;
}

} // namespace

const GlueEntry g_glueLog[] = {
    {"TRS_LOG_AddEntry", glue_TRS_LOG_AddEntry},
    {nullptr, nullptr},
};
