#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The bodies of the fuzz targets, shared by the libFuzzer executables and by the replay test
// that runs every kept input in the ordinary builds. Each returns an empty text, or what
// invariant the input broke.
namespace fuzz {

// INI reader and writer. The first line is "section|key|value|section2|key2"; the rest is
// the file.
std::string Ini(const uint8_t* data, std::size_t size);
// LoadSettings of the kind size % 6 on the bytes as its settings file, then a save and a
// reload.
std::string Settings(const uint8_t* data, std::size_t size);
// The XML reader, the country lookup and GetAttribute on the bytes as countries.xml.
std::string Xml(const uint8_t* data, std::size_t size);
// The guide text parser and its layout; the first eight bytes choose the area and widths.
std::string Guide(const uint8_t* data, std::size_t size);

// A folder of this process's own for the files the targets write.
const std::string& ScratchDir();

} // namespace fuzz
