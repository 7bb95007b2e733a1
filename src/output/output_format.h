#pragma once
// How a spellbook leaves the program: clipboard text, preview and printout.
// One instance lives for the whole run; it is never saved.

#include <cstdint>
#include <string>

namespace vellumar {

struct OutputFont {
    std::string Face = "System";
    int32_t Height = 17; // character height in pixels at 96 dots per inch
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool SystemTextColour = true; // the system's window-text colour
    uint32_t Colour = 0;          // 0xRRGGBB, used when SystemTextColour is off

    bool operator==(const OutputFont&) const = default;
};

struct OutputFormat {
    int32_t Columns = 0; // 0: one comma-separated line a level; 1 to 4: columns
    bool IncludeBookPage = true;
    bool IncludeCategory = false;
    bool IncludeFrequency = false;
    // "Spell texts": one spell a line, each followed by its rules text as a card.
    bool IncludeSpellTexts = false;
    OutputFont Font;

    bool operator==(const OutputFormat&) const = default;
};

} // namespace vellumar
