// XML variables: program values named by an ID whose numbers live in data. An
// XML data resource (type "XMLDATA", root <xmldata>) assigns them when loaded:
// every attribute of every child is one assignment, ID = value text.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class CXMLVar {
public:
    // Raises when a variable with the same ID already exists.
    explicit CXMLVar(const char* fp_pszID);
    virtual void SetValue(const char* value) = 0;
    virtual ~CXMLVar();
    CXMLVar(const CXMLVar&) = delete;
    CXMLVar& operator=(const CXMLVar&) = delete;

    static void CreateXMLVarsMap();
    static void DestroyXMLVarsMap();
    static bool XMLVarsMapExists() { return s_pXMLVarsMap != nullptr; }
    // Gives the text to the variable with that ID; an ID no variable declares
    // is logged as "Warning: unused xml variable: " + ID and skipped.
    static void SetXMLVar(const char* id, const char* value);

private:
    // Not owning: variables are long-lived objects that register themselves.
    static inline std::map<std::string, CXMLVar*>* s_pXMLVarsMap = nullptr;
};

class CXMLVarInt : public CXMLVar {
public:
    explicit CXMLVarInt(const char* fp_pszID) : CXMLVar(fp_pszID) {}
    // Reads a decimal integer the way a stream does ("12abc" is 12; no number is 0).
    void SetValue(const char* value) override;
    int32_t m_iValue = 0;
};

class CXMLVarFloat : public CXMLVar {
public:
    explicit CXMLVarFloat(const char* fp_pszID) : CXMLVar(fp_pszID) {}
    void SetValue(const char* value) override;
    float m_fValue = 0.0f;
};

// The LoadResFunc of "XMLDATA": parses the bytes in the current XML encrypt
// mode and applies every assignment (children in document order, attributes
// in name order, so the last assignment of an ID wins).
void RESLOAD_XMLData(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                     int32_t data3);
