// The best result: the player's name and the covered cells, kept in
// ./DATA/quorilhs.dat (the name's bytes, a 0 byte, the count as little-endian
// int32), read at every game start and shown on the main window.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t EHS_FILE_HIGHSCORE = 1021;

// Where the record lives, relative to the working directory.
inline constexpr const char* kHighScorePath = "./DATA/quorilhs.dat";
// The longest name the file holds; the reader looks no further for its end.
constexpr size_t kHighScoreMaxName = 255;

extern std::string g_strBestName;
extern int32_t g_iBestMoves;

// Reads the record; false (and "Unknown", 0) when there is none or it is
// damaged (the fault is logged; only an unreadable file ends the game).
bool LoadFile();
// Replaces the record with the best name and moves as a whole: the file is
// always either the old record or the new one.
void SaveFile();
// LoadFile, then shows the best-result tile with the record or hides it.
void ShowBestResult();
