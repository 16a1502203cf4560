// The engine root object. One instance per process holds the state of every
// subsystem; each subsystem's operations live in its own source files and carry
// its prefix (SYS_, LOG_, RES_, GFX_, INP_, SFX_, SCR_).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include <vector>

#include "engine/core/ctarnis_ehs.h"
#include "engine/core/titemsmanager.h"
#include "engine/gfx/ctarnis_gfx_types.h"
#include "engine/res/ctarnis_res_types.h"
#include "engine/scr/ctarnis_scr_cluaval.h"
#include "engine/platform/win32/tns_win32.h"
#include "engine/platform/dinput8/dinput8.h"

using TRSCALLBACK = void (*)();

struct lua_State;
// A native function callable from Lua (the interpreter's C-function convention).
using TRSLuaFunction = int (*)(lua_State*);

// Kinds for SYS_RegisterCallback.
enum : int32_t {
    TRS_CALLBACK_LOSTFOCUS = 1,
    TRS_CALLBACK_RESTOREDFOCUS = 2,
    TRS_CALLBACK_TERMINATION = 3,
};

// The engine's frozen numbers, named; the values belong to the data and script
// interface and never change.
// Levels of LOG_AddLevelEntry, by the prefix each writes.
enum : int32_t {
    kLogPlain = 0,   // "? "
    kLogStep = 1,    // "   =: "
    kLogItem = 2,    // "  -=: "
    kLogSection = 3, // "--==: "
    kLogDone = 4,    // "   +: "
    kLogWarning = 5, // " !: "
    kLogSevere = 6,  // " !!!: "
};
// Kinds of LOG_AddSeparator: |---|, |===|, |:::| and |!!!| lines.
enum : int32_t { kSeparatorDash = 1, kSeparatorDouble = 2, kSeparatorColon = 3, kSeparatorBang = 4 };
// Display modes of GFX_Init: the survey's Mode1, Mode2 and Mode3.
enum : int32_t { kDisplayMode16Bit = 1, kDisplayMode32Bit = 2, kDisplayModeDesktop = 3 };
// Texture format classes: TextureFormat01 to TextureFormat04 of the display mode.
enum : int32_t { kTexClass16Opaque = 1, kTexClass16Alpha = 2, kTexClass32Alpha = 3, kTexClass32Opaque = 4 };


// Sound items (engine/sfx/ctarnis_sfx_classes.h).
template <class T>
class TItemsManager;
class TRSSound;
class TRSMusic;
class TRSPlaylist;
class CSmartID;

class CTarnis {
public:
    CTarnis();
    // May raise: a subsystem end that fails reaches the process entry like any error.
    ~CTarnis() noexcept(false);
    CTarnis(const CTarnis&) = delete;
    CTarnis& operator=(const CTarnis&) = delete;

    static CTarnis* Instance() { return s_pInstance; }

    // ---- core (ctarnis_main.cpp) ----
    void SYS_RegisterCallback(TRSCALLBACK fn, int32_t kind);
    int SYS_UpdateAllSystems();
    int SYS_ProcessMessages();
    void SYS_UpdateTimer();
    float SYS_TimerGetDelta() const { return m_fFrameDeltaSec; }
    int32_t SYS_TimerGetFPS() const { return m_iFPS; }
    int32_t SYS_TimerGetDeltaMs() const { return m_iFrameDelta; }
    void SYS_OnFocusGained();
    void SYS_OnFocusLost();

    // ---- log (ctarnis_log.cpp) ----
    // The entry operations use no state of the object: they also serve the
    // process entry's handlers when the object was never created.
    static void LOG_AddEntry(const char* text);
    static void LOG_AddLevelEntry(const char* text, int32_t level);
    static void LOG_AddSeparator(int32_t kind);
    static void LOG_AddEmptyLines(int32_t count);
    static void LOG_AddEntry(const std::string& text) { LOG_AddEntry(text.c_str()); }
    static void LOG_AddLevelEntry(const std::string& text, int32_t level) { LOG_AddLevelEntry(text.c_str(), level); }
    void LOG_WriteHeader(const char* title, const char* version);
    static void LOG_WriteFooter();

    // Core members, in this order.
    bool m_bGraphicsCreated = false;
    bool m_bResourcesReady = false;
    bool m_bInputReady = false;
    bool m_bSoundReady = false;
    bool m_bScriptsReady = false;
    bool m_bGraphicsDeviceReady = false;
    std::string m_strAppTitle;
    std::string m_strAppVersion;
    uint32_t m_uCurrentTime = 0;
    uint32_t m_uPreviousTime = 0;
    int32_t m_iFrameDelta = 1;
    float m_fFrameDeltaSec = 0.001f;
    int32_t m_iFPSAccumulator = 0;
    // Starts at 0 so that the first completed second counts its own frames only.
    int32_t m_iFrameCounter = 0;
    int32_t m_iFPS = 1;
    TRSCALLBACK m_pfnLostFocus = nullptr;
    TRSCALLBACK m_pfnRestoredFocus = nullptr;
    TRSCALLBACK m_pfnTermination = nullptr;
    bool m_bXMLEncryptMode = false;
    bool m_bFatalShutdown = false;
    HWND m_hGameWindow = nullptr;

    // ---- sound, music and playlists (engine/sfx) ----
    // Start and end, global operations (ctarnis_sfx_main.cpp). In no-sound mode
    // (no device could be opened) loads return -2 and the rest does nothing.
    void SFX_Init(int32_t freq);
    void SFX_SetGlobalVolumes(int32_t effectsVolume, int32_t musicVolume);
    float SFX_GetCPU();
    // Sound effects (ctarnis_sfx_sound.cpp): samples held in memory or streams.
    int32_t SFX_LoadSound(const char* fileName, const char* id, int32_t tag, bool isStream, int32_t maxPlaybacks,
                          bool noOverride, int32_t offset, int32_t length);
    int32_t SFX_GetSoundID(const char* id);
    void SFX_UnloadSound(const char* id);
    void SFX_UnloadSound(int32_t id);
    void SFX_SoundPlay(int32_t id, bool loop, int32_t freq, int32_t volume, int32_t pan);
    void SFX_SoundPlay(const char* id, bool loop, int32_t freq, int32_t volume, int32_t pan);
    void SFX_SoundPlay(const CSmartID& id, bool loop, int32_t freq, int32_t volume, int32_t pan);
    void SFX_SoundStop(int32_t id);
    void SFX_SoundStop(const char* id);
    void SFX_SoundPause(int32_t id);
    void SFX_SoundPause(const char* id);
    void SFX_SoundResume(int32_t id);
    void SFX_SoundResume(const char* id);
    void SFX_SoundSetAttributes(int32_t id, int32_t freq, int32_t volume, int32_t pan);
    void SFX_SoundSetAttributes(const char* id, int32_t freq, int32_t volume, int32_t pan);
    void SFX_SoundSlideAttributes(int32_t id, int32_t freq, int32_t volume, int32_t pan, int32_t time);
    void SFX_SoundSlideAttributes(const char* id, int32_t freq, int32_t volume, int32_t pan, int32_t time);
    int32_t SFX_SoundGetStatus(int32_t id);
    int32_t SFX_SoundGetStatus(const char* id);
    // Music (ctarnis_sfx_music.cpp): one at a time, changed over by SFX_Update.
    int32_t SFX_LoadMusic(const char* fileName, const char* id, int32_t tag, int32_t offset, int32_t length,
                          int32_t data1);
    int32_t SFX_GetMusicID(const char* id);
    void SFX_MusicPlay(int32_t id, bool loop, int32_t fadeTime);
    void SFX_MusicPlay(const char* id, bool loop, int32_t fadeTime);
    void SFX_MusicStop(int32_t fadeTime);
    int32_t SFX_MusicGetStatus();
    void SFX_MusicSetVolume(int32_t volume, int32_t time);
    // Playlists (ctarnis_sfx_playlists.cpp).
    int32_t SFX_PlaylistLoad(const uint8_t* data, int32_t size);
    int32_t SFX_GetPlaylistID(const char* id);
    void SFX_PlaylistSet(int32_t id);
    void SFX_PlaylistSet(const char* id);
    void SFX_PlaylistStop();
    void SFX_PlaylistNext();

    bool m_bNoSoundMode = false;
    TItemsManager<TRSSound>* m_pSoundsManager = nullptr;
    TItemsManager<TRSMusic>* m_pMusicManager = nullptr;
    TItemsManager<TRSPlaylist>* m_pPlaylistsManager = nullptr;
    int32_t m_iCurrentMusic = -1;
    int32_t m_iPendingMusic = -1;
    bool m_bPendingLoop = false;
    int32_t m_iCurrentPlaylist = -1;

    // ---- subsystem hooks the core calls (defined by each subsystem) ----
    // Graphics (engine/gfx).
    bool GFX_DeviceExists() const;
    bool GFX_CheckDevice();
    void GFX_Deinit();
    // Drops a locked quad vertex buffer when the window loses the focus.
    void GFX_VQuadReleaseLock();
    // Resources (engine/res).
    void RES_Deinit();
    // Input (engine/inp).
    void INP_Update();
    void INP_Reacquire();
    void INP_Deinit();
    // Sound (engine/sfx).
    void SFX_Update();
    void SFX_Start();
    void SFX_Pause();
    void SFX_Deinit();
    // Scripts (engine/scr).
    void SCR_Deinit();

    // ---- graphics (engine/gfx) ----
    // Start, adapter survey and end (ctarnis_gfx_main.cpp; GFX_Deinit is a hook above).
    void GFX_Preinit(int32_t width, int32_t height);
    void GFX_GetVideoCardCaps(TRSVIDEOCARDCAPS* caps) const;
    void GFX_Init(int32_t displayMode, bool windowed);
    void GFX_SetupDevice();
    void GFX_GetResolution(int32_t* width, int32_t* height) const;
    // Adapter rating from the PCI IDs, 0 when unknown (ctarnis_gfx_rating.cpp).
    static int32_t GFX_RateAdapter(uint32_t vendorID, uint32_t deviceID);
    // The Direct3D 8 constant name of a format, "Unknown format!" otherwise.
    static const char* GFX_GetFormatName(D3DFORMAT format);
    // Scene (ctarnis_gfx_scene.cpp).
    void GFX_SceneBegin();
    void GFX_SceneEnd();
    void GFX_SceneClearScreen(float r, float g, float b);
    void GFX_SceneRender();
    void GFX_ScenePresent();
    void GFX_SceneSetViewport(int32_t x, int32_t y, int32_t width, int32_t height);
    void GFX_SceneSetGamma(float level, float bend);
    void GFX_SceneMakeScreenshot();
    // The current quad and its batch (ctarnis_gfx_vquad.cpp).
    void GFX_VQuadSetPos(float x, float y, float width, float height, float z);
    void GFX_VQuadSetPosByVertex(int32_t vertex, float x, float y, float z);
    void GFX_VQuadRotate(float cx, float cy, float degrees);
    void GFX_VQuadScale(float cx, float cy, float factor);
    void GFX_VQuadMove(float dx, float dy, float dz);
    void GFX_VQuadSetTexCoords(int32_t set, float left, float top, float right, float bottom);
    void GFX_VQuadSetColor(float r, float g, float b, float a);
    void GFX_VQuadSetColorByVertex(int32_t vertex, float r, float g, float b, float a);
    void GFX_VQuadFillIndexBuffer();
    void GFX_VQuadBatchBegin();
    void GFX_VQuadQueue();
    void GFX_VQuadBatchFlush();
    void GFX_VQuadBatchEnd();

    // The size GFX_Preinit was asked for: the back buffer of display modes 1, 2
    // and of windowed rendering.
    int32_t m_iRequestedWidth = 0;
    int32_t m_iRequestedHeight = 0;
    IDirect3D8* m_pD3D = nullptr;
    IDirect3DDevice8* m_pD3DDevice = nullptr;
    TRSVIDEOCARDCAPS m_VideoCardCaps = {};
    int32_t m_iDisplayMode = 0;
    bool m_bWindowed = false;
    D3DPRESENT_PARAMETERS m_PresentParams = {};
    int32_t m_iScreenshotCounter = 0;
    TRSQUADVERTEX m_QuadVertices[4] = {};
    float m_fQuadAlpha[4] = {};
    IDirect3DVertexBuffer8* m_pQuadVB = nullptr;
    IDirect3DIndexBuffer8* m_pQuadIB = nullptr;
    TRSQUADVERTEX* m_pQuadLocked = nullptr;
    int32_t m_iQuadsInBatch = 0;
    TItemsManagerCOM<IDirect3DTexture8>* m_pTexturesManager = nullptr;
    int32_t m_iCurrentTexture[TRS_TEXTURESTAGES] = {-1, -1, -1, -1, -1, -1, -1, -1};
    TItemsManager<TRSLIGHT>* m_pLightsManager = nullptr;
    int32_t m_iDynLightMode = 0;
    float m_fAmbientR = 0.0f, m_fAmbientG = 0.0f, m_fAmbientB = 0.0f, m_fAmbientA = 1.0f;
    int32_t m_iDot3Light = -1;
    TItemsManager<TRSTECHNIQUE>* m_pTechniquesManager = nullptr;
    int32_t m_iCurrentTechnique = -1;
    bool m_bFogOn = false;
    TItemsManager<TRSFONT>* m_pFontsManager = nullptr;
    int32_t m_iCurrentFont = -1;

    // ---- textures, techniques, lights and fonts (engine/gfx) ----
    // Textures (ctarnis_gfx_tex.cpp): loaded from image bytes, bound to stages 0 to 7.
    int32_t GFX_TexLoadFromMemory(const uint8_t* data, int32_t size, int32_t formatClass, const char* strID,
                                  int32_t mipLevels, int32_t tag, int32_t dimension);
    int32_t GFX_TexGetID(const char* strID);
    void GFX_TexUnloadByID(const char* strID);
    void GFX_TexUnloadByID(int32_t id);
    void GFX_TexSet(int32_t id, int32_t stage);
    void GFX_TexSet(const char* strID, int32_t stage);
    void GFX_TexSet(const CSmartID& id, int32_t stage);
    void GFX_TexSetNoTexture(int32_t stage);
    // Techniques (ctarnis_gfx_tech.cpp): packs of render-state bundles.
    void GFX_TechLoadPack(const uint8_t* data, int32_t size);
    int32_t GFX_TechGetID(const char* strID);
    void GFX_TechApply(int32_t id);
    void GFX_TechApply(const char* strID);
    void GFX_TechApply(const CSmartID& id);
    // Lights (ctarnis_gfx_light.cpp): the CPU tint run by GFX_SceneRender.
    void GFX_SetDynLightMode(int32_t mode);
    void GFX_ApplyDynLighting();
    // Bitmap fonts (ctarnis_gfx_font.cpp). A colour index of -1 keeps the quad's colours.
    int32_t GFX_FontLoadFromMemory(const uint8_t* data, int32_t size);
    int32_t GFX_FontGetID(const char* strID);
    void GFX_FontSet(int32_t id);
    void GFX_FontSet(const char* strID);
    void GFX_FontSet(const CSmartID& id);
    void GFX_FontDrawText(const char* text, float x, float y, int32_t maxChars, int32_t colour, float alpha);
    void GFX_FontDrawTextEx(const char* text, float x, float y, int32_t maxChars, int32_t colour, float alpha,
                            bool applyTechnique, float scale, float extraAdvance, float extraLineSpacing);
    float GFX_FontGetStringWidth(const char* text, int32_t fontID, float scale, float extraAdvance);

    // ---- resources (engine/res) ----
    // Scans ./DATA/ (XML descriptors win over PAK files) and registers the
    // standard loaders; RES_Deinit (a hook above) frees the catalogue.
    void RES_Init();
    void RES_RegisterLoadResFunction(LoadResFunc fn, const char* typeID);
    void RES_RegisterLoadResExFunction(LoadResExFunc fn, const char* typeID);
    // Loads one resource by string ID; an unknown ID is a logged warning only.
    void RES_LoadResource(const char* id);
    // Loads every resource with the tag, in catalogue order; tag 0 loads all.
    void RES_LoadResources(int32_t tag);
    void RES_LoadResourceRecord(CTRSResource* record);
    void RES_RegisterStandardLoaders();
    TItemsManager<CTRSResource>* RES_GetResourcesManager() const { return m_pResManager; }

    int32_t m_iResMode = TRS_RESMODE_NONE;
    TItemsManager<CTRSResource>* m_pResManager = nullptr;
    std::map<std::string, LoadResFunc> m_mapLoadRes;
    std::map<std::string, LoadResExFunc> m_mapLoadResEx;

    // ---- scripts (engine/scr) ----
    void SCR_Init();
    void SCR_LoadScriptFromBuffer(const char* data, size_t size, const char* name);
    void SCR_RegisterFunction(const char* name, TRSLuaFunction fn);
    void SCR_AddParameter(const CLuaValue& value);
    void SCR_CallFunction(const char* name, int32_t resultCount);
    void SCR_RegisterScriptAPI();
    // Results of the last call, last result first.
    const std::vector<CLuaValue>& SCR_GetResults() const { return m_vecLuaResults; }
    const std::vector<CLuaValue>& SCR_GetParameters() const { return m_vecLuaParams; }
    lua_State* SCR_GetLuaState() const { return m_pLuaState; }

    lua_State* m_pLuaState = nullptr;
    std::vector<CLuaValue> m_vecLuaParams;
    std::vector<CLuaValue> m_vecLuaResults;
    std::string m_strLastLuaFunction;

    // ---- input (engine/inp) ----
    // Start, re-acquire, sample and end (the last three are the hooks above).
    void INP_Init();
    // Keyboard (ctarnis_inp_keyboard.cpp): key codes are DIK_* scan codes.
    uint8_t INP_KeyboardGetAnyPressedKey() const;
    bool INP_KeyboardIsKeyPressed(uint8_t key) const { return (m_aKeyState[key] & 0x80) != 0; }
    bool INP_KeyboardIsKeyClicked(uint8_t key) const
    {
        return (m_aKeyState[key] & 0x80) != 0 && (m_aPrevKeyState[key] & 0x80) == 0;
    }
    // The character of the key clicked this frame by the US character map
    // (shifted while either Shift key is held), 0 when no character key was clicked.
    char INP_KeyboardGetClickedChar() const;
    void INP_KeyboardSetTextBufferStatus(bool on) { m_bTextEntryOn = on; }
    void INP_KeyboardSetTextInBuffer(const std::string& text);
    const std::string& INP_KeyboardGetTextInBuffer() const { return m_strTextBuffer; }
    void INP_KeyboardSetTextBufferSize(uint32_t size);
    // Key names of data files (ctarnis_inp_keynames.cpp); 0 for unknown names.
    static uint8_t INP_KeyNameToCode(std::string_view name);
    // A null name is unknown, like any other.
    static uint8_t INP_KeyNameToCode(const char* name) { return name ? INP_KeyNameToCode(std::string_view(name)) : 0; }
    // Mouse (ctarnis_inp_mouse.cpp): buttons are numbered from 1.
    uint8_t INP_MouseGetAnyPressedKey() const;
    bool INP_MouseIsKeyPressed(uint8_t button) const;
    bool INP_MouseIsKeyClicked(uint8_t button) const;
    int32_t INP_MouseGetDeltaX() const { return m_MouseState.lX; }
    int32_t INP_MouseGetDeltaY() const { return m_MouseState.lY; }
    int32_t INP_MouseGetWheelDelta() const { return (m_MouseState.lZ > 0) - (m_MouseState.lZ < 0); }
    POINT INP_MouseGetCursorPos() const { return m_ptCursor; }
    bool INP_MouseGetCursorStatus() const { return m_bCursorInside; }
    int32_t INP_MouseGetCursorDeltaX() const { return m_ptCursor.x - m_ptPrevCursor.x; }
    int32_t INP_MouseGetCursorDeltaY() const { return m_ptCursor.y - m_ptPrevCursor.y; }

    IDirectInput8* m_pDirectInput = nullptr;
    IDirectInputDevice8* m_pKeyboard = nullptr;
    uint8_t m_aKeyState[256] = {};
    uint8_t m_aPrevKeyState[256] = {};
    std::string m_strTextBuffer;
    bool m_bTextEntryOn = false;
    uint32_t m_uTextBufferSize = 255;
    bool m_bKeyboardAcquired = false;
    IDirectInputDevice8* m_pMouse = nullptr;
    DIMOUSESTATE2 m_MouseState = {};
    DIMOUSESTATE2 m_PrevMouseState = {};
    POINT m_ptCursor = {0, 0};
    POINT m_ptPrevCursor = {0, 0};
    bool m_bCursorInside = false;
    bool m_bCursorWasInside = false;
    bool m_bMouseAcquired = false;

private:
    void INP_KeyboardStart();
    void INP_KeyboardReacquire();
    void INP_KeyboardUpdate();
    void INP_KeyboardEnd();
    void INP_KeyboardTextEntryStep();
    void INP_MouseStart();
    void INP_MouseReacquire();
    void INP_MouseUpdate();
    void INP_MouseEnd();

private:
    static inline CTarnis* s_pInstance = nullptr;
};

// The name of the Lua function called last, kept by the scripting subsystem for
// the fatal-error report (empty before any call).
const char* SCR_GetLastCalledFunctionName();

// Process-wide values of the core.
extern bool g_bWindowActive;
void RequestQuit();
bool IsQuitRequested();
