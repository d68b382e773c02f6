// The control's persisted property set through both forms, the steps after a load, and the
// window's creation and destruction.
#include "control/ControlHarness.h"
#include "platform/com/PropExchange.h"
#include "platform/gdi/RecordingDC.h"
#include "support/CtrlProbe.h"

#include <filesystem>

using com::Variant;

namespace {

// Remembers the window services that creation, destruction and the About box ask for.
class RecordingSite : public ui::HeadlessSite {
public:
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override {
        messages.push_back({text, caption, buttons});
        return ui::IdOk;
    }
    void RegisterDropTarget() override { ++dropTargetRegistrations; }
    void CaptureMouse(bool capture) override { captured = capture; }

    struct Message {
        std::string text, caption;
        int buttons;
    };
    std::vector<Message> messages;
    int dropTargetRegistrations = 0;
    bool captured = false;
};

std::filesystem::path DataFile(const char* name) {
    return std::filesystem::path(TRENDIX_SOURCE_ROOT) / "tests" / "data" / name;
}

// A control driven by name, as a host drives it.
struct Hosted {
    Hosted() { c.GetConnectionPoint()->Advise(&sink); }

    Variant Get(const char* name) {
        return c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyGet, {});
    }
    void Put(const char* name, Variant value) {
        Variant args[] = {std::move(value)};
        c.Invoke(c.GetIDOfName(name), com::InvokeKind::PropertyPut, args);
    }
    // Every persisted property and the stock colours, by name.
    std::vector<std::pair<std::string, Variant>> Snapshot() {
        std::vector<std::pair<std::string, Variant>> values;
        for (const Persisted& p : kPersisted)
            values.emplace_back(p.name, Get(p.name));
        values.emplace_back("BackColor", Get("BackColor"));
        values.emplace_back("ForeColor", Get("ForeColor"));
        return values;
    }

    RecordingSite site;
    CTrendixCtrl c{site};
    RecordingSink sink;
};

// A sited control with every persisted property away from its default, set through the
// interface in an order where no later setter overrides an earlier one.
void SetEveryPropertyAwayFromItsDefault(Hosted& h) {
    h.c.OnSize(400, 310);
    h.Put("InputFile", Variant::Str("/no/such/folder/plot.plx"));
    h.Put("Title", Variant::Str("Feed \"A\"\nline 2 = \xC3\xA9\\"));
    h.Put("xlabel", Variant::Str("Time = s"));
    h.Put("ylabel", Variant::Str("T \xC2\xB0"
                                 "C"));
    h.Put("PlotType", Variant::I2(1));
    h.Put("RunPlot", Variant::Bool(true));
    h.Put("nvariables", Variant::I2(3));
    h.Put("nxvariables", Variant::I2(2));
    h.Put("MultiYaxis", Variant::Bool(true));
    h.Put("UseVariable", Variant::Bool(true));
    h.Put("TimeWindow", Variant::R4(5.5f));
    h.Put("TimeScrollUnit", Variant::R4(0.75f));
    h.Put("GridType", Variant::I2(3));
    h.Put("MarkerSize", Variant::I2(7));
    h.Put("MarkerInterval", Variant::I2(3));
    h.Put("Flipped", Variant::Bool(true));
    h.Put("DiagonalLine", Variant::Bool(true)); // turns SquarePlot on too
    h.Put("ZeroLine", Variant::Bool(true));
    h.Put("Parametric", Variant::Bool(true));
    h.Put("ReverseXAxis", Variant::Bool(true));
    h.Put("ShowLegend", Variant::Bool(true));
    h.Put("AddTimeStamp", Variant::Bool(true));
    h.Put("DisplayType", Variant::I2(1));
    h.Put("BufferSize", Variant::I4(321));
    h.Put("SizeToData", Variant::Bool(true));
    h.Put("VariableDrop", Variant::Bool(false));
    h.Put("IgnoreSetLegend", Variant::Bool(true));
    h.Put("CommunicationIntervals", Variant::I2(4));
    h.Put("BackColor", Variant::I4(0x0000FF));
    h.Put("ForeColor", Variant::I4(0x00FF00));
    h.Put("GridInterval", Variant::R4(0.5f));
}

} // namespace

TEST(PersistedProperties, ANewControlReadsBackEveryDefault) {
    Hosted h;
    for (const Persisted& p : kPersisted)
        EXPECT_EQ(h.Get(p.name), p.dflt) << p.name;
    EXPECT_EQ(h.Get("UseVariable"), Variant::Bool(false));
    EXPECT_EQ(h.Get("GridInterval"), Variant::R4(0.1f));

    // The text form of a new control lists the version, the stock colours and then every
    // persisted property in order, under its name.
    const std::string text = h.c.SaveText();
    size_t at = text.find("_Version=0x00010006\nBackColor=0x00FFFFFF\nForeColor=0x00000000\n");
    EXPECT_EQ(at, 0u) << text;
    for (const Persisted& p : kPersisted) {
        const size_t next = text.find(std::string("\n") + p.name + "=", at);
        EXPECT_NE(next, std::string::npos) << p.name;
        at = next + 1;
    }
    EXPECT_NE(text.find("\nVariableDrop=TRUE\nIgnoreSetLegend=FALSE\nCommunicationIntervals=1\n"
                        "InputFile=\n"),
              std::string::npos);
}

TEST(PersistedProperties, SavingAndReloadingKeepsEveryPropertyInBothForms) {
    Hosted original;
    SetEveryPropertyAwayFromItsDefault(original);
    const auto saved = original.Snapshot();
    for (size_t i = 0; i < std::size(kPersisted); ++i)
        ASSERT_NE(saved[i].second, kPersisted[i].dflt)
            << "not set away from its default: " << kPersisted[i].name;

    Hosted fromBinary;
    fromBinary.c.LoadBinary(original.c.SaveBinary());
    EXPECT_EQ(fromBinary.Snapshot(), saved);

    Hosted fromText;
    fromText.c.LoadText(original.c.SaveText());
    EXPECT_EQ(fromText.Snapshot(), saved);

    // GridInterval is not persisted.
    EXPECT_EQ(fromBinary.Get("GridInterval"), Variant::R4(0.1f));
    EXPECT_EQ(fromText.Get("GridInterval"), Variant::R4(0.1f));
}

TEST(PersistedProperties, DataOfAnotherVersionLoadsOnlyTheStockColours) {
    com::BinaryPropExchange older;
    std::uint32_t version = 0;
    older.Version(version, 0x00010005);
    std::uint32_t back = 0x0000FF, fore = 0x00FF00;
    older.Color("BackColor", back, 0);
    older.Color("ForeColor", fore, 0);
    std::string title = "Older title";
    older.String("Title", title, "");

    Hosted h;
    h.Put("Title", Variant::Str("Mine"));
    h.c.LoadBinary(older.Bytes());
    EXPECT_EQ(h.c.GetBackColor(), 0x0000FFu);
    EXPECT_EQ(h.c.GetForeColor(), 0x00FF00u);
    EXPECT_EQ(h.c.GetTitle(), "Mine");

    h.c.LoadText("_Version=0x00010007\nBackColor=0x123456\nTitle=Newer\nnvariables=9\n");
    EXPECT_EQ(h.c.GetBackColor(), 0x123456u);
    EXPECT_EQ(h.c.GetTitle(), "Mine");
    EXPECT_EQ(h.c.Getnvariables(), 1);
}

TEST(PersistedProperties, TheInputFileIsReadAtTheFirstSizingAndNotAgain) {
    Hosted original;
    original.c.StoredProperties().InputFile = DataFile("two-x-crlf.plx").string();
    const std::vector<std::uint8_t> bytes = original.c.SaveBinary();

    Hosted h;
    h.c.LoadBinary(bytes);
    EXPECT_EQ(h.c.GetInputFile(), DataFile("two-x-crlf.plx").string());
    EXPECT_EQ(h.c.GetTitle(), "Title"); // not read during the load
    EXPECT_FALSE(CtrlProbe::PlotDefined(h.c));
    h.c.OnCreate();
    EXPECT_EQ(h.c.GetTitle(), "Title");

    h.c.OnSize(400, 310);
    EXPECT_EQ(h.c.GetTitle(), "Stripper profile");
    EXPECT_EQ(h.c.Getnvariables(), 2);
    EXPECT_TRUE(CtrlProbe::PlotDefined(h.c));

    h.c.SetTitle("Edited");
    h.c.OnSize(500, 400);
    h.c.OnSize(400, 310);
    EXPECT_EQ(h.c.GetTitle(), "Edited");
}

TEST(PersistedProperties, TheWindowStartsWhiteOnBlackWhateverWasPersisted) {
    Hosted original;
    original.c.SetBackColor(0x0000FF);
    original.c.SetForeColor(0xFFFFFF);

    Hosted h;
    h.c.LoadBinary(original.c.SaveBinary());
    EXPECT_EQ(h.c.GetBackColor(), 0x0000FFu);
    EXPECT_EQ(h.c.GetForeColor(), 0xFFFFFFu);
    h.c.OnCreate();
    EXPECT_EQ(h.c.GetBackColor(), 0xFFFFFFu);
    EXPECT_EQ(h.c.GetForeColor(), 0x000000u);
    EXPECT_EQ(h.site.dropTargetRegistrations, 1);
}

TEST(PersistedProperties, LoadingFiresNoEventsAndRunsOnlyTheAfterLoadSteps) {
    Hosted original;
    SetEveryPropertyAwayFromItsDefault(original);
    const std::vector<std::uint8_t> bytes = original.c.SaveBinary();

    Hosted h;
    h.c.LoadBinary(bytes);
    // Title, CommunicationIntervals and Parametric fire events when set; a load sets none.
    EXPECT_TRUE(h.sink.events.empty());
    ASSERT_NE(h.c.Model(), nullptr);
    const CPlotLook& m = *h.c.Model();
    EXPECT_EQ(m.gridType, 3);
    EXPECT_EQ(m.markerSize, 7);
    EXPECT_EQ(m.markerInterval, 3);
    EXPECT_EQ(m.displayType, 1);
    EXPECT_EQ(m.squarePlot, 1);
    EXPECT_EQ(m.zeroLine, 1);
    EXPECT_EQ(m.parametric, 1);
    EXPECT_EQ(m.flipped, 1);
    EXPECT_EQ(m.diagonalLine, 1);
    EXPECT_EQ(m.runPlotActive, 1);
    EXPECT_EQ(m.NYVars(), 3);
    for (const auto& v : m.yVariables)
        EXPECT_EQ(v->capacity, 321u);
    // The Title setter would also have given the model the new title.
    EXPECT_EQ(h.c.Title(), "Feed \"A\"\nline 2 = \xC3\xA9\\");
}

TEST(PersistedProperties, LoadingRunsTheFlippedBehaviourOnAnExistingModel) {
    Hosted h;
    h.c.OnSize(400, 310);
    h.c.Setnvariables(2);
    h.c.SetAxisMap(1, 2);
    h.c.SetAxisMap(-1, 0);
    ASSERT_EQ(h.c.GetAxisMap(1), 2);
    std::string text = h.c.SaveText();
    text.replace(text.find("Flipped=FALSE"), 13, "Flipped=TRUE");
    const int modified = h.site.modifiedCount;
    h.c.LoadText(text);
    EXPECT_EQ(h.c.GetAxisMap(1), 1);
    EXPECT_TRUE(h.c.GetFlipped());
    EXPECT_GT(h.site.modifiedCount, modified);
}

TEST(PersistedProperties, LoadingDoesNotMarkShowLegendAsAssigned) {
    Hosted assigned;
    assigned.Put("ShowLegend", Variant::Bool(false));
    assigned.Put("Parametric", Variant::Bool(true));
    EXPECT_EQ(assigned.Get("ShowLegend"), Variant::Bool(false));

    Hosted loaded;
    loaded.c.LoadText("ShowLegend=FALSE\n");
    loaded.Put("Parametric", Variant::Bool(true));
    EXPECT_EQ(loaded.Get("ShowLegend"), Variant::Bool(true));
}

// A refused load leaves the control exactly as it was: values read before the fault are
// dropped with the rest.
TEST(PersistedProperties, DataThatCannotBeReadChangesNothing) {
    Hosted original;
    SetEveryPropertyAwayFromItsDefault(original);
    const std::vector<std::uint8_t> bytes = original.c.SaveBinary();
    const std::string text = original.c.SaveText();

    Hosted h;
    const auto before = h.Snapshot();
    std::vector<std::vector<std::uint8_t>> broken = {
        {}, {bytes.begin(), bytes.end() - 1}, {bytes.begin(), bytes.begin() + 12}};
    broken.push_back(bytes);
    broken.back().push_back(0);
    broken.push_back(bytes);
    broken.back()[bytes.size() / 2] ^= 0x10;
    for (const auto& data : broken) {
        EXPECT_EQ(StatusOf([&] { h.c.LoadBinary(data); }), com::STG_E_READFAULT) << data.size();
    }
    const std::string badTexts[] = {
        text + "a line without a value\n",
        "Title=Changed\nnvariables=many\n",
        "Title=Changed\nBufferSize=0\n",
        "Title=Changed\nBufferSize=99999999\n",
        "Title=Changed\nTimeWindow=-1\n",
        "Title=Changed\nTimeWindow=nan\n",
        "Title=Changed\nTimeScrollUnit=inf\n",
        "Title=Changed\nnvariables=-2\n",
        "Title=Changed\nnxvariables=-1\n",
        "RunPlot=TRUE\nnvariables=32767\nBufferSize=16000000\n",
    };
    for (const std::string& bad : badTexts)
        EXPECT_EQ(StatusOf([&] { h.c.LoadText(bad); }), com::STG_E_READFAULT) << bad;
    EXPECT_EQ(h.Snapshot(), before);
    EXPECT_EQ(h.c.Model(), nullptr);
    EXPECT_TRUE(h.sink.events.empty());
    EXPECT_EQ(h.site.modifiedCount, 0);

    // The same values saved by a control whose stored value no setter would allow.
    Hosted odd;
    odd.c.StoredProperties().BufferSize = -1;
    EXPECT_EQ(StatusOf([&] { h.c.LoadBinary(odd.c.SaveBinary()); }), com::STG_E_READFAULT);
    EXPECT_EQ(h.Snapshot(), before);
}

TEST(ControlWindow, DestructionEndsAnInputUnderWayAndMayRunTwice) {
    auto h = std::make_unique<Hosted>();
    h->site.surfaceFactory = [](int w, int height) {
        return std::make_unique<gdi::RecordingDC>(w, height);
    };
    h->site.ResizeSurface(400, 310);
    h->c.OnCreate();
    h->c.OnSize(400, 310);
    h->c.PaintWindowSurface();
    const CPlotRegion::Rect& area = h->c.Model()->drawingRegion->rect;
    h->c.OnLButtonDown(area.left + 5, area.top + 5, 0); // a zoom rectangle starts
    ASSERT_TRUE(CtrlProbe::HoldTimerArmed(h->c));
    ASSERT_TRUE(h->site.captured);
    for (int id : {2, 3, 4})
        h->site.SetTimer(id, 100);

    h->c.OnDestroy();
    EXPECT_TRUE(h->site.timers.empty());
    EXPECT_FALSE(h->site.captured);
    EXPECT_FALSE(CtrlProbe::HoldTimerArmed(h->c));
    EXPECT_EQ(CtrlProbe::MouseMode(h->c), CPlotLook::kNoMouseMode);
    h->c.OnDestroy();
    EXPECT_TRUE(h->site.timers.empty());
    h.reset(); // destroyed right after
}

TEST(ControlWindow, TheAboutBoxIsAModalMessageWithItsCaption) {
    Hosted h;
    std::vector<Variant> none;
    h.c.Invoke(-552, com::InvokeKind::Method, none);
    ASSERT_EQ(h.site.messages.size(), 1u);
    EXPECT_EQ(h.site.messages[0].caption, "About Trendix Control");
    EXPECT_NE(h.site.messages[0].text.find("Trendix 25.0 Control"), std::string::npos);
    EXPECT_EQ(h.site.messages[0].buttons, ui::OkOnly);
}
