#pragma once
#include "countries/XmlDocument.h"

#include <string>
#include <vector>

class CAttractor;

// Attribute names of the economic parameters a to g, in that order.
inline constexpr const char* COUNTRY_KEYS[7] = {"a", "b", "c", "d", "G", "U", "I"};

struct CountryValues {
    std::string text[7]; // raw attribute texts for the parameters a to g
};

// The Name attribute, else the element's text, else its tag name.
std::string CountryName(const CXmlDocument& doc, const CXmlElement& country);

// The first child of the root whose name is exactly `name`, or nullptr. Uses the root's
// child cursor.
const CXmlElement* FindCountry(CXmlDocument& doc, const std::string& name);

// The names of all countries in document order, duplicates included.
std::vector<std::string> CountryNames(CXmlDocument& doc);

// The raw texts of a, b, c, d, G, U and I; false (values untouched) when there is no such
// country.
bool CountryTexts(CXmlDocument& doc, const std::string& name, CountryValues& values);

// Stores the country's seven values as the current values of parameters a to g, without
// checking limits; false when there is no such country.
bool ApplyCountryToAttractor(CXmlDocument& doc, const std::string& name, CAttractor& attractor);
