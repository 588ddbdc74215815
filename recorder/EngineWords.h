#pragma once

#include <string>
#include <vector>

#include <QString>

// The engine speaks plain English and knows nothing of languages; at this
// boundary its words that the window shows become the user's language.
// Words the tables here do not know (a system's or FFmpeg's own error)
// keep the engine's English.
namespace EngineWords {

// A unit of the engine's value ranges ("bit/s", "ms").
QString Unit(const char* pszUnit);

// The engine's lines on the disc standards a profile meets, and every
// reason it gives for one it misses.
QString DiscStandards(const std::string& strDescription);

// The engine's reasons a profile misses a disc standard, as one text.
QString DiscShortfalls(const std::vector<std::string>& arrReasons);

} // namespace EngineWords
