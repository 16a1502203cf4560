// A small XML writer for the generated data files: elements with attributes in
// the order they are given and nested children, written with stable formatting
// (numbers in a fixed short form), so the same data always gives the same bytes.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace gen {

// Number text as the data files use it: integers plainly, others with at most
// four decimals and no trailing zeros.
std::string num(double v);

class XmlNode {
public:
    explicit XmlNode(std::string tag) : m_tag(std::move(tag)) {}
    // Setting a name again replaces its value.
    XmlNode& attr(const std::string& name, const std::string& value);
    XmlNode& attr(const std::string& name, const char* value) { return attr(name, std::string(value)); }
    XmlNode& attr(const std::string& name, double value) { return attr(name, num(value)); }
    XmlNode& attr(const std::string& name, int value) { return attr(name, num(value)); }
    // Appends a child and returns it, for filling in place.
    XmlNode& child(const std::string& tag);
    XmlNode& add(XmlNode node);
    // Text written before the element as a comment.
    XmlNode& note(std::string text)
    {
        m_note = std::move(text);
        return *this;
    }

    std::string text(int indent = 0) const;

private:
    std::string m_tag, m_note;
    std::vector<std::pair<std::string, std::string>> m_attrs;
    std::vector<XmlNode> m_children;
};

// The whole file: declaration, a comment saying what the file is, the root.
std::string xmlDocument(const XmlNode& root, const std::string& comment);

// Writes bytes to a file, creating its folder; throws on failure.
void writeFile(const std::string& path, const std::string& bytes);

} // namespace gen
