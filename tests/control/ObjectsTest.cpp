#include "ControlHarness.h"
#include "annot/PlotOverlay.h"
#include "model/MenuTable.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/ui/VirtualKeys.h"
#include "support/CtrlProbe.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using com::Variant;

std::filesystem::path DataPath(const char* name) {
    return std::filesystem::path(TRENDIX_SOURCE_ROOT) / "tests" / "data" / name;
}

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A sited control with a window surface and an XY plot over 0..10 x 0..100.
class ObjectsTest : public ControlHarness {
protected:
    ObjectsTest() {
        site.surfaceFactory = [](int w, int h) { return std::make_unique<gdi::RecordingDC>(w, h); };
        site.ResizeSurface(400, 310);
        logPath = std::filesystem::temp_directory_path() /
                  ("trendix-objects-" + std::to_string(::getpid()) + ".log");
    }
    ~ObjectsTest() override { std::filesystem::remove(logPath); }

    short NewLine(short color = 1) {
        return Call("NewLine", {I2(color), I2(4), I2(1), I2(4), I2(0)}).i2();
    }
    short NewText(const char* text, double x, double y, short attached) {
        return Call("NewText", {Variant::Str(text), Variant::R8(x), Variant::R8(y), I2(attached)})
            .i2();
    }
    short AddText(const char* text, float x, float y) {
        return Call("AddText", {Variant::Str(text), Variant::R4(x), Variant::R4(y), I2(0), I2(0),
                                Variant::Str(""), I2(10), I2(0)})
            .i2();
    }
    short SetObject(short id, short value, short mask) {
        return Call("SetObject", {I2(id), I2(value), I2(mask)}).i2();
    }
    void SetXY(short id, short k, double x, double y) {
        Call("SetXYData", {I2(id), I2(k), Variant::R8(x), Variant::R8(y)});
    }
    bool GetXY(short id, short k, double& x, double& y) {
        Variant vx = Variant::R8(0), vy = Variant::R8(0);
        const bool ok =
            Call("GetXYData", {I2(id), I2(k), Variant::Ref(&vx), Variant::Ref(&vy)}).boolean();
        x = vx.r8();
        y = vy.r8();
        return ok;
    }
    static Variant I2(int v) { return Variant::I2(std::int16_t(v)); }
    // A host line from (1, 10) to (9, 90), drawn; middle is the middle of its drawn segment.
    // Answers its ID, 0 when it was not drawn.
    short DrawnLine(gdi::Point& middle) {
        const short id = NewLine();
        SetXY(id, 0, 1, 10);
        SetXY(id, 1, 9, 90);
        Paint();
        const CPlotVar& v = *c.Model()->YVar(Overlay().Find(id)->YVariable());
        if (v.devicePointCount < 2) return 0;
        middle = {(v.devicePoints[0].first + v.devicePoints[1].first) / 2,
                  (v.devicePoints[0].second + v.devicePoints[1].second) / 2};
        return id;
    }
    CPlotOverlay& Overlay() { return static_cast<CPlotOverlay&>(*c.Model()->overlay); }
    void Paint() {
        c.PaintWindowSurface();
        static_cast<gdi::RecordingDC&>(*site.surface).Clear();
    }

    std::filesystem::path logPath;
};

} // namespace

TEST_F(ObjectsTest, TheEditLogOfAScriptedSessionMatchesItsReferenceByteForByte) {
    Call("OpenLog", {Variant::Str(logPath.string())});
    EXPECT_EQ(NewLine(), 101);
    EXPECT_EQ(Call("NewPolygon", {I2(2), I2(-1)}).i2(), 102);
    EXPECT_EQ(NewText("Peak", 5, 50, 3), 103);
    Call("ChangeText", {I2(103), Variant::Str("Peak 2"), Variant::R8(5), Variant::R8(60), I2(-1)});
    SetObject(102, 5, 15);
    SetObject(102, 0, 3);
    EXPECT_EQ(SetObject(101, -1, 0), -1);
    EXPECT_EQ(AddText("note", 0.1f, 0.1f), 104);
    EXPECT_EQ(SetObject(999, -1, 0), 0);
    Put("PlotType", Variant::I2(1)); // the rebuild discards the plot's contents
    Call("CloseLog");
    NewLine(); // nothing is written once the log is closed
    EXPECT_EQ(Bytes(logPath), Bytes(DataPath("edit-log.txt")));
}

TEST_F(ObjectsTest, ASecondLogTakesOverAndAMissingFolderOpensNone) {
    const std::filesystem::path second = logPath.string() + ".2";
    Call("OpenLog", {Variant::Str(logPath.string())});
    NewLine();
    Call("OpenLog", {Variant::Str(second.string())});
    NewLine();
    Call("CloseLog");
    EXPECT_EQ(Bytes(logPath), "NEWLINE ID:101\r\n");
    EXPECT_EQ(Bytes(second), "NEWLINE ID:102\r\n");
    std::filesystem::remove(second);
    // A file that cannot be made: no log is open and later edits write nothing and fail not.
    const std::string missing = "/nonexistent-folder-of-trendix/edit.log";
    EXPECT_EQ(StatusOf([&] { Call("OpenLog", {Variant::Str(missing)}); }), com::S_OK);
    EXPECT_EQ(StatusOf([&] { NewLine(); }), com::S_OK);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(StatusOf([&] { Call("CloseLog"); }), com::S_OK);
}

TEST_F(ObjectsTest, LinesTakeVariablesStyledAfterTheirIds) {
    // The fresh plot's only variable is unused: the first line takes it.
    EXPECT_EQ(NewLine(3), 101);
    EXPECT_EQ(Get("nvariables").i2(), 1);
    EXPECT_EQ(c.Model()->YVar(0)->color, 3);
    EXPECT_EQ(NewLine(), 102);
    EXPECT_EQ(Get("nvariables").i2(), 2);
    EXPECT_EQ(Get("nxvariables").i2(), 2);
    // Colours run through 1..6 and markers through 1..10 with the ID.
    for (int id = 103; id <= 114; ++id) {
        CPlotObj* o = Overlay().Create(CPlotObj::LineKind);
        ASSERT_EQ(o->Id(), id);
        const CPlotVar& v = *c.Model()->YVar(o->YVariable());
        EXPECT_EQ(v.color, (id - 100) % 6 + 1);
        EXPECT_EQ(v.marker, (id - 100) % 10 + 1);
        EXPECT_EQ(v.xVarNo, o->XVariable() + 1);
    }
}

TEST_F(ObjectsTest, PointsWithMissingCoordinatesAndBoundedNumbers) {
    const short id = NewLine();
    SetXY(id, 0, 1, 10);
    SetXY(id, 1, 2, 20);
    SetXY(id, 1, 3, 1e30);  // only x changes
    SetXY(id, 0, 1e30, 15); // only y changes
    double x = 0, y = 0;
    ASSERT_TRUE(GetXY(id, 1, x, y));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 20);
    ASSERT_TRUE(GetXY(id, 0, x, y));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 15);
    EXPECT_FALSE(GetXY(id, 2, x, y));
    EXPECT_FALSE(GetXY(id, -1, x, y));
    EXPECT_FALSE(GetXY(999, 0, x, y));
    // A negative number stores nothing; the largest number grows the buffer only that far.
    SetXY(id, -7, 5, 5);
    EXPECT_FALSE(GetXY(id, 2, x, y));
    SetXY(id, 32767, 5, 6);
    ASSERT_TRUE(GetXY(id, 32767, x, y));
    EXPECT_EQ(y, 6);
    EXPECT_LE(c.Model()->YVar(0)->values.size(), 32767u + 10u);
}

TEST_F(ObjectsTest, SetObjectShowsHidesSelectsAndDeletes) {
    const short line = NewLine();
    const short text = AddText("hello", 0.5f, 0.5f);
    EXPECT_EQ(SetObject(line, 0, 1) & 1, 0);
    EXPECT_EQ(c.Model()->YVar(0)->hidden, 1u);
    EXPECT_EQ(SetObject(line, 7, 7), 7);
    EXPECT_EQ(SetObject(text, 8, 8), 1 | 2 | 8);
    EXPECT_EQ(SetObject(text, 0, 1) & 1, 0);
    // Deleting a text hides its annotation and keeps the entry.
    EXPECT_EQ(SetObject(text, -1, 0), -1);
    EXPECT_EQ(Overlay().Find(text), nullptr);
    ASSERT_EQ(Overlay().AnnotationCount(), 1);
    EXPECT_EQ(Overlay().Annotation(0)->hidden, 1);
    // A deleted line gives up its variables, which keep their places.
    EXPECT_EQ(SetObject(line, -1, 0), -1);
    EXPECT_EQ(c.Model()->YVar(0)->capacity, 0u);
    EXPECT_EQ(SetObject(line, 1, 1), 0);
    // Built-in parts answer as their regions do (3 while selectable): 1 the title, 3 the
    // axes; 4 to 9 name nothing.
    EXPECT_EQ(SetObject(1, 0, 1), 3);
    EXPECT_EQ(c.Model()->titleRegion->hidden, 1);
    for (short id = 4; id <= 9; ++id)
        EXPECT_EQ(SetObject(id, 1, 1), 0);
    EXPECT_EQ(SetObject(3, 0, 1), 3);
    EXPECT_EQ(c.Model()->xAxisRegion->hidden, 1);
    EXPECT_EQ(c.Model()->axesHidden, 1);
    EXPECT_NO_THROW(Paint());
}

TEST_F(ObjectsTest, BadTextInputIsAnsweredNotCrashed) {
    const short id = AddText("", 0.5f, 0.5f);
    const std::string longText(20000, 'x');
    EXPECT_GT(AddText(longText.c_str(), -5, 7), id);
    EXPECT_EQ(StatusOf([&] {
                  Call("AddText", {Variant::Str("c"), Variant::R4(0), Variant::R4(0), I2(500),
                                   I2(0), Variant::Str(""), I2(10), I2(0)});
              }),
              com::E_INVALIDARG);
    // Angles outside 0..359 are turned into it; a font that does not exist is still a name.
    Call("SetTextAttribute",
         {I2(id), I2(2), I2(1), I2(-90), Variant::Str("No Such Font"), I2(-3), I2(9)});
    CPlotAnnotation* a = Overlay().Annotation(0);
    EXPECT_EQ(a->GetAttributes().angle, 270);
    EXPECT_EQ(a->GetAttributes().transparentText, 1);
    EXPECT_EQ(a->Font()->size, 10);
    // Unknown IDs do nothing.
    EXPECT_NO_THROW(
        Call("ChangeText", {I2(4321), Variant::Str("x"), Variant::R8(0), Variant::R8(0), I2(-1)}));
    EXPECT_NO_THROW(
        Call("SetTextAttribute", {I2(4321), I2(1), I2(0), I2(0), Variant::Str(""), I2(10), I2(0)}));
    EXPECT_NO_THROW(Paint());
}

TEST_F(ObjectsTest, ModifyTextChangesEveryExactMatch) {
    AddText("same", 0.1f, 0.1f);
    AddText("same", 0.2f, 0.2f);
    AddText("Same", 0.3f, 0.3f);
    Call("ModifyText", {Variant::Str("same"), Variant::Str("new\\n")});
    EXPECT_EQ(Overlay().Annotation(0)->Text(), "new\\n"); // taken as it stands
    EXPECT_EQ(Overlay().Annotation(1)->Text(), "new\\n");
    EXPECT_EQ(Overlay().Annotation(2)->Text(), "Same");
}

TEST_F(ObjectsTest, DeletingAUserTextAsksFirst) {
    const short id = AddText("delete me", 0.5f, 0.5f);
    Paint();
    const CPlotAnnotation& a = *Overlay().Annotation(0);
    const int x = (a.TextRect().left + a.TextRect().right) / 2;
    const int y = (a.TextRect().top + a.TextRect().bottom) / 2;
    c.OnLButtonDown(x, y, 0);
    c.OnLButtonUp(x, y, 0);
    EXPECT_EQ(c.Model()->overlay ? Overlay().SelectedObject()->Id() : 0, id);
    EXPECT_TRUE(Call("IsMenuItemEnabled", {I2(ID_DELETE - 65536)}).boolean());
    site.messageAnswers = {ui::IdCancel};
    c.OnKeyDown(ui::VK_DELETE, 0, 1);
    ASSERT_EQ(site.messages.size(), 1u);
    EXPECT_EQ(site.messages[0].text, "Are you sure?");
    EXPECT_EQ(site.messages[0].caption, "Delete Text");
    EXPECT_NE(Overlay().Find(id), nullptr);
    site.messageAnswers = {ui::IdOk};
    c.OnKeyDown(ui::VK_DELETE, 0, 1);
    EXPECT_EQ(Overlay().Find(id), nullptr);
    EXPECT_EQ(Overlay().Annotation(0)->hidden, 1);
}

TEST_F(ObjectsTest, AnnotationsSurviveTheSettingsRoundTrip) {
    AddText("first\\nline", 0.25f, -0.5f);
    const short tagged = NewText("tagged", 5, 50, 3);
    Call("SetTextAttribute",
         {I2(tagged), I2(4), I2(2), I2(30), Variant::Str("Arial"), I2(12), I2(9)});
    const short hidden = AddText("gone", 0.1f, 0.1f);
    SetObject(hidden, -1, 0); // hidden entries are not written
    Paint();
    const std::string text = c.GetSettings();
    EXPECT_NE(text.find("Annotation:first\\nline\n"), std::string::npos);
    EXPECT_EQ(text.find("Annotation:gone"), std::string::npos);
    c.SetSettings(text);
    ASSERT_EQ(Overlay().AnnotationCount(), 2);
    EXPECT_EQ(Overlay().Annotation(0)->Text(), "first\r\nline");
    const CPlotAnnotation& a = *Overlay().Annotation(1);
    EXPECT_EQ(a.Text(), "tagged");
    EXPECT_EQ(a.GetAttributes().angle, 30);
    EXPECT_EQ(a.GetAttributes().alignment, 2);
    EXPECT_EQ(a.GetAttributes().transparentText, 1);
    EXPECT_EQ(a.GetAttributes().attachMode, CPlotAnnotation::AtPoint);
    EXPECT_EQ(a.Font()->face, "Arial");
    // Each placed annotation has one text object again, and the text reads back the same.
    int texts = 0;
    for (const auto& o : Overlay().Objects())
        texts += o->Kind() == CPlotObj::TextKind;
    EXPECT_EQ(texts, 2);
    Paint();
    EXPECT_EQ(c.GetSettings(), text);
}

TEST_F(ObjectsTest, ALineNeverTakesTheHostsDataVariable) {
    Call("SetData", {I2(1), I2(0), Variant::R8(42)});
    const short id = NewLine();
    EXPECT_EQ(Get("nvariables").i2(), 2);
    SetXY(id, 0, 1, 2);
    EXPECT_EQ(Data(1, 0), 42);
}

TEST_F(ObjectsTest, DraggingATextMovesItAndReportsTheChange) {
    AddText("drag me", 0.5f, 0.5f);
    Paint();
    const CPlotAnnotation& a = *Overlay().Annotation(0);
    const gdi::Point anchor = a.Anchor();
    const int x = a.TextRect().left + 3, y = a.TextRect().top + 3;
    sink.events.clear();
    c.OnLButtonDown(x, y, 0);
    c.OnMouseMove(x + 10, y + 4, 0);
    c.OnMouseMove(x + 20, y + 8, 0);
    c.OnLButtonUp(x + 20, y + 8, 0);
    EXPECT_EQ(sink.Count(EV_Modified), 1);
    Paint();
    EXPECT_EQ(a.Anchor(), (gdi::Point{anchor.x + 20, anchor.y + 8}));
    // The arrow keys move the selected text by 5 units.
    c.OnKeyDown(ui::VK_DOWN, 0, 1);
    Paint();
    EXPECT_EQ(a.Anchor(), (gdi::Point{anchor.x + 20, anchor.y + 13}));
}

TEST_F(ObjectsTest, HostObjectsAddNoLegendEntriesUntilTheHostGivesThemOne) {
    for (const bool runPlot : {false, true}) {
        SCOPED_TRACE(runPlot ? "run plot" : "XY plot");
        Call("Clear");
        Put("RunPlot", Variant::Bool(runPlot));
        if (runPlot)
            AddTimeData(1, 0.1, 5);
        else
            Call("SetData", {I2(1), I2(0), Variant::R8(5)});
        Put("ShowLegend", Variant::Bool(true));
        const short line = NewLine();
        const short polygon = Call("NewPolygon", {I2(2), I2(-1)}).i2();
        SetXY(line, 0, 0.2, 1);
        SetXY(polygon, 0, 0.3, 2);
        ASSERT_EQ(Get("nvariables").i2(), 3);
        // The objects' variables have no name and no legend text.
        for (short i : {1, 2}) {
            EXPECT_EQ(Call("GetVariable", {I2(i)}).narrow(), "");
            EXPECT_EQ(Call("GetLegend", {I2(i + 1)}).narrow(), "");
        }
        Paint();
        EXPECT_EQ(c.Model()->legendRegion->itemCount, 1);
        // A legend the host gives through the object's ID shows.
        Call("SetLegend", {I2(line), Variant::Str("Set point")});
        Paint();
        EXPECT_EQ(c.Model()->legendRegion->itemCount, 2);
        // Growing the variable count later names only the new variables.
        Put("nvariables", I2(4));
        EXPECT_EQ(Call("GetVariable", {I2(2)}).narrow(), "");
        EXPECT_EQ(Call("GetVariable", {I2(3)}).narrow(), "Var. 4");
    }
}

namespace {

// The user of the text sheet: types a text, turns it with an orientation button, and picks
// the attachment and the arrow.
std::function<bool(const std::vector<ui::IPropertyPage*>&)>
TextSheetUser(std::string text, int attachMode, bool ok = true) {
    return [=](const std::vector<ui::IPropertyPage*>& pages) {
        EXPECT_TRUE(pages[0]->Edit("Enter Annotation Text", text));
        pages[0]->Press("LEFTTEXT");
        EXPECT_EQ(pages[0]->Value("Angle"), "90");
        EXPECT_TRUE(pages[1]->Edit("Attachment", std::to_string(attachMode)));
        EXPECT_TRUE(pages[1]->Edit("Attached text", "3"));
        EXPECT_TRUE(pages[2]->Edit("Size", "14"));
        return ok;
    };
}

} // namespace

TEST_F(ObjectsTest, TheTextDialogMakesATextThatThePlacingClickPuts) {
    struct Case {
        const char* name;
        bool fromMenu;  // the context menu's Add Text, else AddTextDialog
        int attachMode; // as chosen on the Attribute page
        const char* prompt;
    };
    const Case cases[] = {
        {"free, from the host", false, 0, "Locate a place and click"},
        {"tied to a curve, from the menu", true, 1, "Pick a tag point and drag"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Call("Clear");
        Call("OpenLog", {Variant::Str(logPath.string())});
        // A curve to tie the text to.
        Put("npoints", I2(3));
        for (short i = 0; i < 3; ++i) {
            Call("SetXData", {I2(1), I2(i), Variant::R8(i * 5)});
            Call("SetData", {I2(1), I2(i), Variant::R8(i * 50)});
        }
        Paint();
        site.sheetUser = TextSheetUser("Two\\nlines", k.attachMode);
        site.sheets.clear();
        if (k.fromMenu) {
            site.menuAnswer = ID_ADD_TEXT;
            const CPlotRegion::Rect& d = c.Model()->drawingRegion->rect;
            c.OnRButtonDown(d.left + 10, d.top + 10, 0);
        } else {
            Call("AddTextDialog");
        }
        ASSERT_EQ(site.sheets.size(), 1u);
        EXPECT_EQ(site.sheets[0].caption, "Plot Text Setting");
        EXPECT_EQ(site.sheets[0].pages, (std::vector<std::string>{"Text", "Attribute", "Font"}));
        // The text waits, unplaced, with the prompt over the control and a cross pointer.
        ASSERT_EQ(Overlay().AnnotationCount(), 1);
        CPlotAnnotation& a = *Overlay().Annotation(0);
        EXPECT_TRUE(a.Unplaced());
        EXPECT_EQ(a.Text(), "Two\r\nlines");
        EXPECT_EQ(a.GetAttributes().angle, 90);
        EXPECT_EQ(a.GetAttributes().arrowSize, 3);
        EXPECT_EQ(a.Font()->size, 14);
        EXPECT_EQ(site.tooltip, k.prompt);
        c.OnMouseMove(200, 150, 0);
        EXPECT_EQ(site.cursor, 32515);
        EXPECT_EQ(site.tooltip, k.prompt);
        // The placing press on the curve, and the release.
        const CPlotVar& curve = *c.Model()->YVar(0);
        ASSERT_GE(curve.devicePointCount, 2u);
        const gdi::Point press{(curve.devicePoints[0].first + curve.devicePoints[1].first) / 2,
                               (curve.devicePoints[0].second + curve.devicePoints[1].second) / 2};
        sink.events.clear();
        c.OnLButtonDown(press.x, press.y, 0);
        EXPECT_EQ(site.tooltip, "");
        c.OnMouseMove(press.x + 30, press.y - 40, 0);
        c.OnLButtonUp(press.x + 40, press.y - 50, 0);
        EXPECT_FALSE(a.Unplaced());
        EXPECT_EQ(sink.Count(EV_Modified), 1);
        Paint();
        EXPECT_EQ(a.Anchor(), (gdi::Point{press.x + 40, press.y - 50}));
        EXPECT_EQ(a.GetAttributes().attachMode, k.attachMode == 0 ? 0 : 1);
        if (k.attachMode != 0) {
            EXPECT_EQ(a.GetPosition().tagVariable, 1);
        }
        // The text is the user's: a text object that may be deleted, logged as made.
        CPlotObj& o = *Overlay().Objects().back();
        ASSERT_EQ(o.Kind(), CPlotObj::TextKind);
        EXPECT_TRUE(static_cast<CPlotTextObj&>(o).UserText());
        Call("CloseLog");
        EXPECT_EQ(Bytes(logPath), " AddText ID:" + std::to_string(o.Id()) + " (Two\r\nlines)\r\n");
    }
}

TEST_F(ObjectsTest, ACancelledOrEmptyTextDialogMakesNothingButKeepsTheChosenFont) {
    site.sheetUser = TextSheetUser("never", 0, false);
    Call("AddTextDialog");
    EXPECT_EQ(c.Model()->overlay ? Overlay().AnnotationCount() : 0, 0);
    EXPECT_FALSE(c.Model()->overlay && Overlay().Placing());
    site.sheetUser = TextSheetUser("", 0);
    Call("AddTextDialog");
    EXPECT_EQ(c.PlotObjects().AnnotationCount(), 0);
    EXPECT_FALSE(c.PlotObjects().Placing());
    // The font chosen on OK is the default font of later texts.
    AddText("plain", 0.5f, 0.5f);
    EXPECT_EQ(Overlay().Annotation(0)->Font()->size, 14);
}

TEST_F(ObjectsTest, AddTextOnASelectedLabelEditsTheLabel) {
    c.PlotModel().selectedRegion = c.PlotModel().titleRegion.get();
    site.sheetUser = [](const std::vector<ui::IPropertyPage*>& pages) {
        EXPECT_EQ(pages[0]->Fields()[0].caption, "Changing the label text?");
        EXPECT_EQ(pages[0]->Value("Text"), "Title");
        return pages[0]->Edit("Text", "Reactor 2");
    };
    Call("AddTextDialog");
    ASSERT_EQ(site.sheets.size(), 1u);
    EXPECT_EQ(site.sheets[0].caption, "Input");
    EXPECT_EQ(Get("Title").narrow(), "Reactor 2");
    EXPECT_EQ(c.Model()->overlay ? Overlay().AnnotationCount() : 0, 0);
}

TEST_F(ObjectsTest, TheHideVariablesDialogHidesWhatStandsInItsHiddenList) {
    Put("nvariables", I2(4));
    Call("SetVariable", {I2(0), Variant::Str("Feed")});
    const short line = NewLine(); // an object's variable is not offered
    // OK without moving anything changes nothing.
    site.sheetUser = [](const std::vector<ui::IPropertyPage*>&) { return true; };
    const int modifiedBefore = site.modifiedCount;
    Call("HideVariableDialog");
    EXPECT_EQ(site.modifiedCount, modifiedBefore);
    site.sheetUser = [](const std::vector<ui::IPropertyPage*>& pages) {
        ui::IPropertyPage& p = *pages[0];
        EXPECT_EQ(p.Entries("Shown Variables"),
                  (std::vector<std::string>{"1:Feed", "2:Var. 2", "3:Var. 3", "4:Var. 4"}));
        // Hide the first, third and fourth, then show the fourth again.
        p.Edit("Shown Variables", "0,2,3");
        p.Press("Hide >>");
        EXPECT_EQ(p.Entries("Hidden Variables"),
                  (std::vector<std::string>{"1:Feed", "3:Var. 3", "4:Var. 4"}));
        p.Edit("Hidden Variables", "2");
        p.Press("<< Show");
        EXPECT_EQ(p.Entries("Shown Variables"), (std::vector<std::string>{"2:Var. 2", "4:Var. 4"}));
        return true;
    };
    site.menuAnswer = ID_HIDE_VARIABLE;
    Paint();
    const CPlotRegion::Rect& d = c.Model()->drawingRegion->rect;
    c.OnRButtonDown(d.left + 10, d.top + 10, 0);
    ASSERT_EQ(site.sheets.size(), 2u);
    EXPECT_EQ(site.sheets[1].caption, "Hide Variables");
    const std::vector<int> hidden = {1, 0, 1, 0};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(int(c.Model()->YVar(i)->hidden), hidden[size_t(i)]) << i;
    EXPECT_EQ(c.Model()->YVar(Overlay().Find(line)->YVariable())->hidden, 0u);
    EXPECT_GT(site.modifiedCount, modifiedBefore);
}

TEST_F(ObjectsTest, ASelectedObjectIsReportedHighlightedAndBlinks) {
    Call("SetHighlightMode", {I2(250)});
    gdi::Point middle;
    const short id = DrawnLine(middle);
    ASSERT_NE(id, 0);
    sink.events.clear();
    c.OnLButtonDown(middle.x, middle.y, 0);
    c.OnLButtonUp(middle.x, middle.y, 0);
    // The host hears of the selection once, and the object blinks.
    ASSERT_EQ(sink.Count(EV_Selected), 1);
    EXPECT_EQ(sink.events[0].args[0].i2(), id);
    EXPECT_EQ(CtrlProbe::HighlightList(c), (std::vector<int>{id}));
    EXPECT_EQ(site.timers.count(3), 1u);
    EXPECT_EQ(site.timers[3], 250);
    // A blink inverts the line where it was drawn, the flash after it inverts it back.
    auto& surface = static_cast<gdi::RecordingDC&>(*site.surface);
    surface.Clear();
    c.OnTimer(3);
    c.OnTimer(4);
    const auto lines = surface.CallsNamed("Polyline");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 1);
    // The host selects it again: no second event; deleting it ends the blinking.
    SetObject(id, 4, 4);
    EXPECT_EQ(sink.Count(EV_Selected), 1);
    SetObject(id, -1, 0);
    EXPECT_TRUE(CtrlProbe::HighlightList(c).empty());
    EXPECT_EQ(site.timers.count(3), 0u);
    EXPECT_EQ(CtrlProbe::BlinkPhase(c), 0);
}

TEST_F(ObjectsTest, TheTagHandleOfASelectedTextTellsWhatItDoes) {
    Put("npoints", I2(2));
    Call("SetXData", {I2(1), I2(0), Variant::R8(0)});
    Call("SetXData", {I2(1), I2(1), Variant::R8(10)});
    Call("SetData", {I2(1), I2(0), Variant::R8(0)});
    Call("SetData", {I2(1), I2(1), Variant::R8(100)});
    const short id = NewText("tagged", 5, 50, 3);
    Paint();
    Paint();
    SetObject(id, 4, 4);
    Overlay().Annotation(0)->EnableTagHandle(true);
    const gdi::Point tag = Overlay().Annotation(0)->TagPoint();
    c.OnMouseMove(tag.x + 2, tag.y - 2, 0);
    EXPECT_EQ(site.tooltip, "Drag to move tag point");
    c.OnMouseMove(tag.x + 30, tag.y + 30, 0);
    EXPECT_EQ(site.tooltip, "");
}

TEST_F(ObjectsTest, ADoubleClickOnALineSelectsItAndNamesItToTheHost) {
    Call("SetEvent", {I2(3), Variant::Bool(true), Variant::Bool(true)});
    gdi::Point middle;
    const short id = DrawnLine(middle);
    ASSERT_NE(id, 0);
    const int x = middle.x, y = middle.y;
    sink.events.clear();
    c.OnLButtonDblClk(x, y, 0);
    ASSERT_EQ(sink.Count(EV_OnDoubleClick), 1);
    ASSERT_EQ(sink.Count(EV_Selected), 1);
    for (const RecordingSink::Event& e : sink.events) {
        if (e.id == EV_OnDoubleClick) {
            EXPECT_EQ(e.args[4].i2(), id);
        }
    }
    EXPECT_EQ(Overlay().SelectedObject()->Id(), id);
    EXPECT_EQ(CtrlProbe::HighlightList(c), (std::vector<int>{id}));
    // Off the line the regions answer as before: no object.
    sink.events.clear();
    c.OnLButtonDblClk(x + 60, y - 60, 0);
    for (const RecordingSink::Event& e : sink.events) {
        if (e.id == EV_OnDoubleClick) {
            EXPECT_EQ(e.args[4].i2(), 0);
        }
    }
}

// In a triangle, Rotate moves every object's fractions round a corner, (x, y) to (y, z) one
// way and (z, x) the other, so that the two turns undo each other; missing points stay
// missing. Other plots turn a quarter and leave the data alone.
TEST_F(ObjectsTest, RotateTurnsTheObjectsOfATriangleAndQuarterTurnsOtherPlots) {
    Put("PlotType", Variant::I2(2));
    const short line = NewLine();
    Call("SetXYData", {I2(line), I2(0), Variant::R8(0.2), Variant::R8(0.3)});
    Call("SetXYData", {I2(line), I2(1), Variant::R8(0.5), Variant::R8(1e30)});
    const short text = NewText("corner", 0.1, 0.6, 3);
    const CPlotAnnotation& note = *Overlay().Annotation(Overlay().Find(text)->AnnotationIndex());
    struct Turn {
        short direction;
        double x0, y0, textX, textY;
    };
    const Turn turns[] = {{1, 0.3, 0.5, 0.6, 0.3},
                          {0, 0.2, 0.3, 0.1, 0.6},
                          {0, 0.5, 0.2, 0.3, 0.1},
                          {1, 0.2, 0.3, 0.1, 0.6}};
    for (const Turn& t : turns) {
        Call("Rotate", {I2(t.direction)});
        double x = 0, y = 0;
        ASSERT_TRUE(GetXY(line, 0, x, y));
        EXPECT_NEAR(x, t.x0, 1e-12);
        EXPECT_NEAR(y, t.y0, 1e-12);
        EXPECT_FALSE(GetXY(line, 1, x, y)); // a point without y is not turned into one
        EXPECT_NEAR(note.GetPosition().x, t.textX, 1e-12);
        EXPECT_NEAR(note.GetPosition().y, t.textY, 1e-12);
        EXPECT_FALSE(c.Model()->flipped);
    }
    Put("PlotType", Variant::I2(0));
    const short flat = NewLine();
    Call("SetXYData", {I2(flat), I2(0), Variant::R8(0.2), Variant::R8(0.3)});
    Call("Rotate", {I2(1)});
    EXPECT_TRUE(c.Model()->flipped);
    double x = 0, y = 0;
    ASSERT_TRUE(GetXY(flat, 0, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(0.2, 0.3));
}
