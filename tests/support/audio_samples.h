// Test inputs made on the spot: sound files written with libsndfile, a minimal
// four-channel MOD module written byte by byte, and helpers to measure output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sfxtest {

// Writes mono or stereo float frames (interleaved) as WAV, FLAC or OGG by the
// file name's extension. Returns false when libsndfile refuses.
bool writeSound(const std::string& path, const std::vector<float>& frames, int channels, int rate);

std::vector<float> constant(float value, int frames);
std::vector<float> sine(float hz, float amplitude, int frames, int rate);

// A MOD module of one pattern: a looped square wave on channel 1 from row 0,
// at speed 1 so the whole song lasts 64 rows of 20 ms (1.28 s).
std::string modModule();

// Counts sign changes of one channel of interleaved stereo 16-bit output.
int zeroCrossings(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to);
// Largest absolute value of one channel over [from, to) frames.
int peak(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to);

} // namespace sfxtest
