#include "resources/Ra7Davevi2D.h"

#include "resources/FontRasterizer.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextCodec.h"

#include <epoxy/gl.h>

#include <cstring>

namespace ra7 {

namespace {

constexpr GLsizei kGlyphCount = 256;

// Compiles one glBitmap list per code-page byte starting at `base`.
void CompileGlyphLists(std::uint32_t base, const CodePageGlyphs& glyphs)
{
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (std::size_t code = 0; code < glyphs.size(); ++code) {
        const GlyphBitmap& glyph = glyphs[code];
        glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
        glBitmap(glyph.width, glyph.height, glyph.xOrigin, glyph.yOrigin, glyph.advance, 0,
                 glyph.bits.empty() ? nullptr : glyph.bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

} // namespace

KaFontArray::~KaFontArray()
{
    if (Count() > 0)
        Clear();
}

KaFontArray::RawFont KaFontArray::raw(std::int32_t index) const
{
    RawFont font{};
    std::memcpy(&font, ItemAddress(index), sizeof font);
    return font;
}

void KaFontArray::AddFont(std::string_view name, std::int32_t height)
{
    LogLine("Добавляю шрифт " + std::string(name) + "...");
    if (FindFont(name) != 0) {
        LogLine("! Такой уже есть!");
        return;
    }
    LogLine("Создаю шрифт " + std::string(name) + "...");
    // Rasterize first: a missing face throws before any list is reserved.
    const CodePageGlyphs glyphs = RasterizeCodePageGlyphs(std::string(name), height);
    const GLuint base = glGenLists(kGlyphCount);
    CompileGlyphLists(base, glyphs);
    names_.emplace_back(name);
    const RawFont font{base, static_cast<std::uint32_t>(names_.size() - 1)};
    SetItem(Count(), &font);
    LogLine("Успешно добавлен");
}

std::uint32_t KaFontArray::FindFont(std::string_view name) const
{
    for (std::int32_t i = 0; i < Count(); ++i) {
        const RawFont font = raw(i);
        if (names_[font.NameIndex] == name)
            return font.ListBase;
    }
    return 0;
}

Ka2DFont KaFontArray::ItemPtr(std::int32_t index) const
{
    const RawFont font = raw(index);
    return {font.ListBase, names_[font.NameIndex]};
}

void KaFontArray::Clear()
{
    LogLine("Очистка шрифтов...");
    for (std::int32_t i = 0; i < Count(); ++i) {
        const RawFont font = raw(i);
        LogLine(" Удаляю шрифт " + names_[font.NameIndex] + "...");
        glDeleteLists(font.ListBase, kGlyphCount);
    }
    SetCount(0);
    names_.clear();
    LogLine("Очистка шрифтов закончена успешно");
}

KaEngine2D::KaEngine2D()
{
    Fonts.AddFont(DefaultFont, kDefaultFontHeight);
}

void KaEngine2D::Begin2D() const
{
    glDepthFunc(GL_ALWAYS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, Settings.ScreenWidth, 0, Settings.ScreenHeight, -800, 800);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
}

void KaEngine2D::DrawText(const std::array<float, 4>& colour, std::string_view text, float x, float y) const
{
    const std::uint32_t base = Fonts.FindFont(DefaultFont);
    if (base == 0)
        return; // list base 0 would call lists 0..255, which belong to nobody
    const std::string bytes = utf8ToCp1251(text);
    glPushAttrib(GL_CURRENT_BIT | GL_LIST_BIT);
    glColor3f(colour[0], colour[1], colour[2]);
    glRasterPos2f(x, y);
    glListBase(base);
    glCallLists(static_cast<GLsizei>(bytes.size()), GL_UNSIGNED_BYTE, bytes.data());
    glPopAttrib();
}

void KaEngine2D::End2D() const
{
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDepthFunc(GL_LESS);
}

} // namespace ra7
