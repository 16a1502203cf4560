// Playlists: the PLAYLIST resource reader and the choice of the next track,
// at random among the entries but never the track that just ended.
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/sfx/ctarnis_sfx_classes.h"

int32_t CTarnis::SFX_PlaylistLoad(const uint8_t* data, int32_t size)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_PLAYLISTS);
    if (m_bNoSoundMode) return -2;
    EHS_Assert(m_pPlaylistsManager != nullptr);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Processing playlist file...", kLogItem);
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    CXMLNode* root = parser.GetRoot();
    if (!root) EHS_THROW(EHS_TYPE_GENERAL, 0, "XML Parser error - root node object is NULL!");
    if (std::string(root->GetName()) != "playlist")
        EHS_THROW(EHS_TYPE_GAME, 0, "XML file doesn't contain playlist data!");

    const std::string strID = root->GetAttribute("id");
    const int32_t existing = m_pPlaylistsManager->FindByStrID(strID);
    if (existing != -1) {
        LOG_AddLevelEntry("Warning: Dublicated playlist!", kLogWarning);
        return existing;
    }
    // Owned here until it is in the manager: loading an entry's music may raise.
    std::unique_ptr<TRSPlaylist> playlist(new (std::nothrow) TRSPlaylist);
    if (!playlist) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create playlist object!");
    for (int32_t i = 0; i < root->GetChildrenCount(); ++i) {
        CXMLNode* child = root->GetChild(i);
        if (!child) EHS_THROW(EHS_TYPE_GENERAL, 0, "XML Parser error - child node is NULL");
        const char* musicID = child->GetAttribute("id");
        int32_t music = SFX_GetMusicID(musicID);
        if (music == -1) {
            RES_LoadResource(musicID);
            music = SFX_GetMusicID(musicID);
        }
        if (music >= 0) playlist->m_vecEntries.push_back(music);
    }
    LOG_AddLevelEntry("New playlist contains " + std::to_string(playlist->m_vecEntries.size()) + " entries.", kLogStep);
    const int32_t tag = int32_t(strtol(root->GetAttribute("tag"), nullptr, 10));
    const int32_t n = m_pPlaylistsManager->AddItem(playlist.release(), strID, tag);
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);
    return n;
}

int32_t CTarnis::SFX_GetPlaylistID(const char* id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_PLAYLISTS);
    const std::string strID = id ? id : "";
    const int32_t n = m_pPlaylistsManager ? m_pPlaylistsManager->FindByStrID(strID) : -1;
    if (n == -1) LOG_AddLevelEntry("Cannot find iID of playlist with strID = " + strID, kLogWarning);
    return n;
}

void CTarnis::SFX_PlaylistSet(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_PLAYLISTS);
    if (m_bNoSoundMode) return;
    if (id == -1) EHS_THROW(EHS_TYPE_GAME, 0, "Invalid playlist ID!");
    if (id == m_iCurrentPlaylist) return;
    // The first track starts from SFX_Update once this music has faded out.
    SFX_MusicStop(3000);
    m_iCurrentPlaylist = id;
}

void CTarnis::SFX_PlaylistSet(const char* id)
{
    SFX_PlaylistSet(m_pPlaylistsManager ? m_pPlaylistsManager->FindByStrID(id ? id : "") : -1);
}

void CTarnis::SFX_PlaylistStop()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_PLAYLISTS);
    if (m_bNoSoundMode) return;
    SFX_MusicStop(3000);
    m_iCurrentPlaylist = -1;
}

void CTarnis::SFX_PlaylistNext()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_PLAYLISTS);
    if (m_bNoSoundMode) return;
    if (!m_pPlaylistsManager || !m_pPlaylistsManager->IsValidID(m_iCurrentPlaylist))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Internal error - invalid playlist ID!");
    const std::vector<int32_t>& entries = m_pPlaylistsManager->GetItem(m_iCurrentPlaylist)->m_vecEntries;
    if (entries.empty()) {
        m_iPendingMusic = -1;
    } else if (entries.size() == 1) {
        m_iPendingMusic = entries[0];
    } else {
        TRandomizer<int32_t> randomizer;
        for (int32_t music : entries)
            if (music != m_iCurrentMusic) randomizer.Throw(music, 10);
        m_iPendingMusic = randomizer.GetRandomValue();
    }
}
