// `trendix render`: --size lays the control out at the size asked, --scale draws the layout
// scaled to a picture of that size.
#include "RenderCommand.h"
#include "PlotFileCommands.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"
#include "qt/QtRenderer.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef TRENDIX_EXAMPLES

namespace {

const std::string kExample = std::string(TRENDIX_EXAMPLES) + "/xy-two-axes.tsh";

std::string OutputFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("trendix-render-test-" + name)).string();
}

int Render(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return RenderCommand::Run(int(argv.size()), argv.data());
}

// The example loaded into a control laid out at layout and drawn at picture size.
QImage Expected(QSize layout, QSize picture, const std::string& name) {
    ui::HeadlessSite site;
    site.surfaceFactory = QtRenderer::MakeSurface;
    CTrendixCtrl control(site);
    control.OnSize(layout.width(), layout.height());
    site.ResizeSurface(layout.width(), layout.height());
    PlotFileCommands::Load(control, kExample);
    const std::string path = OutputFile(name);
    QtRenderer::Render(control, path, picture.width(), picture.height());
    return QImage(QString::fromStdString(path));
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(RenderCommand, SizeLaysTheControlOutAtTheSizeAndScaleDrawsTheLayoutScaled) {
    QtRenderer::EnsureApplication();
    const std::string sized = OutputFile("sized.png"), scaled = OutputFile("scaled.png");
    ASSERT_EQ(Render({kExample, "-o", sized, "--size", "640x480"}), 0);
    ASSERT_EQ(Render({kExample, "-o", scaled, "--scale", "640x480"}), 0);
    const QImage laidOut(QString::fromStdString(sized)), grown(QString::fromStdString(scaled));
    EXPECT_EQ(laidOut.size(), QSize(640, 480));
    EXPECT_EQ(grown.size(), QSize(640, 480));
    EXPECT_TRUE(SamePixels(laidOut, Expected({640, 480}, {640, 480}, "expected-sized.png")));
    EXPECT_TRUE(SamePixels(grown, Expected({400, 310}, {640, 480}, "expected-scaled.png")));
    EXPECT_FALSE(SamePixels(laidOut, grown));
    // Both: laid out at one size, drawn scaled to another.
    const std::string both = OutputFile("both.png");
    ASSERT_EQ(Render({kExample, "-o", both, "--size", "500x400", "--scale", "250x200"}), 0);
    EXPECT_TRUE(SamePixels(QImage(QString::fromStdString(both)),
                           Expected({500, 400}, {250, 200}, "expected-both.png")));
    // A session that sizes the control itself gives way to --size.
    const std::string session = OutputFile("session.tsh"), resized = OutputFile("resized.png");
    {
        std::ofstream out(session);
        out << "nvariables = 2\n.size 300 200\n";
    }
    ASSERT_EQ(Render({session, "-o", resized, "--size", "640x480"}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(resized)).size(), QSize(640, 480));
    for (const std::string& f : {sized, scaled, both, session, resized})
        std::filesystem::remove(f);
}

TEST(RenderCommand, AWrongSizeOrScaleIsAUsageError) {
    const std::string out = OutputFile("never.png");
    for (const char* bad : {"0x10", "640", "x480", "640x"}) {
        EXPECT_EQ(Render({kExample, "-o", out, "--size", bad}), 2) << bad;
        EXPECT_EQ(Render({kExample, "-o", out, "--scale", bad}), 2) << bad;
    }
    // A well-formed size beyond the largest side is a refused drawing, not a usage error.
    EXPECT_EQ(Render({kExample, "-o", out, "--size", "20001x10"}), 1);
    EXPECT_EQ(Render({kExample, "-o", out, "--scale", "10x20001"}), 1);
    EXPECT_EQ(Render({kExample, "-o", out, "--scale"}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
}

#endif
