// SPDX-License-Identifier: GPL-3.0-or-later
// quorvelctl chart: pages of past and current billing months in every format, the empty page
// before the set-up, and refused options.
#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Summaries.hpp"
#include "TestEnv.hpp"

#include "cli/CtlArguments.hpp"
#include "cli/chart/CtlChart.hpp"
#include "model/FTrafficDataInformation.hpp"

#include "CtlProcess.hpp"


namespace {

namespace fs = std::filesystem;
using quorvel::clitest::runCtl;

std::string head(const fs::path& p, std::size_t n)
{
    std::ifstream in(p, std::ios::binary);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

struct ChartCommand : ::testing::Test {
    quorvel::test::TempDir home;
    std::string out, err;

    int ctl(const std::vector<std::string>& args) { return runCtl(home.path(), args, out, err); }
    void demoState()
    {
        ASSERT_EQ(quorvel::clitest::runProcess({QUORVEL_DEMO_STATE}, quorvel::clitest::ctlEnvironment(home.path()),
                                               out, err),
                  0)
            << err;
    }
    // Width and height in pixels of a PNG file, or 0 x 0 when it is none.
    std::pair<int, int> pngSize(const fs::path& p)
    {
        cairo_surface_t* s = cairo_image_surface_create_from_png(p.c_str());
        std::pair<int, int> size{0, 0};
        if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
            size = {cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
        }
        cairo_surface_destroy(s);
        return size;
    }
};

TEST_F(ChartCommand, DrawsTheEmptyPageBeforeTheSetUp)
{
    const fs::path png = home.path() / "empty.png";
    ASSERT_EQ(ctl({"chart", "--output", png.string()}), 0) << err;
    EXPECT_EQ(pngSize(png), (std::pair<int, int>{720, 1120}));
}

TEST_F(ChartCommand, DrawsPastAndCurrentMonthsInEveryFormatAndSize)
{
    demoState();
    const fs::path current = home.path() / "current.png";
    ASSERT_EQ(ctl({"chart", "--output", current.string()}), 0) << err;
    EXPECT_EQ(pngSize(current), (std::pair<int, int>{720, 1120}));
    ASSERT_EQ(ctl({"chart", "--month", "0", "--graph", "daily", "--size", "400x300", "--scale", "1", "--output",
                   (home.path() / "past.png").string()}),
              0)
        << err;
    EXPECT_EQ(pngSize(home.path() / "past.png"), (std::pair<int, int>{400, 300}));
    ASSERT_EQ(ctl({"chart", "--idiom", "tablet", "--output", (home.path() / "page.svg").string()}), 0) << err;
    EXPECT_NE(head(home.path() / "page.svg", 200).find("<svg"), std::string::npos);
    ASSERT_EQ(ctl({"chart", "--graph", "cumulative", "--output", (home.path() / "page.pdf").string()}), 0) << err;
    EXPECT_EQ(head(home.path() / "page.pdf", 5), "%PDF-");
}

TEST_F(ChartCommand, RefusesWhatItCannotDraw)
{
    demoState();
    const std::string png = (home.path() / "x.png").string();
    const std::vector<std::vector<std::string>> refused = {
        {"chart", "--month", "99", "--output", png},     {"chart", "--month", "-1", "--output", png},
        {"chart", "--month", "one", "--output", png},    {"chart", "--graph", "pie", "--output", png},
        {"chart", "--size", "10x10", "--output", png},   {"chart", "--size", "wide", "--output", png},
        {"chart", "--scale", "0", "--output", png},      {"chart", "--idiom", "watch", "--output", png},
        {"chart", "--scale", "nan", "--output", png},    {"chart", "--scale", "inf", "--output", png},
        {"chart", "--scale", "-2", "--output", png},     {"chart", "--size", "nanx500", "--output", png},
        {"chart", "--size", "500xinf", "--output", png}, {"chart", "--size", "-500x500", "--output", png},
        {"chart", "--output", (home.path() / "x.gif").string()},
        {"chart", "--output", (home.path() / "missing-dir" / "x.png").string()}};
    for (const auto& args : refused) {
        EXPECT_EQ(ctl(args), 1) << args[1] << " " << args[2];
        EXPECT_NE(err.find("quorvelctl: "), std::string::npos) << args[1];
    }
    EXPECT_FALSE(fs::exists(png));
    EXPECT_EQ(ctl({"chart"}), 2) << "the output file is required";
}

TEST_F(ChartCommand, RefusesImagesBeyondThePixelLimit)
{
    demoState();
    const fs::path png = home.path() / "big.png";
    // 8000 x 5002 pixels are just above 40 million; 40000 pixels are too wide for any image.
    for (const std::vector<std::string>& size : {std::vector<std::string>{"--size", "4000x4000", "--scale", "8"},
                                                 {"--size", "4000x2501", "--scale", "2"},
                                                 {"--size", "10000x100", "--scale", "4"}}) {
        std::vector<std::string> args{"chart", "--output", png.string()};
        args.insert(args.end(), size.begin(), size.end());
        EXPECT_EQ(ctl(args), 1) << size[1];
        EXPECT_NE(err.find("too large"), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(png));
    }
    // A vector file of any allowed size has no pixels to count.
    EXPECT_EQ(ctl({"chart", "--size", "10000x10000", "--scale", "8", "--output", (home.path() / "big.svg").string()}),
              0)
        << err;
}

TEST_F(ChartCommand, AStateWithoutBillingMonthsDrawsTheCurrentEmptyMonth)
{
    const fs::path png = home.path() / "current.png";
    const auto chart = [&](std::map<std::string, std::string> options) {
        options["--output"] = png.string();
        quorvel::CtlChart command;
        std::ostringstream o;
        std::ostringstream e;
        if (!command.parse(quorvel::CtlArguments{"chart", {}, options}, e)) {
            return -1;
        }
        auto summary = quorvel::test::summaryWith({.plan = 2'000'000'000, .billStartDay = 30});
        summary->setMonths(quorvel::FTrafficDataInformation::Months{});
        const int code = command.render(summary, o, e);
        err = e.str();
        return code;
    };
    ASSERT_EQ(chart({}), 0) << err;
    EXPECT_EQ(pngSize(png), (std::pair<int, int>{720, 1120}));
    EXPECT_EQ(chart({{"--month", "0"}}), 0) << err;
    EXPECT_EQ(chart({{"--month", "1"}}), 1) << "only the current month exists";
}

}  // namespace
