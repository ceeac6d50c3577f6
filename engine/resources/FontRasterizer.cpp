#include "resources/FontRasterizer.h"

#include "runtime/Errors.h"
#include "runtime/TextCodec.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace ra7 {

namespace {

struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

struct FtLibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FtFaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

GlyphBitmap toGlyphBitmap(FT_GlyphSlot slot)
{
    GlyphBitmap glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = static_cast<std::int32_t>(bitmap.width);
    glyph.height = static_cast<std::int32_t>(bitmap.rows);
    glyph.xOrigin = static_cast<float>(-slot->bitmap_left);
    glyph.yOrigin = static_cast<float>(glyph.height - slot->bitmap_top);
    glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    const std::size_t rowBytes = (bitmap.width + 7) / 8;
    glyph.bits.resize(rowBytes * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        // FreeType rows run top down; glBitmap's run bottom up.
        const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        std::uint8_t* target = glyph.bits.data() + (bitmap.rows - 1 - row) * rowBytes;
        std::copy(source, source + rowBytes, target);
    }
    return glyph;
}

} // namespace

std::string FindFontFile(const std::string& family)
{
    if (!FcInit())
        throw Error("fontconfig could not be initialised");
    FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
    if (!pattern)
        throw Error("No font matches \"" + family + "\"");
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        throw Error("No font matches \"" + family + "\" (install fonts-liberation)");
    return reinterpret_cast<const char*>(file);
}

CodePageGlyphs RasterizeCodePageGlyphs(const std::string& family, std::int32_t cellHeight)
{
    const std::string file = FindFontFile(family);
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0)
        throw Error("FreeType could not be initialised");
    std::unique_ptr<FT_LibraryRec_, FtLibraryDeleter> library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), file.c_str(), 0, &rawFace) != 0)
        throw Error("Cannot open the font file " + file);
    std::unique_ptr<FT_FaceRec_, FtFaceDeleter> face(rawFace);

    // A positive Windows font height is the cell height (ascent plus descent).
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(cellHeight) * 64;
    if (FT_Request_Size(face.get(), &request) != 0)
        throw Error("Cannot size the font " + file);

    const FT_UInt blank = FT_Get_Char_Index(face.get(), ' ');
    CodePageGlyphs glyphs;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char32_t cp = cp1251CodePoint(static_cast<unsigned char>(byte));
        FT_UInt index = (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) ? 0 : FT_Get_Char_Index(face.get(), cp);
        const bool drawable = index != 0;
        if (!drawable)
            index = blank;
        if (FT_Load_Glyph(face.get(), index, FT_LOAD_TARGET_MONO) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0)
            continue;
        glyphs[byte] = toGlyphBitmap(face->glyph);
        if (!drawable) { // keep the advance, draw nothing
            glyphs[byte].bits.assign(glyphs[byte].bits.size(), 0);
        }
    }
    return glyphs;
}

} // namespace ra7
