#pragma once
// What the driver offers, settled once after the context is created: the
// capability flags other modules consult, and the clearing of the settings
// (USE VBO, USE FBO, USE GLSL, bloom, anisotropy) the driver cannot serve.

#include <functional>
#include <string>
#include <string_view>

namespace ra7 {

class TDotContext;

extern bool HasMultisample;
extern bool HasMultitexture;
extern bool HasVertexProgram;
extern bool HasFragmentProgram;
extern bool HasGenerateMipmap;

// Sets every capability flag back to false (start-up and test fixtures).
void ResetCapabilities();

// The driver's extension list with a way to fetch entry points. An extension
// counts as present when its name is a whole word of the list (bounded by
// blanks or the ends of the text) and every entry point it defines resolves.
class ExtensionSet {
public:
    using Resolver = std::function<bool(const char* entryPoint)>;
    ExtensionSet(std::string extensionText, Resolver resolves);

    // The list of the current context (GL_EXTENSIONS), resolving entry points
    // through the context's platform.
    static ExtensionSet FromContext(TDotContext& context);

    bool Has(std::string_view name) const;
    // The same set with one name taken out of the list (drivers lacking it).
    ExtensionSet Without(std::string_view name) const;
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    Resolver resolves_;
};

// Whether `name` occurs in `list` as a whole, blank-bounded word.
bool ContainsExtensionWord(std::string_view list, std::string_view name);

// Swap control, anisotropy, VBO, FBO, GLSL and bloom switches, then the
// required extensions; logs each finding and throws "This program requires
// ...!" for the first required extension missing.
void DetectCapabilities(TDotContext& context);
void DetectCapabilities(TDotContext& context, const ExtensionSet& extensions);

} // namespace ra7
