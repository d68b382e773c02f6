#include "control/ControlHarness.h"
#include "control/TrendixModule.h"
#include "model/MenuTable.h"
#include "platform/com/ByteStream.h"
#include "platform/com/PropExchange.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Root(const char* relative) {
    return std::string(TRENDIX_SOURCE_ROOT) + "/" + relative;
}

// A control in a headless window whose clipboard is the one the test shares among controls.
struct Sited {
    explicit Sited(ui::Clipboard& clipboard) {
        site.ShareClipboard(clipboard);
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        c.OnSize(400, 310);
        c.PaintWindowSurface();
    }
    // Whether "&Paste" of the context menu over the drawing area is enabled.
    bool PasteEnabled() {
        c.PaintWindowSurface();
        const auto& area = c.Model()->drawingRegion->rect;
        site.menus.clear();
        c.OnRButtonDown((area.left + area.right) / 2, (area.top + area.bottom) / 2, 0);
        if (site.menus.empty()) ADD_FAILURE() << "no context menu";
        for (const ui::MenuItem& item : site.menus.back().popup.items)
            if (item.id == ID_PASTE) return item.enabled;
        ADD_FAILURE() << "no paste item";
        return false;
    }
    ui::HeadlessSite site;
    CTrendixCtrl c{site};
};

struct Case {
    const char* name;
    std::function<void(CTrendixCtrl&)> build;
};

const Case kCases[] = {
    {"new", [](CTrendixCtrl&) {}},
    {"xy with texts",
     [](CTrendixCtrl& c) {
         c.Setnvariables(3);
         c.Setnpoints(40);
         for (short v = 1; v <= 3; ++v)
             for (short i = 0; i < 40; ++i) {
                 c.SetXData(v, i, i * 0.25);
                 c.SetData(v, i, std::sin(i * 0.1 * v) * 10);
             }
         c.SetShowLegend(true);
         c.SetLegend(2, "Flow $UNIT");
         c.SetSymbol("UNIT", "kg/s");
         c.SetAttribute(1, 3, 2, 5);
         c.SetFont(0, "Arial", 14, 1);
         c.AddText("A note", 0.5f, 0.5f, 2, 0, "", 10, 0);
     }},
    {"run",
     [](CTrendixCtrl& c) {
         c.SetRunPlot(true);
         c.SetBufferSize(50);
         c.Setnvariables(2);
         for (int t = 0; t < 120; ++t) {
             c.AddTimeData(1, t * 0.1, std::cos(t * 0.05));
             c.AddTimeData(2, t * 0.1, t * 0.01);
         }
     }},
    {"ternary file", [](CTrendixCtrl& c) { c.SetInputFile(Root("examples/ternary.plx")); }},
    {"profile file", [](CTrendixCtrl& c) { c.SetInputFile(Root("examples/column-profile.plx")); }},
    {"script", [](CTrendixCtrl& c) { c.SetInputFile(Root("examples/reactor.ply")); }},
    {"settings",
     [](CTrendixCtrl& c) { c.SetSettings(FileText(Root("examples/reactor-layout.tset"))); }},
};

} // namespace

TEST(Clipboard, CopyThenPasteIntoAFreshControlGivesTheSamePlot) {
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        ui::Clipboard clipboard;
        Sited from(clipboard);
        k.build(from.c);
        from.c.PaintWindowSurface();
        const std::vector<std::uint8_t> image = from.c.SaveImage();
        from.c.Copy();
        EXPECT_EQ(clipboard.Names(), (Names{"Trendix Control", "Object Descriptor", "Picture"}));
        EXPECT_EQ(clipboard.Data("Trendix Control"), image);

        Sited to(clipboard);
        EXPECT_TRUE(to.PasteEnabled());
        to.c.Paste();
        // Both as their next paint leaves them (a time axis rescales after a live scroll).
        to.c.PaintWindowSurface();
        from.c.PaintWindowSurface();
        EXPECT_EQ(to.c.GetSettings(), from.c.GetSettings());
        // The picture is the control's own drawing at its size.
        gdi::RecordingDC dc(400, 310, gdi::DeviceKind::Metafile);
        from.c.OnDraw(dc, {0, 0, 400, 310}, {0, 0, 400, 310});
        std::string calls;
        for (const std::string& call : dc.Drawing())
            calls += call + "\n";
        const std::vector<std::uint8_t> picture = clipboard.Data("Picture");
        EXPECT_EQ(std::string(picture.begin(), picture.end()), calls);
    }
}

TEST(Clipboard, TheObjectDescriptorNamesTheControlAndItsSize) {
    ui::Clipboard clipboard;
    Sited from(clipboard);
    from.c.Copy();
    const std::vector<std::uint8_t> descriptor = clipboard.Data("Object Descriptor");
    CByteReader in(descriptor);
    EXPECT_EQ(in.String(), "Trendix 25.0 Control");
    EXPECT_EQ(in.I32(), 400);
    EXPECT_EQ(in.I32(), 310);
    in.ExpectEnd();
}

TEST(Clipboard, CopyModeOneCopiesThePictureOnlyAndPasteStaysDisabled) {
    ui::Clipboard clipboard;
    Sited from(clipboard);
    EXPECT_FALSE(from.PasteEnabled()); // nothing on the clipboard yet
    from.c.SetTitle("Copied");
    from.c.SetCopyMode(1);
    from.c.Copy();
    EXPECT_EQ(clipboard.Names(), Names{"Picture"});
    Sited to(clipboard);
    EXPECT_FALSE(to.PasteEnabled());
    const std::string before = to.c.GetSettings();
    to.c.Paste(); // nothing to paste: nothing happens
    EXPECT_EQ(to.c.GetSettings(), before);
    from.c.SetCopyMode(0);
    from.c.Copy();
    EXPECT_TRUE(to.PasteEnabled());
}

TEST(Clipboard, KeysAndContextCommandsCopyAndPaste) {
    ui::Clipboard clipboard;
    Sited from(clipboard);
    from.c.SetTitle("By key");
    from.c.OnKeyDown('C', ui::ModCtrl, 1);
    EXPECT_TRUE(clipboard.Has("Trendix Control"));
    Sited to(clipboard);
    to.c.OnKeyDown('V', ui::ModCtrl, 1);
    EXPECT_EQ(to.c.GetSettings(), from.c.GetSettings());

    from.c.SetTitle("By menu");
    from.c.OnCommand(ID_COPY);
    to.c.OnCommand(ID_PASTE);
    EXPECT_EQ(to.c.GetTitle(), "By menu");
}

TEST(Clipboard, AnImageOfTheRightNameButWrongContentIsRefusedAndChangesNothing) {
    ui::Clipboard clipboard;
    Sited from(clipboard);
    from.c.SetTitle("Good");
    from.c.Copy();
    std::vector<std::uint8_t> good = clipboard.Data("Trendix Control");
    std::vector<std::uint8_t> flipped = good;
    flipped[flipped.size() / 3] ^= 0xFF;
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {'n', 'o', 't', ' ', 'a', ' ', 'p', 'l', 'o', 't'},
        std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)),
        std::vector<std::uint8_t>(100000, 0xFF),
    };
    Sited to(clipboard);
    to.c.SetTitle("Kept");
    const std::vector<std::uint8_t> imageBefore = to.c.SaveImage();
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        clipboard.Set({{"Trendix Control", bad[i]}});
        EXPECT_TRUE(to.PasteEnabled()); // the format is offered, whatever it holds
        EXPECT_EQ(StatusOf([&] { to.c.Paste(); }), com::STG_E_READFAULT);
        EXPECT_NO_THROW(to.c.OnKeyDown('V', ui::ModCtrl, 1));
        EXPECT_NO_THROW(to.c.OnCommand(ID_PASTE));
        EXPECT_EQ(to.c.SaveImage(), imageBefore);
    }
    // A flipped byte is read or refused whole.
    clipboard.Set({{"Trendix Control", flipped}});
    if (StatusOf([&] { to.c.Paste(); }) != com::S_OK) {
        EXPECT_EQ(to.c.SaveImage(), imageBefore);
    }
}

TEST(Clipboard, CopyWithSizeDrawsThePictureAtThatSizeOnce) {
    ui::Clipboard clipboard;
    Sited from(clipboard);
    from.c.CopyWithSize(200, 100);
    const std::vector<std::uint8_t> small = clipboard.Data("Picture");
    const std::vector<std::uint8_t> descriptorData = clipboard.Data("Object Descriptor");
    CByteReader descriptor(descriptorData);
    descriptor.String();
    EXPECT_EQ(descriptor.I32(), 200);
    EXPECT_EQ(descriptor.I32(), 100);
    // The size holds for that copy only.
    from.c.Copy();
    const std::vector<std::uint8_t> full = clipboard.Data("Picture");
    EXPECT_NE(small, full);
    from.c.CopyWithSize(200, 100);
    EXPECT_EQ(clipboard.Data("Picture"), small);
    const std::pair<std::int16_t, std::int16_t> refused[] = {{0, 10}, {10, -1}, {9000, 10}};
    for (auto [w, h] : refused)
        EXPECT_EQ(StatusOf([&] { from.c.CopyWithSize(w, h); }), com::E_INVALIDARG);
}
