// Case-insensitive resolution of data paths and the extension scan of the data folder.
#include "engine/res/ctarnis_res_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace res {

namespace {

bool equalNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y && (x | 0x20) != (y | 0x20)) return false;
        // Only letters may differ by the case bit; '@' and '`' must not pair up.
        if (x != y && !((x | 0x20) >= 'a' && (x | 0x20) <= 'z')) return false;
    }
    return true;
}

bool isRegularFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Entry names of dir, sorted; empty when dir cannot be listed.
std::vector<std::string> sortedEntries(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Data names only ever lead into the data folder: an absolute name (a root
// separator or a drive letter) or one whose ".." climbs above it is refused.
bool staysInside(const std::string& written, const std::vector<std::string>& parts)
{
    if (written[0] == '/' || written[0] == '\\' || (written.size() > 1 && written[1] == ':')) return false;
    int depth = 0;
    for (const std::string& p : parts) {
        if (p == "..") {
            if (--depth < 0) return false;
        } else if (p != ".") {
            ++depth;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> listFilesWithExtension(const std::string& dir, const char* ext)
{
    std::vector<std::string> found;
    const std::string wanted = ext ? ext : "";
    for (const std::string& name : sortedEntries(dir)) {
        if (name.size() <= wanted.size()) continue;
        if (!equalNoCase(name.substr(name.size() - wanted.size()), wanted)) continue;
        if (isRegularFile(dir + name)) found.push_back(name);
    }
    return found;
}

std::string resolveDataPath(const std::string& dir, const std::string& written)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : written) {
        if (c == '/' || c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    if (parts.empty() || !staysInside(written, parts)) return "";

    std::string exact = dir;
    for (size_t i = 0; i < parts.size(); ++i) exact += (i ? "/" : "") + parts[i];
    if (isRegularFile(exact)) return exact;

    std::string resolved = dir;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string base = resolved;
        std::string candidate = base + parts[i];
        std::error_code ec;
        if (!fs::exists(candidate, ec)) {
            candidate.clear();
            for (const std::string& name : sortedEntries(base)) {
                if (equalNoCase(name, parts[i])) {
                    candidate = base + name;
                    break;
                }
            }
            if (candidate.empty()) return "";
        }
        resolved = candidate + (i + 1 < parts.size() ? "/" : "");
    }
    return isRegularFile(resolved) ? resolved : "";
}

} // namespace res
