#include "pages/FontPage.h"

#include "pages/ControlMembers.h"

namespace M = ControlMembers;
using namespace PageFields;

namespace {

constexpr char kCategory[] = "Font Category";
constexpr char kFace[] = "Font";
constexpr char kSize[] = "Size";
constexpr char kStyle[] = "Style";
constexpr char kUnderscore[] = "Underscore";
constexpr int kUnderscoreBit = 4;
constexpr int kStyleBits = 3;
constexpr int kMaxSize = 999;

} // namespace

CFontPage::CFontPage(com::IDispatch& control, ui::IWindowSite& site)
    : CControlPage("Font", control, site) {
    Add(Choice(kCategory, {"Title Font", "Label Font", "Axis Scale Font", "Legend Font"}), "0");
    ui::Field face = Text(kFace);
    face.sample = ui::Sample::FontFamily;
    Add(face);
    Add(Integer(kSize, 1, kMaxSize), "10");
    Add(Choice(kStyle, {"Regular", "Italic", "Bold", "BoldItalic"}), "0");
    Add(Check(kUnderscore), "0");
}

CFontPage::Font CFontPage::ReadFont(int id) {
    com::Variant size = com::Variant::I2(0), attrib = com::Variant::I2(0);
    Font f;
    f.face = control_.CallText(M::GetFont, {CDispatchClient::I2(id), com::Variant::Ref(&size),
                                            com::Variant::Ref(&attrib)});
    f.size = CDispatchClient::IntOf(size);
    f.attrib = CDispatchClient::IntOf(attrib);
    return f;
}

void CFontPage::Activate() {
    for (int id = 0; id < int(fonts_.size()); ++id)
        fonts_[std::size_t(id)] = ReadFont(id);
    shown_ = 0;
    Set(kCategory, "0");
    Show(0);
}

void CFontPage::Show(int category) {
    const Font& f = fonts_[std::size_t(category)];
    Set(kFace, f.face);
    Set(kSize, std::to_string(f.size));
    Set(kStyle, std::to_string(f.attrib & kStyleBits));
    Set(kUnderscore, f.attrib & kUnderscoreBit ? "1" : "0");
}

void CFontPage::OnEdit(const std::string& caption) {
    if (caption == kCategory) {
        const int c = Index(kCategory);
        if (c < 0 || c >= int(fonts_.size())) return;
        shown_ = c;
        Show(c);
        return;
    }
    Font& f = fonts_[std::size_t(shown_)];
    if (caption == kFace) f.face = Value(kFace);
    if (caption == kSize && Index(kSize) >= 1) f.size = Index(kSize);
    if (caption == kStyle || caption == kUnderscore)
        f.attrib = (Checked(kUnderscore) ? kUnderscoreBit : 0) + (Index(kStyle) & kStyleBits);
}

void CFontPage::DoApply() {
    for (int id = 0; id < int(fonts_.size()); ++id) {
        const Font& f = fonts_[std::size_t(id)];
        // A font without a face is refused; the old one stays.
        if (f.face.empty() || f == ReadFont(id)) continue;
        control_.Call(M::SetFont, {CDispatchClient::I2(id), com::Variant::Str(f.face),
                                   CDispatchClient::I2(f.size), CDispatchClient::I2(f.attrib)});
    }
}
