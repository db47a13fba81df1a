#include "CountryPresets.h"

#include "model/Attractor.h"
#include "platform/CRuntime.h"

std::string CountryName(const CXmlDocument& doc, const CXmlElement& country) {
    std::string name = doc.GetAttribute(&country, "Name");
    if (name.empty())
        name = country.m_strText;
    if (name.empty())
        name = country.m_strName;
    return name;
}

const CXmlElement* FindCountry(CXmlDocument& doc, const std::string& name) {
    for (CXmlElement* p = doc.GetFirstChild(&doc.m_root); p; p = doc.GetNextChild(&doc.m_root)) {
        if (CountryName(doc, *p) == name)
            return p;
    }
    return nullptr;
}

std::vector<std::string> CountryNames(CXmlDocument& doc) {
    std::vector<std::string> names;
    for (CXmlElement* p = doc.GetFirstChild(&doc.m_root); p; p = doc.GetNextChild(&doc.m_root))
        names.push_back(CountryName(doc, *p));
    return names;
}

bool CountryTexts(CXmlDocument& doc, const std::string& name, CountryValues& values) {
    const CXmlElement* country = FindCountry(doc, name);
    if (!country)
        return false;
    for (int i = 0; i < 7; ++i)
        values.text[i] = doc.GetAttribute(country, COUNTRY_KEYS[i]);
    return true;
}

bool ApplyCountryToAttractor(CXmlDocument& doc, const std::string& name, CAttractor& attractor) {
    CountryValues values;
    if (!CountryTexts(doc, name, values))
        return false;
    for (int i = 0; i < 7; ++i)
        attractor.m_param[i].m_value = platform::Atof(values.text[i].c_str());
    return true;
}
