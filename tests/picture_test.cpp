// Pictures of the game window in scripted states, rendered by vorbix-replay --png with the
// game's own painting code and compared with reviewed references; and the comparison itself.
#include "picture_compare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

namespace vorbix::picture {
namespace {

const QString references = QStringLiteral(VORBIX_PICTURE_REFERENCES);
const QString output = QStringLiteral(VORBIX_PICTURE_OUTPUT);

QImage filled(QColor colour, QSize size = QSize(40, 30))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void paint_block(QImage& image, const QRect& area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) image.setPixelColor(x, y, colour);
    }
}

TEST(PictureCompare, EqualPicturesMatch)
{
    const QImage picture = filled(QColor(255, 255, 0));
    const Comparison result = compare(picture, picture, Tolerance{});
    EXPECT_TRUE(result.matches(Tolerance{}));
    EXPECT_EQ(result.differing_pixels, 0);
    EXPECT_EQ(result.largest_difference, 0);
}

TEST(PictureCompare, SmallChannelDifferencesEverywhereAreTolerated)
{
    const QImage expected = filled(QColor(100, 100, 100));
    const QImage actual = filled(QColor(100 + 24, 100 - 24, 100));
    const Comparison result = compare(actual, expected, Tolerance{});
    EXPECT_TRUE(result.matches(Tolerance{}));
    EXPECT_EQ(result.largest_difference, 24);
}

TEST(PictureCompare, AChangedColourOverACellFails)
{
    const QImage expected = filled(QColor(255, 255, 0));
    QImage actual = expected;
    // About one cell of the well at 96 DPI.
    paint_block(actual, QRect(5, 5, 19, 19), QColor(255, 200, 0));
    const Comparison result = compare(actual, expected, Tolerance{});
    EXPECT_FALSE(result.matches(Tolerance{}));
    EXPECT_EQ(result.differing_pixels, 19 * 19);
    EXPECT_EQ(result.diff.pixelColor(10, 10), QColor(255, 0, 0));
    EXPECT_NE(result.diff.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(PictureCompare, AFewStrayPixelsAreToleratedButNoMore)
{
    const Tolerance tolerance{24, 10};
    const QImage expected = filled(QColor(255, 255, 255));
    QImage actual = expected;
    paint_block(actual, QRect(0, 0, 10, 1), Qt::black);
    EXPECT_TRUE(compare(actual, expected, tolerance).matches(tolerance));
    paint_block(actual, QRect(0, 1, 1, 1), Qt::black);
    const Comparison result = compare(actual, expected, tolerance);
    EXPECT_EQ(result.differing_pixels, 11);
    EXPECT_FALSE(result.matches(tolerance));
}

TEST(PictureCompare, PicturesOfAnotherSizeNeverMatch)
{
    const QImage expected = filled(Qt::yellow, QSize(40, 30));
    const QImage actual = filled(Qt::yellow, QSize(41, 30));
    EXPECT_FALSE(compare(actual, expected, Tolerance{}).matches(Tolerance{}));
    EXPECT_FALSE(compare(QImage(), expected, Tolerance{}).matches(Tolerance{}));
}

std::string read_all(const QString& path)
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs vorbix-replay on a script; gives its exit status. Standard output goes to json_path.
int run_replay(const QString& script, const QString& json_path, const QString& picture_folder = {},
               const std::string& scale = {})
{
    std::string command = "'" + std::string(VORBIX_REPLAY_PROGRAM) + "'";
    if (!picture_folder.isEmpty()) command += " --png '" + picture_folder.toStdString() + "'";
    if (!scale.empty()) command += " --scale " + scale;
    command += " '" + script.toStdString() + "' > '" + json_path.toStdString() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QString fresh_folder(const QString& name)
{
    QString folder = output + "/" + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

QString write_script(const QString& folder, const char* text)
{
    QString path = folder + "/script.txt";
    std::ofstream(path.toStdString()) << text;
    return path;
}

TEST(ReplayPictures, OnePicturePerDumpInOrderAtFifteenTwipsAPixel)
{
    const QString folder = fresh_folder("numbering");
    const QString script = write_script(folder, "answer no\ndump\nstart\ndump\ntick 2 40\ndump\n");
    ASSERT_EQ(run_replay(script, folder + "/dumps.json", folder + "/png"), 0);
    const QStringList names = QDir(folder + "/png").entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names, QStringList({"dump-0001.png", "dump-0002.png", "dump-0003.png"}));
    // Before start: the designed client area, 5850 by 5925 twips; then the laid-out one,
    // 22 cells of 292 twips less the frame: 6304 by 6424 twips.
    EXPECT_EQ(QImage(folder + "/png/dump-0001.png").size(), QSize(390, 395));
    EXPECT_EQ(QImage(folder + "/png/dump-0002.png").size(), QSize(420, 428));
    // The closed curtain covers the whole window, and the intro goes on behind it.
    const QImage closed = QImage(folder + "/png/dump-0003.png").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(closed.pixelColor(10, 10), QColor(Qt::black));
    EXPECT_EQ(closed.pixelColor(410, 420), QColor(Qt::black));
}

TEST(ReplayPictures, TheDumpsAreTheSameWithAndWithoutPictures)
{
    const QString folder = fresh_folder("same_dumps");
    const QString script = references + "/seven_styles.txt";
    ASSERT_EQ(run_replay(script, folder + "/plain.json"), 0);
    ASSERT_EQ(run_replay(script, folder + "/pictured.json", folder + "/png"), 0);
    const std::string plain = read_all(folder + "/plain.json");
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(read_all(folder + "/pictured.json"), plain);
}

TEST(ReplayPictures, AFolderThatCannotBeMadeIsAnError)
{
    const QString folder = fresh_folder("no_folder");
    const QString script = write_script(folder, "dump\n");
    std::ofstream(folder.toStdString() + "/a_file") << "not a folder";
    EXPECT_EQ(run_replay(script, folder + "/dumps.json", folder + "/a_file/png"), 2);
}

TEST(ReplayPictures, AScaleOutsideOneToFourIsRefused)
{
    const QString folder = fresh_folder("wrong_scale");
    const QString script = write_script(folder, "dump\n");
    for (const char* scale : {"0.5", "4.5", "2x", "-2", "nan", "''"}) {
        EXPECT_EQ(run_replay(script, folder + "/dumps.json", folder + "/png", scale), 2) << scale;
    }
    EXPECT_FALSE(QDir(folder + "/png").exists()) << "a refused run draws nothing";
}

// The scripted states; each script in pictures/ ends with its one dump, and pictures/NAME.png
// is its reviewed picture, pictures/NAME.xSCALE.png the one at a scale
// (pictures/make_references.sh renders them anew).
struct StatePicture {
    const char* name;
    const char* scale;  // "" for none given
};

void PrintTo(const StatePicture& picture, std::ostream* out)
{
    *out << picture.name << (*picture.scale != '\0' ? std::string(" --scale ") + picture.scale : std::string());
}

class GameStatePicture : public ::testing::TestWithParam<StatePicture> {};

TEST_P(GameStatePicture, LooksAsReviewed)
{
    const QString name = GetParam().name;
    const std::string scale = GetParam().scale;
    const QString folder = fresh_folder(name + QString::fromStdString(scale));
    ASSERT_EQ(run_replay(references + "/" + name + ".txt", folder + "/dumps.json", folder + "/png", scale), 0);
    const QImage actual(folder + "/png/dump-0001.png");
    ASSERT_FALSE(actual.isNull()) << "no picture was rendered in " << folder.toStdString();
    // The scale 1 draws the picture of no scale.
    const QString reference =
        references + "/" + name + (scale.empty() || scale == "1" ? "" : ".x" + QString::fromStdString(scale)) + ".png";
    const QImage expected(reference);
    ASSERT_FALSE(expected.isNull()) << "no reference picture " << reference.toStdString();

    const Tolerance tolerance;
    const Comparison result = compare(actual, expected, tolerance);
    if (result.matches(tolerance)) return;
    const QString shown = QFileInfo(reference).completeBaseName();
    const QString actual_path = output + "/" + shown + ".actual.png";
    const QString diff_path = output + "/" + shown + ".diff.png";
    actual.save(actual_path);
    result.diff.save(diff_path);
    ADD_FAILURE() << "the picture of " << name.toStdString() << " changed: "
                  << (result.same_size ? std::to_string(result.differing_pixels) + " pixels differ by more than " +
                                             std::to_string(tolerance.channel)
                                       : std::string("its size differs"))
                  << "\n  actual: " << actual_path.toStdString() << "\n  diff:   " << diff_path.toStdString()
                  << "\n  reference: " << reference.toStdString();
}

INSTANTIATE_TEST_SUITE_P(States, GameStatePicture,
                         ::testing::Values(StatePicture{"normal_start", ""}, StatePicture{"hard_start", ""},
                                           StatePicture{"seven_styles", ""}, StatePicture{"paused_curtain", ""},
                                           StatePicture{"game_over", ""}, StatePicture{"seven_styles", "1"},
                                           StatePicture{"seven_styles", "2"}, StatePicture{"game_over", "2.5"}),
                         [](const ::testing::TestParamInfo<StatePicture>& info) {
                             std::string name = info.param.name;
                             if (*info.param.scale != '\0') name += "_scale_" + std::string(info.param.scale);
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

}  // namespace
}  // namespace vorbix::picture
