// The XML reader's loading (unscrambling, line ends) and its one-pass state
// machine. Every lookahead is bounded by the text size, so no input, however
// truncated, makes the pass read past the text.
#include "engine/res/ctarnis_utils_cxmlparser.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

// The plain-text errors are thrown as const char*, which the process entry
// catches apart from CEHSException; the text must outlive the throw.
std::string g_plainError;

[[noreturn]] void throwPlainText(std::string text)
{
    g_plainError = std::move(text);
    throw static_cast<const char*>(g_plainError.c_str());
}

// Character classes by table, one load per byte in the scanning loops.
// CR is deliberately not whitespace: loading has already removed it.
enum : uint8_t { kSpace = 1, kEndsAttrName = 2, kEndsTagName = 4 };

constexpr std::array<uint8_t, 256> kClasses = [] {
    std::array<uint8_t, 256> c{};
    for (unsigned char s : {' ', '\n', '\t'}) c[s] = kSpace | kEndsAttrName | kEndsTagName;
    c['='] |= kEndsAttrName;
    c['/'] |= kEndsTagName;
    c['>'] |= kEndsTagName;
    return c;
}();

inline bool is(char c, uint8_t cls)
{
    return (kClasses[uint8_t(c)] & cls) != 0;
}

inline bool isSpace(char c)
{
    return is(c, kSpace);
}

inline size_t findChar(const char* t, size_t n, size_t from, char c)
{
    // Quotes and tags are mostly a few bytes away: look there first, and hand
    // long stretches to memchr.
    const size_t nearEnd = std::min(n, from + 16);
    for (size_t i = from; i < nearEnd; ++i)
        if (t[i] == c) return i;
    if (nearEnd >= n) return std::string::npos;
    const void* hit = memchr(t + nearEnd, c, n - nearEnd);
    return hit ? size_t(static_cast<const char*>(hit) - t) : std::string::npos;
}

bool nameLess(const char* a, const char* b)
{
    // strcmp compares as unsigned char: the byte-wise order of the attribute map.
    return strcmp(a, b) < 0;
}

} // namespace

CXMLNode* CXMLNode::GetChild(int32_t index) const
{
    if (index < 0 || index >= m_iChildCount) return nullptr;
    return m_ppChildren[index];
}

const char* CXMLNode::GetAttribute(const char* name) const
{
    if (!name) return "";
    ready();
    const Attr* end = m_pAttrs + m_iAttrCount;
    const Attr* it = std::lower_bound(static_cast<const Attr*>(m_pAttrs), end, name,
                                      [](const Attr& a, const char* key) { return nameLess(a.name, key); });
    if (it != end && strcmp(it->name, name) == 0) return it->value;
    return "";
}

const char* CXMLNode::GetAttributeName() const
{
    ready();
    return m_iAttrCursor < m_iAttrCount ? m_pAttrs[m_iAttrCursor].name : nullptr;
}

void CXMLNode::orderAttributes() const
{
    m_bAttrsOrdered = true;
    Attr* a = m_pAttrs;
    const uint32_t count = uint32_t(m_iAttrCount);
    auto less = [](const Attr& x, const Attr& y) { return nameLess(x.name, y.name); };
    bool sorted = true;
    for (uint32_t i = 1; i < count && sorted; ++i) sorted = !less(a[i], a[i - 1]);
    if (!sorted && count <= 16) {
        // Stable insertion: equal names keep document order for the last-wins pass.
        for (uint32_t i = 1; i < count; ++i) {
            Attr v = a[i];
            uint32_t j = i;
            for (; j > 0 && less(v, a[j - 1]); --j) a[j] = a[j - 1];
            a[j] = v;
        }
    } else if (!sorted) {
        // Sort by the first eight bytes packed big-endian (one integer compare
        // orders them byte-wise), then the rest of the name, then the position:
        // names lie in the text in document order, so their addresses keep equal
        // names stable for the last-wins pass.
        struct SortItem {
            uint64_t key;
            const char* rest;
            Attr attr;
        };
        static std::vector<SortItem> scratch;
        scratch.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            uint64_t key = 0;
            const char* n = a[i].name;
            int k = 0;
            for (; k < 8 && n[k]; ++k) key = key << 8 | uint8_t(n[k]);
            const bool longName = k == 8;
            for (; k < 8; ++k) key <<= 8;
            scratch[i] = {key, longName ? n + 8 : nullptr, a[i]};
        }
        std::sort(scratch.begin(), scratch.end(), [](const SortItem& x, const SortItem& y) {
            if (x.key != y.key) return x.key < y.key;
            // Equal keys: both names are shorter than eight bytes or both longer.
            if (x.rest) {
                int c = strcmp(x.rest, y.rest);
                if (c != 0) return c < 0;
            }
            return x.attr.name < y.attr.name;
        });
        for (uint32_t i = 0; i < count; ++i) a[i] = scratch[i].attr;
    }
    uint32_t w = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (w > 0 && strcmp(a[w - 1].name, a[i].name) == 0)
            a[w - 1] = a[i];
        else
            a[w++] = a[i];
    }
    m_iAttrCount = int32_t(w);
    m_iAttrCursor = int32_t(w);
}

CXMLParser::CXMLParser()
{
    resetTree();
}

CXMLParser::~CXMLParser() = default;

void CXMLParser::LoadFromFile(const char* path, bool scrambled)
{
    std::string raw;
    if (FILE* f = path ? fopen(path, "rb") : nullptr) {
        char chunk[65536];
        size_t got;
        while ((got = fread(chunk, 1, sizeof(chunk), f)) > 0) raw.append(chunk, got);
        fclose(f);
    }
    // Text-mode reading: a CR LF pair arrives as LF (before unscrambling, as the
    // bytes come off the file); a lone CR stays.
    size_t w = 0;
    const size_t n = raw.size();
    for (size_t i = 0; i < n; ++i) {
        char c = raw[i];
        if (c == '\r' && i + 1 < n && raw[i + 1] == '\n') continue;
        raw[w++] = scrambled ? char(uint8_t(c) ^ TRS_XML_SCRAMBLE_BYTE) : c;
    }
    raw.resize(w);
    if (raw.empty()) throwPlainText(std::string("XMLERROR: the file is empty - ") + (path ? path : ""));
    // The old tree points into the old text: both go.
    resetTree();
    m_text.swap(raw);
}

void CXMLParser::LoadFromBuffer(const void* data, int32_t size, bool scrambled)
{
    std::string text;
    if (data && size > 0) {
        // One copying pass (assign does not zero-fill first); unscramble in
        // place before looking for CR: the byte that unscrambles to CR is dropped.
        text.assign(static_cast<const char*>(data), size_t(size));
        char* dst = text.data();
        if (scrambled)
            for (int32_t i = 0; i < size; ++i) dst[i] = char(uint8_t(dst[i]) ^ TRS_XML_SCRAMBLE_BYTE);
        if (const void* cr = memchr(dst, '\r', size_t(size))) {
            // Lines move down whole, from one CR to the next.
            size_t w = size_t(static_cast<const char*>(cr) - dst);
            size_t r = w + 1;
            while (r < size_t(size)) {
                const void* next = memchr(dst + r, '\r', size_t(size) - r);
                const size_t end = next ? size_t(static_cast<const char*>(next) - dst) : size_t(size);
                memmove(dst + w, dst + r, end - r);
                w += end - r;
                r = end + 1;
            }
            text.resize(w);
        }
    }
    if (text.empty()) throwPlainText("XMLERROR: buffer is empty.");
    resetTree();
    m_text.swap(text);
}

void CXMLParser::resetTree()
{
    m_root.m_pParent = nullptr;
    m_root.m_pszName = "";
    m_root.m_pAttrs = nullptr;
    m_root.m_iAttrCount = 0;
    m_root.m_iAttrCursor = 0;
    m_root.m_bAttrsOrdered = true;
    m_root.m_ppChildren = nullptr;
    m_root.m_iChildCount = 0;
    m_root.m_uNameOffset = 0;
    m_root.m_uAttrBegin = m_root.m_uAttrEnd = 0;
    m_strDeclName.clear();
    m_declAttrs.clear();
    m_pool.assign(1, '\0');
    m_nodes.clear();
    m_attrs.clear();
    m_children.clear();
}

uint32_t CXMLParser::intern(size_t begin, size_t end)
{
    if (begin >= end) return 0;
    size_t offset = m_pool.size();
    m_pool.append(m_text.data() + begin, end - begin);
    m_pool.push_back('\0');
    return uint32_t(offset);
}

void CXMLParser::Parse()
{
    resetTree();
    // Attribute names and values, and element names followed by whitespace, are
    // terminated in place: the tree points into the text, with no copies.
    char* t = m_text.data();
    const size_t n = m_text.size();
    // Loading caps the text below 2 GiB for buffers; files are not capped, so
    // keep pool offsets within 32 bits by reading at most 1 GiB of markup.
    const size_t limit = std::min<size_t>(n, size_t(1) << 30);
    m_pool.reserve(256);
    {
        // Every attribute needs two quotes and every element a '<': reserving
        // for those bounds spares the arrays their growth copies.
        size_t quotes = 0, opens = 0;
        for (size_t i = 0; i < limit; ++i) {
            quotes += t[i] == '"';
            opens += t[i] == '<';
        }
        m_attrs.reserve(quotes / 2);
        m_nodes.reserve(opens);
    }

    constexpr int32_t kNone = -2;
    constexpr int32_t kRoot = -1;
    auto node = [this](int32_t index) -> CXMLNode& { return index == kRoot ? m_root : m_nodes[size_t(index)]; };
    auto at = [t, limit](size_t i) { return i < limit ? t[i] : '\0'; };
    auto skipSpace = [t, limit](size_t& p) {
        while (p < limit && isSpace(t[p])) ++p;
    };
    // One name="value" pair starting at p: the name runs to whitespace or '=',
    // the value lies between the next two double quotes. False when the text
    // ends first (the unfinished pair is not kept).
    auto readAttribute = [&](size_t& p, size_t& ns, size_t& ne, size_t& vs, size_t& ve) {
        ns = p;
        while (p < limit && !is(t[p], kEndsAttrName)) ++p;
        ne = p;
        // Mostly the quote follows the '=' at once.
        size_t open = p + 1 < limit && t[p] == '=' && t[p + 1] == '"' ? p + 1 : findChar(t, limit, p, '"');
        if (open == std::string::npos) return false;
        size_t close = findChar(t, limit, open + 1, '"');
        if (close == std::string::npos) return false;
        vs = open + 1;
        ve = close;
        p = close + 1;
        return true;
    };

    int32_t cur = kNone;
    size_t p = 0;
    size_t ns, ne, vs, ve;
    for (;;) {
        // Seek tag: whatever lies before the next '<' (element text) is dropped.
        p = findChar(t, limit, p, '<');
        if (p == std::string::npos) break;
        const char kind = at(p + 1);
        if (kind == '!') {
            // Comments and every other <! construct run to the next "-->".
            size_t end = m_text.find("-->", p + 3);
            if (end == std::string::npos || end + 3 > limit) break;
            p = end + 3;
            continue;
        }
        if (kind == '/') {
            // The end tag's name is not compared: it closes the innermost element.
            size_t gt = findChar(t, limit, p + 2, '>');
            if (gt == std::string::npos) break;
            p = gt + 1;
            if (cur == kNone || cur == kRoot) break;
            cur = node(cur).m_iParentIndex;
            continue;
        }
        if (kind == '?') {
            p += 2;
            size_t s = p;
            while (p < limit && !isSpace(t[p]) && t[p] != '?') ++p;
            m_strDeclName.assign(t + s, p - s);
            bool closed = false;
            for (;;) {
                skipSpace(p);
                if (p >= limit) break;
                if (t[p] == '?' && at(p + 1) == '>') {
                    p += 2;
                    closed = true;
                    break;
                }
                if (!readAttribute(p, ns, ne, vs, ve)) break;
                m_declAttrs[std::string(t + ns, ne - ns)].assign(t + vs, ve - vs);
            }
            if (!closed) break;
            continue;
        }

        // Start tag. The first one fills the root; later ones nest under the current element.
        // A '<' that ends the text opens nothing.
        if (++p >= limit) break;
        if (cur == kNone) {
            cur = kRoot;
        } else {
            CXMLNode& child = m_nodes.emplace_back();
            child.m_iParentIndex = cur;
            cur = int32_t(m_nodes.size() - 1);
        }
        size_t s = p;
        while (p < limit && !is(t[p], kEndsTagName)) ++p;
        {
            CXMLNode& el = node(cur);
            if (p < limit && isSpace(t[p])) {
                t[p++] = '\0';
                el.m_pszName = t + s;
            } else {
                // '/' and '>' are still to be read: this name goes to the pool.
                el.m_pszName = nullptr;
                el.m_uNameOffset = intern(s, p);
            }
            el.m_uAttrBegin = el.m_uAttrEnd = uint32_t(m_attrs.size());
        }
        // "/>" moves cur to the parent before the attributes are counted.
        const int32_t self = cur;
        bool done = false;
        for (;;) {
            skipSpace(p);
            if (p >= limit) {
                done = true;
                break;
            }
            if (t[p] == '/' && at(p + 1) == '>') {
                p += 2;
                if (cur == kRoot) done = true;
                else cur = node(cur).m_iParentIndex;
                break;
            }
            if (t[p] == '>') {
                ++p;
                break;
            }
            if (!readAttribute(p, ns, ne, vs, ve)) {
                done = true;
                break;
            }
            // The name's end is whitespace or '=' and the value's the closing
            // quote, all already passed: overwriting them loses nothing.
            t[ne] = '\0';
            t[ve] = '\0';
            m_attrs.push_back({t + ns, t + vs});
        }
        node(self).m_uAttrEnd = uint32_t(m_attrs.size());
        if (done) break;
    }
    finishTree();
}

void CXMLParser::finishTree()
{
    const char* pool = m_pool.data();
    m_children.resize(m_nodes.size());

    auto finishAttributes = [&](CXMLNode& el) {
        if (!el.m_pszName) el.m_pszName = pool + el.m_uNameOffset;
        const uint32_t b = el.m_uAttrBegin, e = el.m_uAttrEnd;
        el.m_pAttrs = m_attrs.data() + b;
        el.m_iAttrCount = int32_t(e - b);
        el.m_iAttrCursor = el.m_iAttrCount;
        el.m_bAttrsOrdered = e - b <= 1;
    };

    finishAttributes(m_root);
    for (CXMLNode& el : m_nodes) {
        finishAttributes(el);
        CXMLNode& parent = el.m_iParentIndex < 0 ? m_root : m_nodes[size_t(el.m_iParentIndex)];
        el.m_pParent = &parent;
        ++parent.m_iChildCount;
    }
    // Lay every node's children out contiguously, in document order: nodes were
    // created in document order, so appending each to its parent keeps it.
    CXMLNode** slots = m_children.data();
    size_t next = 0;
    auto placeRange = [&](CXMLNode& el) {
        el.m_ppChildren = slots + next;
        next += size_t(el.m_iChildCount);
        el.m_iChildCount = 0;
    };
    placeRange(m_root);
    for (CXMLNode& el : m_nodes) placeRange(el);
    for (CXMLNode& el : m_nodes) el.m_pParent->m_ppChildren[el.m_pParent->m_iChildCount++] = &el;
}
