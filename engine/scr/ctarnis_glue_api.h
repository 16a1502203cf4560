// The script API's registration tables, one per adapter file, registered by
// the scripting subsystem's start in this order.
#pragma once

#include "engine/scr/ctarnis_glue_common.h"

extern const GlueEntry g_glueSys[];
extern const GlueEntry g_glueLog[];
extern const GlueEntry g_glueGfx[];
extern const GlueEntry g_glueInp[];
extern const GlueEntry g_glueSfx[];
extern const GlueEntry g_glueRes[];
extern const GlueEntry g_glueUtil[];
extern const GlueEntry g_glueSysExtra[];
