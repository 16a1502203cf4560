// The engine's XML reader: a tolerant, non-validating reader that keeps elements,
// their attributes and their nesting, and nothing else. Resource data may be
// scrambled (every byte XORed with 0xA6); the reader unscrambles it as it loads.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The one scrambling byte of the XML encrypt mode; scrambling twice restores the text.
constexpr uint8_t TRS_XML_SCRAMBLE_BYTE = 0xA6;

class CXMLParser;

class CXMLNode {
public:
    // Nodes are made by the parser; the move only serves its node arrays.
    CXMLNode() = default;
    CXMLNode(CXMLNode&&) noexcept = default;
    CXMLNode& operator=(CXMLNode&&) noexcept = default;
    CXMLNode(const CXMLNode&) = delete;
    CXMLNode& operator=(const CXMLNode&) = delete;

    // The tag name as written; "" for an unfilled root.
    const char* GetName() const { return m_pszName; }
    CXMLNode* GetParent() const { return m_pParent; }
    int32_t GetChildrenCount() const { return m_iChildCount; }
    // Null for a negative or too large index.
    CXMLNode* GetChild(int32_t index) const;

    // Value of the attribute with exactly that name; "" (never null) when absent.
    const char* GetAttribute(const char* name) const;
    const char* GetAttribute(const std::string& name) const { return GetAttribute(name.c_str()); }
    int32_t GetAttributesCount() const
    {
        ready();
        return m_iAttrCount;
    }

    // Attribute walk in byte-wise name order (not document order):
    // FirstAttribute; while GetAttributeName is not null: ...; NextAttribute.
    void FirstAttribute()
    {
        ready();
        m_iAttrCursor = 0;
    }
    void NextAttribute()
    {
        ready();
        if (m_iAttrCursor < m_iAttrCount) ++m_iAttrCursor;
    }
    const char* GetAttributeName() const;

private:
    friend class CXMLParser;

    struct Attr {
        const char* name;
        const char* value;
    };

    // An element's attributes are put in name order (and repeated names reduced
    // to the last) on the first look at them, not during the pass: documents are
    // often read only in part, and ordering long lists costs more than parsing them.
    void ready() const
    {
        if (!m_bAttrsOrdered) orderAttributes();
    }
    void orderAttributes() const;

    CXMLNode* m_pParent = nullptr;
    const char* m_pszName = "";
    mutable Attr* m_pAttrs = nullptr;
    mutable int32_t m_iAttrCount = 0;
    mutable int32_t m_iAttrCursor = 0;
    mutable bool m_bAttrsOrdered = true;
    CXMLNode** m_ppChildren = nullptr;
    int32_t m_iChildCount = 0;

    // Parse-time links by index (the node arrays still grow); turned into the
    // pointers above once the pass is over. Parent index -1 is the root. A
    // name not terminated in the text has a null m_pszName and a pool offset.
    int32_t m_iParentIndex = -1;
    uint32_t m_uNameOffset = 0;
    uint32_t m_uAttrBegin = 0;
    uint32_t m_uAttrEnd = 0;
};

class CXMLParser {
public:
    CXMLParser();
    ~CXMLParser();
    CXMLParser(const CXMLParser&) = delete;
    CXMLParser& operator=(const CXMLParser&) = delete;

    // Reads the file as text (CR LF arrives as LF). Raises the plain-text error
    // "XMLERROR: the file is empty - " + path when nothing could be read; the
    // parser is then left as it was.
    void LoadFromFile(const char* path, bool scrambled);
    // Copies size bytes, unscrambling first and then dropping every CR. Raises
    // the plain-text error "XMLERROR: buffer is empty." when nothing is left.
    void LoadFromBuffer(const void* data, int32_t size, bool scrambled);
    // Builds the tree in one forward pass. Never reports anything: malformed or
    // truncated markup leaves a partial tree, and the pass never reads past the
    // text. Names and values are NUL-terminated inside the text, which the tree
    // points into: the tree stays valid until the parser is destroyed or loads
    // another text (a successful load empties the tree). Called once per load.
    void Parse();
    // Null when the last Parse ended by closing the root element; otherwise why
    // the tree is partial (the text ended inside a construct or before the root
    // was closed). The partial tree is kept either way.
    const char* GetIncompleteReason() const { return m_pszIncomplete; }

    CXMLNode* GetRoot() { return &m_root; }
    // The text as loaded; Parse then terminates names and values inside it.
    const std::string& GetText() const { return m_text; }
    const std::string& GetDeclarationName() const { return m_strDeclName; }
    // Attributes of every <? ... ?> seen, last value per name.
    const std::map<std::string, std::string>& GetDeclarationAttributes() const { return m_declAttrs; }

private:
    void resetTree();
    // Offset of a NUL-terminated copy in the pool; empty texts share offset 0.
    uint32_t intern(size_t begin, size_t end);
    void finishTree();
    std::string m_text;
    std::string m_strDeclName;
    const char* m_pszIncomplete = nullptr;
    std::map<std::string, std::string> m_declAttrs;
    CXMLNode m_root;
    // Element names that cannot be terminated in the text (followed by '/' or
    // '>'), each NUL-terminated. Offset 0 holds "".
    std::string m_pool;
    std::vector<CXMLNode> m_nodes;
    std::vector<CXMLNode::Attr> m_attrs;
    std::vector<CXMLNode*> m_children;
};
