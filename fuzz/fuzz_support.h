// Shared by the fuzz targets: a scratch folder for the logs and files the
// readers write, engine errors caught as the expected refusal, and a check
// that stops the run when an invariant breaks.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/ctarnis_ehs.h"

namespace fuzz {

// Moves into a fresh folder (in memory where the system offers one) once.
inline void enterScratchDir()
{
    static bool done = false;
    if (done) return;
    done = true;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::exists("/dev/shm", ec) ? "/dev/shm" : "/tmp";
    const std::filesystem::path dir = base / ("tarnis-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "DATA", ec);
    if (chdir(dir.c_str()) != 0) std::abort();
}

// Runs fn; an engine error (of any of the kinds the engine raises) is a clean
// refusal and gives false.
template <class Fn>
bool refusedOrDone(Fn fn)
{
    try {
        fn();
        return true;
    } catch (const CEHSException&) {
    } catch (const char*) {
    }
    return false;
}

// Runs the set-up of a target; an engine error there ends the run with its text.
template <class Fn>
auto setUp(Fn fn)
{
    try {
        return fn();
    } catch (const CEHSException& e) {
        std::fprintf(stderr, "set-up failed: %s\n", e.m_strDescription.c_str());
    } catch (const char* text) {
        std::fprintf(stderr, "set-up failed: %s\n", text);
    }
    std::abort();
}

inline void writeBytes(const std::string& path, const void* data, size_t size)
{
    std::error_code ec;
    if (std::filesystem::path(path).has_parent_path())
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace fuzz

// An invariant of the reader; a failure ends the run as a crash would.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
