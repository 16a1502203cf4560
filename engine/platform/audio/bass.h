// The audio-library subset the sound subsystem is written against: one output
// device, samples decoded into memory, streams decoded while they play, tracker
// music, and per-channel attributes with slides. Implemented on our own float
// mixer (tns_audio_mixer), libsndfile, libopenmpt and an SDL2 audio device.
// Limits: one device per process, stereo output, no 3D, no effects, no recording,
// memory sources (mem = TRUE) are not supported.
#pragma once

#include <cstdint>

#include "engine/platform/win32/tns_win32.h"

using QWORD = uint64_t;
using HSAMPLE = DWORD;
using HCHANNEL = DWORD;
using HSTREAM = DWORD;
using HMUSIC = DWORD;

// Error codes of BASS_ErrorGetCode (0 after a call that succeeded).
enum : int {
    BASS_OK = 0,
    BASS_ERROR_MEM = 1,      // out of memory, or data too large to hold
    BASS_ERROR_FILEOPEN = 2, // the file cannot be opened or the range lies outside it
    BASS_ERROR_DRIVER = 3,   // no audio driver could be started
    BASS_ERROR_HANDLE = 5,   // unknown or freed handle
    BASS_ERROR_FORMAT = 6,   // the data holds no playable audio
    BASS_ERROR_INIT = 8,     // BASS_Init has not succeeded
    BASS_ERROR_START = 9,    // the output cannot be started
    BASS_ERROR_ALREADY = 14, // BASS_Init called twice
    BASS_ERROR_NOCHAN = 18,  // every copy of a sample is busy and it may not take one over
    BASS_ERROR_ILLPARAM = 20,
    BASS_ERROR_DEVICE = 23,  // the device cannot be opened
    BASS_ERROR_NOTAVAIL = 37,
    BASS_ERROR_UNKNOWN = -1,
};

// Devices for BASS_Init (Tarnis names for the numbers the engine passes).
constexpr int TNS_BASS_DEFAULT_DEVICE = -1; // the system's default output
constexpr int TNS_BASS_NOSOUND_DEVICE = -2; // no output: channels play in real time into nothing
// The device flags the engine passes; accepted and otherwise ignored.
constexpr DWORD TNS_BASS_ENGINE_DEVICE_FLAGS = 0x20;

// Sample, stream and music flags.
constexpr DWORD BASS_SAMPLE_LOOP = 4;
constexpr DWORD BASS_MUSIC_LOOP = 4;
// A sample whose copies are all busy takes over the copy that has played longest.
// Streams accept the same value at creation and ignore it.
constexpr DWORD BASS_SAMPLE_OVER_POS = 0x20000;

// BASS_ChannelIsActive results.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

// Attribute conventions: frequency in Hz (0 = the channel's own rate), volume
// 0..100, pan -100..100. -1 keeps the frequency or the volume, -101 the pan; a
// slide to volume -2 fades to silence and then stops the channel.

BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win);
BOOL BASS_Start();
BOOL BASS_Pause();
// Stops the output and every channel; handles stay valid.
BOOL BASS_Stop();
void BASS_Free();
// Volumes 0..100 per kind; -1 keeps that one.
BOOL BASS_SetGlobalVolumes(int musvol, int samvol, int strvol);
// Share of real time the mixer spends mixing, in percent.
float BASS_GetCPU();
int BASS_ErrorGetCode();

// file is a file name; length 0 means up to the end of the file.
HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD max, DWORD flags);
// start: first frame to play. Returns the handle of the copy that plays.
HCHANNEL BASS_SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan, BOOL loop);
BOOL BASS_SampleStop(HSAMPLE handle);
void BASS_SampleFree(HSAMPLE handle);

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// flush TRUE starts from the beginning; FALSE continues where the stream stopped.
BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags);
void BASS_StreamFree(HSTREAM handle);

HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD flags);
// pos: order to start at. Every start drops running slides and keeps the
// attributes (so a faded-out music starts silent until it is given a volume).
BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL reset);
void BASS_MusicFree(HMUSIC handle);

// The channel operations take a stream, a music, a sample copy, or a sample
// handle (then they act on every copy of the sample).
BOOL BASS_ChannelStop(DWORD handle);
BOOL BASS_ChannelPause(DWORD handle);
BOOL BASS_ChannelResume(DWORD handle);
BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan);
BOOL BASS_ChannelSlideAttributes(DWORD handle, int freq, int volume, int pan, DWORD time);
DWORD BASS_ChannelIsActive(DWORD handle);
// Peak levels of the last mixed block: left in the low word, right in the high
// word, each 0..128. (DWORD)-1 for an unknown handle.
DWORD BASS_ChannelGetLevel(DWORD handle);
