// Example sessions drawn as `trendix render` draws them: a control in a headless site of
// 400 x 310, driven by name through its automation interface from the session in examples/,
// then drawn by its own drawing entry into a memory image. Each picture is compared with its
// reference in tests/data (set TRENDIX_UPDATE_REFERENCES=1 to write them anew, and look at
// them before committing).
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtDeviceContext.h"
#include "qt/QtRenderer.h"

#include "QtTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 310;

// The words of one session line: a quoted string keeps its blanks and its \n, \" and \\.
std::vector<std::string> SplitWords(const std::string& line, std::vector<bool>& quoted) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    ++i;
                    word += line[i] == 'n' ? '\n' : line[i];
                } else {
                    word += line[i];
                }
            }
            ++i;
            quoted.push_back(true);
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word += line[i++];
            quoted.push_back(false);
        }
        words.push_back(word);
    }
    return words;
}

com::Variant Value(const std::string& word, bool quoted) {
    if (quoted) return com::Variant::Str(word);
    if (word == "TRUE" || word == "FALSE") return com::Variant::Bool(word == "TRUE");
    return com::Variant::R8(std::stod(word));
}

// Plays the property puts and the calls with in parameters of a session, which is all the
// drawn examples use; a line the control refuses fails the test.
void Play(CTrendixCtrl& control, const std::string& session) {
    std::ifstream in(std::string(TRENDIX_TEST_DATA) + "/../../examples/" + session);
    ASSERT_TRUE(in) << session;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == '.') continue;
        std::vector<bool> quoted;
        std::vector<std::string> words = SplitWords(line, quoted);
        std::vector<com::Variant> args;
        com::InvokeKind kind = com::InvokeKind::Method;
        if (words.size() == 3 && words[1] == "=" && !quoted[1]) {
            kind = com::InvokeKind::PropertyPut;
            args.push_back(Value(words[2], quoted[2]));
        } else {
            for (std::size_t k = 1; k < words.size(); ++k)
                args.push_back(Value(words[k], quoted[k]));
        }
        try {
            control.Invoke(control.GetIDOfName(words[0]), kind, args);
        } catch (const com::DispatchError& e) {
            FAIL() << session << ": " << line << ": " << e.what();
        }
    }
}

QImage Draw(const std::string& session) {
    EnsureQtApp();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl control(site);
    control.OnSize(kWidth, kHeight);
    site.ResizeSurface(kWidth, kHeight);
    Play(control, session);
    QtDeviceContext dc(kWidth, kHeight, gdi::DeviceKind::Memory);
    const gdi::Rect bounds{0, 0, kWidth, kHeight};
    control.OnDraw(dc, bounds, bounds);
    dc.End();
    return dc.Image()->copy();
}

// Glyph rasterising may vary a little between FreeType builds; curves, bars and fills do not.
void ExpectLikeReference(const std::string& session) {
    const QImage image = Draw(session);
    ASSERT_FALSE(::testing::Test::HasFailure());
    const QString name = "example-" + QString::fromStdString(session).section('.', 0, 0) + ".png";
    const QString reference = DataPath(name);
    image.save(OutputPath(name));
    if (std::getenv("TRENDIX_UPDATE_REFERENCES")) image.save(reference);
    const QImage expected(reference);
    ASSERT_FALSE(expected.isNull()) << "no reference " << reference.toStdString();
    EXPECT_LE(DifferingShare(image, expected, 64), 0.003)
        << "see " << OutputPath(name).toStdString();
}

} // namespace

TEST(ExamplePixels, BarGraphMatchesTheReference) {
    ExpectLikeReference("bars.tsh");
}

TEST(ExamplePixels, TwoYAxesWithALogarithmicOneMatchTheReference) {
    ExpectLikeReference("xy-two-axes.tsh");
}

TEST(ExamplePixels, SquarePlotWithTheDiagonalMatchesTheReference) {
    ExpectLikeReference("square-diagonal.tsh");
}

TEST(ExamplePixels, EquilateralTriangleMatchesTheReference) {
    ExpectLikeReference("ternary-equilateral.tsh");
}

// The image path and the file path draw the same picture.
TEST(ExamplePixels, RenderingToAFileGivesTheSamePicture) {
    EnsureQtApp();
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl control(site);
    control.OnSize(kWidth, kHeight);
    site.ResizeSurface(kWidth, kHeight);
    Play(control, "ternary-right.tsh");
    const QString path = OutputPath("example-rendered.png");
    QtRenderer::Render(control, path.toStdString(), kWidth, kHeight);
    EXPECT_EQ(DifferingShare(QImage(path), Draw("ternary-right.tsh"), 0), 0);
}
