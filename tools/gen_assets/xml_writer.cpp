// XML text of the generated data files (see xml_writer.h).
#include "tools/gen_assets/xml_writer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace gen {

std::string num(double v)
{
    char buf[64];
    if (std::fabs(v - std::round(v)) < 1e-9) {
        snprintf(buf, sizeof buf, "%lld", static_cast<long long>(std::llround(v)));
        return buf;
    }
    snprintf(buf, sizeof buf, "%.4f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

XmlNode& XmlNode::attr(const std::string& name, const std::string& value)
{
    if (value.find('"') != std::string::npos) throw std::runtime_error("quote in attribute " + name);
    // The GUI hands an empty value to its element untyped, which only handlers
    // accept: leave the attribute out instead.
    if (value.empty()) throw std::runtime_error("empty attribute " + name);
    for (auto& [n, v] : m_attrs) {
        if (n == name) { // a later setting replaces an earlier one in place
            v = value;
            return *this;
        }
    }
    m_attrs.emplace_back(name, value);
    return *this;
}

XmlNode& XmlNode::child(const std::string& tag)
{
    m_children.emplace_back(tag);
    return m_children.back();
}

XmlNode& XmlNode::add(XmlNode node)
{
    m_children.push_back(std::move(node));
    return m_children.back();
}

std::string XmlNode::text(int indent) const
{
    const std::string pad(size_t(indent) * 2, ' ');
    std::string out;
    if (!m_note.empty()) out += pad + "<!-- " + m_note + " -->\n";
    out += pad + "<" + m_tag;
    // Long attribute lists get one line each, so diffs of the data stay readable.
    const bool multiline = m_attrs.size() > 5;
    for (const auto& [name, value] : m_attrs) {
        out += multiline ? "\n" + pad + "    " : " ";
        out += name + "=\"" + value + "\"";
    }
    if (m_children.empty()) return out + "/>\n";
    out += ">\n";
    for (const XmlNode& c : m_children) out += c.text(indent + 1);
    return out + pad + "</" + m_tag + ">\n";
}

std::string xmlDocument(const XmlNode& root, const std::string& comment)
{
    return "<?xml version=\"1.0\"?>\n<!-- " + comment + " -->\n" + root.text();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    f.close();
    if (!f) throw std::runtime_error("cannot write " + path);
}

} // namespace gen
