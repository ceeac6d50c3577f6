#pragma once
// Rules every page of the editor shares: names the engine's files can keep,
// numbers typed into boxes, scroll bars that show a scaled value, colour
// previews, and file names chosen in a dialog.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ra7::editor {

// --- names -----------------------------------------------------------------------
// Why `name` cannot be stored as a name (the files keep names as at most
// 255 bytes of code page 1251), or nothing when it can. The text is trimmed
// first; `what` names the thing in the message ("Имя объекта").
std::optional<std::string> NameProblem(std::string_view name, std::string_view what = "Имя");
// The trimmed name.
std::string TrimmedName(std::string_view name);

// --- numbers typed into boxes ----------------------------------------------------
// The value of a typed number: "." or "," as the decimal separator, an
// exponent allowed. Nothing for text that is not a number, a value that is
// not finite or does not fit a single, or one outside [min, max]; the box
// then keeps the value it had.
struct NumberLimits {
    float min = -3.4e38f;
    float max = 3.4e38f;
};
std::optional<float> ParseTypedNumber(std::string_view text, NumberLimits limits = {});
// A value as the boxes show it: three decimals and "." (1.500).
std::string FormatBoxNumber(float value);

// --- scroll bars -------------------------------------------------------------------
// A bar shows value × scale as an integer position within its range; moving
// it stores position / scale. Rounding (not truncating) keeps 0.7 × 100 at
// 70, and a value outside the range only pins the bar: the stored value is
// not touched until the user moves that very bar.
struct ScaledBar {
    float scale = 1;
    std::int32_t min = 0;
    std::int32_t max = 100;

    std::int32_t Position(float value) const;
    float Value(std::int32_t position) const;
    // The text shown beside the bar: the value with up to three decimals.
    std::string Text(float value) const;
};

// --- colour previews ---------------------------------------------------------------
// A colour component (0 to 2, 1 the normal full strength) as a preview byte:
// Round(c / 2 × 255), held to 0..255 so that negative or huge components from
// scripts and files still draw.
std::uint8_t PreviewByte(float component);

// --- chosen files ------------------------------------------------------------------
// How a page stores a file the user chose in a dialog.
struct StoredNameRules {
    bool lowerCase = false;          // most resources are named in lower case
    std::string_view extension = {}; // appended when the name does not end with it (".kgf")
};
// The chosen path as names are stored: relative to the working directory
// when it lies under it (absolute otherwise), with "\" between folders so
// that scenes travel between systems. Never made by cutting characters.
std::string StoredFileName(std::string_view chosenPath, StoredNameRules rules = {});
// Whether the stored name names an existing file (through the resolver).
bool StoredFileExists(std::string_view storedName);
// The console lines of a chosen resource: "Файл <name> добавлен" after a
// load that worked, "Файл <name> не найден" for a missing file.
std::string FileAddedLine(std::string_view storedName);
std::string FileMissingLine(std::string_view storedName);

} // namespace ra7::editor
