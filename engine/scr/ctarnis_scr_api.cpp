// Registers the script API: every adapter file's table, in registration order.
#include "engine/scr/ctarnis_glue_api.h"

void CTarnis::SCR_RegisterScriptAPI()
{
    for (const GlueEntry* table : {g_glueSys, g_glueLog, g_glueGfx, g_glueInp, g_glueSfx, g_glueRes, g_glueUtil,
                                    g_glueSysExtra})
        for (const GlueEntry* e = table; e->name; ++e) SCR_RegisterFunction(e->name, e->fn);
}
