#include "font.h"

#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace artgen {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Font::Font(const std::string& file) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(impl_->library, file.c_str(), 0, &impl_->face) != 0) {
        FT_Done_FreeType(impl_->library);
        throw std::runtime_error("cannot load font " + file +
                                 " (install the Debian package fonts-dejavu-core)");
    }
}

Font::~Font() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
}

namespace {

// Collects a glyph outline into a PathBuilder, in font units with y up.
struct Sink {
    PathBuilder* pb;
    double scale, penX;
    Vec2 map(const FT_Vector* v) const { return {penX + v->x * scale, -v->y * scale}; }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<Sink*>(user);
    s->pb->moveTo(s->map(to));
    return 0;
}
int lineTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<Sink*>(user);
    s->pb->lineTo(s->map(to));
    return 0;
}
int conicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
    auto* s = static_cast<Sink*>(user);
    s->pb->quadTo(s->map(c), s->map(to));
    return 0;
}
int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* s = static_cast<Sink*>(user);
    s->pb->cubicTo(s->map(c1), s->map(c2), s->map(to));
    return 0;
}

}  // namespace

Path Font::text(std::string_view text, double size) const {
    FT_Face face = impl_->face;
    const double scale = size / face->units_per_EM;
    PathBuilder pb;
    Sink sink{&pb, scale, 0};
    FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
            throw std::runtime_error("font has no glyph for a character");
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
        pb.close();
        sink.penX += face->glyph->advance.x * scale;
    }
    return pb.build();
}

}  // namespace artgen
