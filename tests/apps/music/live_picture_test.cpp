// obscuro-music --screen NAME --picture FILE: the screen drawn into a PNG replaced whole, reported on a line a watcher reads, and its options checked.
#include <cairo.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct HostRun {
    int status = -1;
    std::string out;
};

// obscuro-music on the staged device with `arguments`; stderr is left to the test's log.
HostRun music(const std::vector<std::string>& arguments) {
    // A host that kept serving by mistake is ended rather than left to hang the test.
    std::string command = std::string("OBSCURO_DEVICE_ROOT='") + OBSCURO_DEVICE_ROOT + "' timeout 60 '" + MUSIC_HOST + "'";
    for (const auto& argument : arguments) command += " '" + argument + "'";
    HostRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class LivePicture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "live-picture-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

TEST_F(LivePicture, TheScreenIsDrawnAtItsScaleAndReportedByProcess) {
    fs::path picture = folder_ / "album.png";
    HostRun run = music({"--screen", "album", "--picture", picture.string(), "--scale", "1"});
    ASSERT_EQ(run.status, 0);
    std::string reported = "Painted album (process ";
    auto line = run.out.find(reported);
    ASSERT_NE(line, std::string::npos) << run.out;
    EXPECT_NE(run.out.find(", picture 1): " + picture.string() + "\n", line), std::string::npos) << run.out;

    cairo_surface_t* surface = cairo_image_surface_create_from_png(picture.c_str());
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(surface), 375);
    EXPECT_EQ(cairo_image_surface_get_height(surface), 812);
    cairo_surface_destroy(surface);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1) << "a partial file was left beside the picture";
}

TEST_F(LivePicture, APictureThatCannotBeWrittenEndsTheAppWithAFailure) {
    fs::path picture = folder_ / "missing-folder" / "library.png";
    HostRun run = music({"--screen", "library", "--picture", picture.string(), "--serve"});
    EXPECT_EQ(run.status, 1) << "a watcher must not wait for a picture that never comes";
    EXPECT_EQ(run.out.find("Painted"), std::string::npos);
    EXPECT_FALSE(fs::exists(picture));
}

TEST_F(LivePicture, OptionsThatCannotMakeAPictureAreRefused) {
    std::string picture = (folder_ / "x.png").string();
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--screen", "library"},
             {"--picture", picture},
             {"--screen", "nowhere", "--picture", picture},
             {"--screen", "library", "--picture", picture, "--scale", "0"},
             {"--screen", "library", "--picture", picture, "--scale", "4.5"},
             {"--screen", "library", "--picture", picture, "--scale", "big"},
         }) {
        EXPECT_EQ(music(wrong).status, 2) << wrong[0] << " " << wrong[1];
    }
    EXPECT_FALSE(fs::exists(picture));
}

}  // namespace
