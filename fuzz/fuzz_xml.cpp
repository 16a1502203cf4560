// The XML reader on any text, plain and scrambled: every name and value in the
// tree comes from the text, and the scrambled text gives the same tree.
#include <cstring>

#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "fuzz/fuzz_support.h"

namespace {

// The tree as text; checks that every name and value occurs in the source.
void describe(CXMLNode* node, const std::string& source, std::string& out)
{
    const std::string name = node->GetName();
    FUZZ_CHECK(source.find(name) != std::string::npos);
    out += name + "[";
    for (node->FirstAttribute(); const char* key = node->GetAttributeName(); node->NextAttribute()) {
        const std::string value = node->GetAttribute(key);
        FUZZ_CHECK(source.find(key) != std::string::npos);
        FUZZ_CHECK(source.find(value) != std::string::npos);
        out += std::string(key) + "=" + value + ";";
    }
    out += "](";
    for (int32_t i = 0; i < node->GetChildrenCount(); ++i) {
        CXMLNode* child = node->GetChild(i);
        FUZZ_CHECK(child && child->GetParent() == node);
        describe(child, source, out);
    }
    out += ")";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    std::string source(reinterpret_cast<const char*>(data), size);
    CXMLParser plain;
    if (!fuzz::refusedOrDone([&] { plain.LoadFromBuffer(source.data(), int32_t(size), false); })) return 0;
    const std::string text = plain.GetText(); // CRs dropped
    plain.Parse();
    std::string a;
    describe(plain.GetRoot(), text, a);

    std::string scrambled = source;
    for (char& c : scrambled) c = char(uint8_t(c) ^ TRS_XML_SCRAMBLE_BYTE);
    CXMLParser other;
    other.LoadFromBuffer(scrambled.data(), int32_t(size), true);
    FUZZ_CHECK(other.GetText() == text);
    other.Parse();
    std::string b;
    describe(other.GetRoot(), text, b);
    FUZZ_CHECK(a == b);
    FUZZ_CHECK((plain.GetIncompleteReason() == nullptr) == (other.GetIncompleteReason() == nullptr));
    return 0;
}
