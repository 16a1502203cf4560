// The XML reader: the trees it builds for each construct, scrambling, line
// ends, its plain-text errors, and truncated input of every construct (which
// must stop at the end of the text: the sanitizer build checks the reads).
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

// Owns a parser loaded from a plain buffer and parsed.
struct Parsed {
    explicit Parsed(const std::string& text, bool scrambled = false)
    {
        parser.LoadFromBuffer(text.data(), int32_t(text.size()), scrambled);
        parser.Parse();
    }
    CXMLNode* root() { return parser.GetRoot(); }
    CXMLParser parser;
};

std::vector<std::string> attributeWalk(CXMLNode* node)
{
    std::vector<std::string> names;
    node->FirstAttribute();
    for (const char* n = node->GetAttributeName(); n; n = node->GetAttributeName()) {
        names.push_back(std::string(n) + "=" + node->GetAttribute(n));
        node->NextAttribute();
    }
    return names;
}

// A compact picture of a tree: name[attr=value,...](children...)
std::string shape(CXMLNode* node)
{
    std::string s = node->GetName();
    auto attrs = attributeWalk(node);
    if (!attrs.empty()) {
        s += "[";
        for (size_t i = 0; i < attrs.size(); ++i) s += (i ? "," : "") + attrs[i];
        s += "]";
    }
    if (node->GetChildrenCount() > 0) {
        s += "(";
        for (int32_t i = 0; i < node->GetChildrenCount(); ++i) {
            EXPECT_EQ(node->GetChild(i)->GetParent(), node);
            s += (i ? " " : "") + shape(node->GetChild(i));
        }
        s += ")";
    }
    return s;
}

std::string shapeOf(const std::string& text)
{
    Parsed p(text);
    return shape(p.root());
}

TEST(XMLParser, DeclarationCommentAndAttributes)
{
    Parsed p(R"(<?xml version="1.0"?><!-- note --><root b="2" a="1"><child/></root>)");
    EXPECT_EQ(shape(p.root()), "root[a=1,b=2](child)");
    EXPECT_EQ(p.root()->GetParent(), nullptr);
    EXPECT_EQ(p.parser.GetDeclarationName(), "xml");
    EXPECT_EQ(p.parser.GetDeclarationAttributes().at("version"), "1.0");
    // Byte-wise order: upper case before lower case.
    EXPECT_EQ(shapeOf(R"(<n zeta="1" Alpha="2" beta="3"/>)"), "n[Alpha=2,beta=3,zeta=1]");
    // A repeated attribute keeps its last value; spaces around '=' are fine.
    EXPECT_EQ(shapeOf(R"(<n a="1" a="2"/>)"), "n[a=2]");
    EXPECT_EQ(shapeOf("<a x = \"1\"\n\ty=\"2\"></a>"), "a[x=1,y=2]");
    // Values stay verbatim: no entity decoding, markup characters and line breaks kept.
    EXPECT_EQ(shapeOf("<a v=\"&amp; <b/> x\nz\"/>"), "a[v=&amp; <b/> x\nz]");
}

TEST(XMLParser, QueriesOfAbsentThingsAreEmptyOrNull)
{
    Parsed p(R"(<a k="v"><b/></a>)");
    CXMLNode* a = p.root();
    EXPECT_STREQ(a->GetAttribute("missing"), "");
    EXPECT_STREQ(a->GetAttribute("K"), "") << "names are case-sensitive";
    EXPECT_EQ(a->GetChild(-1), nullptr);
    EXPECT_EQ(a->GetChild(1), nullptr);
    CXMLNode* b = a->GetChild(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetChild(0), nullptr);
    b->FirstAttribute();
    EXPECT_EQ(b->GetAttributeName(), nullptr);
    a->FirstAttribute();
    a->NextAttribute();
    a->NextAttribute(); // past the end stays past the end
    EXPECT_EQ(a->GetAttributeName(), nullptr);
}

TEST(XMLParser, TextIsDroppedAndEndTagsCloseTheInnermostElement)
{
    EXPECT_EQ(shapeOf("<a>hello<b/>world</a>"), "a(b)");
    EXPECT_EQ(shapeOf("<a><b></c></a>"), "a(b)");
    EXPECT_EQ(shapeOf("<a><b><c/></b><d x=\"1\"></d></a>"), "a(b(c) d[x=1])");
    // A second top-level element is never read.
    EXPECT_EQ(shapeOf("<a/><b/>"), "a");
    EXPECT_EQ(shapeOf("<a></a><b/>"), "a");
    // A document-type line is skipped like a comment, up to the next "-->".
    EXPECT_EQ(shapeOf("<!DOCTYPE x --><r><!-- <c/> --><d/></r>"), "r(d)");
}

TEST(XMLParser, CRLFAndScrambledTextsGiveTheSameTree)
{
    const std::string lf = "<?xml version=\"1.0\"?>\n<pack a=\"1\">\n\t<item id=\"X\"\n b=\"2\"/>\n</pack>\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string expected = "pack[a=1](item[b=2,id=X])";
    EXPECT_EQ(shapeOf(lf), expected);
    EXPECT_EQ(shapeOf(crlf), expected);

    std::string scrambled = crlf;
    for (char& c : scrambled) c = char(uint8_t(c) ^ 0xA6);
    Parsed s(scrambled, true);
    EXPECT_EQ(shape(s.root()), expected);
    CXMLParser loaded;
    loaded.LoadFromBuffer(scrambled.data(), int32_t(scrambled.size()), true);
    EXPECT_EQ(loaded.GetText(), lf) << "the byte that unscrambles to CR is the one dropped";
}

TEST(XMLParser, EmptyInputRaisesPlainTextErrorsAndKeepsTheParser)
{
    CXMLParser p;
    const std::pair<const char*, int32_t> empties[] = {{"x", 0}, {"x", -5}, {nullptr, 3}, {"\r\r", 2}, {"\r", 1}};
    p.LoadFromBuffer("<a/>", 4, false);
    for (const auto& empty : empties)
        EXPECT_EQ(tst::thrownText([&] { p.LoadFromBuffer(empty.first, empty.second, false); }),
                  "XMLERROR: buffer is empty.")
            << empty.second;
    EXPECT_EQ(p.GetText(), "<a/>") << "a failed load leaves the text as it was";
    // Before parsing, and for a text without a start tag, the root is empty but present.
    EXPECT_STREQ(p.GetRoot()->GetName(), "");
    p.Parse();
    EXPECT_STREQ(p.GetRoot()->GetName(), "a");
    // A new text replaces the tree that pointed into the old one.
    p.LoadFromBuffer("<b k=\"v\"/>", 10, false);
    EXPECT_STREQ(p.GetRoot()->GetName(), "");
    p.Parse();
    EXPECT_STREQ(p.GetRoot()->GetAttribute("k"), "v");
}

TEST(XMLParser, ATextCutShortKeepsItsTreeAndSaysWhy)
{
    const struct {
        const char* text;
        const char* shape;
        const char* reason; // null: complete
    } cases[] = {
        {"<?xml v=\"1\"?><r><a/></r>trailing", "r(a)", nullptr},
        {"<r/>", "r", nullptr},
        {"<r><a/><!-- cut", "r(a)", "the text ends inside a comment, CDATA or other <! construct"},
        {"<r><a/><![CDATA[ x", "r(a)", "the text ends inside a comment, CDATA or other <! construct"},
        {"<r><a/><?decl v=\"1\"", "r(a)", "the text ends inside a <? declaration"},
        {"<r><a/></r", "r(a)", "the text ends inside an end tag"},
        {"<r><a k=\"v", "r(a)", "the text ends inside a start tag"},
        {"<r><a/><", "r(a)", "the text ends inside a start tag"},
        {"<r><a/><b>", "r(a b)", "the text ends before the root element is closed"},
        {"just text", "", "the text ends before the root element is closed"},
    };
    for (const auto& c : cases) {
        Parsed p(c.text);
        EXPECT_EQ(shape(p.root()), c.shape) << c.text;
        if (c.reason) EXPECT_STREQ(p.parser.GetIncompleteReason(), c.reason) << c.text;
        else EXPECT_EQ(p.parser.GetIncompleteReason(), nullptr) << c.text;
    }
}

class XMLParserFiles : public tst::InScratchDir {};

TEST_F(XMLParserFiles, FilesAreReadAsTextAndMissingOrEmptyFilesRaise)
{
    tst::writeFile("doc.xml", "<r>\r\n<c v=\"a\r\nb\"/>\r\n</r>\r\n");
    CXMLParser p;
    p.LoadFromFile("doc.xml", false);
    EXPECT_EQ(p.GetText(), "<r>\n<c v=\"a\nb\"/>\n</r>\n");
    p.Parse();
    EXPECT_STREQ(p.GetRoot()->GetChild(0)->GetAttribute("v"), "a\nb");

    std::string scrambled = "<s k=\"1\"/>";
    for (char& c : scrambled) c = char(uint8_t(c) ^ 0xA6);
    tst::writeFile("s.bin", scrambled);
    CXMLParser q;
    q.LoadFromFile("s.bin", true);
    q.Parse();
    EXPECT_STREQ(q.GetRoot()->GetAttribute("k"), "1");

    tst::writeFile("empty.xml", "");
    EXPECT_EQ(tst::thrownText([&] { p.LoadFromFile("empty.xml", false); }), "XMLERROR: the file is empty - empty.xml");
    EXPECT_EQ(tst::thrownText([&] { p.LoadFromFile("nope.xml", false); }), "XMLERROR: the file is empty - nope.xml");
}

// Every prefix of a document that uses every construct parses without reading
// past its end (heap copies of exactly the prefix make ASan see any overread),
// and the partial tree is a prefix of the full one.
TEST(XMLParser, EveryTruncationStopsAtTheEndOfTheText)
{
    const std::string doc = "<?xml version=\"1.0\" enc=\"u\"?>\n<!DOCTYPE d -->\n<!-- c -->\n"
                            "<root a=\"1\" b = \"x y\">text<child k=\"v\"/>\n<other><deep z=\"2\"></deep></other>"
                            "</root>\n<second/>";
    for (size_t len = 1; len <= doc.size(); ++len) {
        std::unique_ptr<char[]> copy(new char[len]);
        memcpy(copy.get(), doc.data(), len);
        CXMLParser p;
        p.LoadFromBuffer(copy.get(), int32_t(len), false);
        p.Parse();
        std::string name = p.GetRoot()->GetName();
        EXPECT_TRUE(name.empty() || std::string("root").rfind(name, 0) == 0) << len << ": " << name;
        EXPECT_LE(p.GetRoot()->GetChildrenCount(), 2) << len;
    }
    EXPECT_EQ(shapeOf(doc), "root[a=1,b=x y](child[k=v] other(deep[z=2]))");
}

TEST(XMLParser, OddMarkupNeverLoopsOrOverreads)
{
    // Unterminated constructs, an end tag before any start tag, no tag at all.
    for (const char* text : {"<", "<!", "<!-", "<!--", "<!-- x", "<?", "<?x", "<?x a", "<?x a=\"1", "<a", "<a b",
                             "<a b=", "<a b=\"", "<a b=\"1", "<a b=\"1\"", "<a/", "<a>", "<a></", "</a><b/>", "no tags",
                             "<a =\"1\"/>", "<a \"x\"/>", "<>", "</>", "<a><b/"}) {
        size_t len = strlen(text);
        std::unique_ptr<char[]> copy(new char[len]);
        memcpy(copy.get(), text, len);
        CXMLParser p;
        p.LoadFromBuffer(copy.get(), int32_t(len), false);
        p.Parse();
        SUCCEED() << text;
    }
    EXPECT_EQ(shapeOf("</a><b/>"), "") << "an end tag before any start tag stops the pass";
    EXPECT_EQ(shapeOf("<a b=\"1"), "a") << "an unfinished value is not kept";
    EXPECT_EQ(shapeOf("<a><b x=\"1\""), "a(b[x=1])");
}

TEST(XMLParser, ManyAttributesAndDeepNesting)
{
    std::string text = "<r";
    for (int i = 40; i > 0; --i) text += " a" + std::to_string(i % 20) + "=\"" + std::to_string(i) + "\"";
    text += ">";
    for (int i = 0; i < 500; ++i) text += "<n>";
    Parsed p(text);
    EXPECT_EQ(p.root()->GetAttributesCount(), 20);
    // a0 was written by i = 40 and i = 20; the later one (20) wins.
    EXPECT_STREQ(p.root()->GetAttribute("a0"), "20");
    EXPECT_STREQ(p.root()->GetAttribute("a19"), "19");
    std::vector<std::string> names;
    for (const std::string& pair : attributeWalk(p.root())) names.push_back(pair.substr(0, pair.find('=')));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    // Long names that share their first eight bytes, repeated: byte-wise order
    // past the shared prefix, and the last value written wins.
    std::string longNames = "<r";
    for (int i = 0; i < 30; ++i)
        longNames += " shared_prefix_" + std::string(1, char('z' - i % 10)) + "=\"" + std::to_string(i) + "\"";
    longNames += " shared_prefix=\"short\" shared_prefiy=\"next\"/>";
    Parsed q(longNames);
    EXPECT_EQ(shape(q.root()), "r[shared_prefix=short,shared_prefix_q=29,shared_prefix_r=28,shared_prefix_s=27,"
                               "shared_prefix_t=26,shared_prefix_u=25,shared_prefix_v=24,shared_prefix_w=23,"
                               "shared_prefix_x=22,shared_prefix_y=21,shared_prefix_z=20,shared_prefiy=next]");
    int depth = 0;
    for (CXMLNode* n = p.root(); n->GetChildrenCount(); n = n->GetChild(0)) ++depth;
    EXPECT_EQ(depth, 500);
}

} // namespace
