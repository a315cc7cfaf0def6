#pragma once

// Where the maker of the program can be reached; shown in the about box and used by the help menu.
namespace MakerInfo {
constexpr const char *Name = "Velmora Kft.";
constexpr const char *HomePage = "https://velmora.example/dromvelpro/";
constexpr const char *Mail = "info@velmora.example";
constexpr const char *Version = "V4.0.0.110";
} // namespace MakerInfo
