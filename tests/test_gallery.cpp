// The README's gallery against the programs: every picture committed in
// docs/gallery/ (<name>-<k>.png, stage k of a picture program) must be the
// stage that the program's capture variant draws now, pixel for pixel, with
// one file per stage and none left over; and the README must show every
// one of them. A change to a picture program or to the drawing toolkit that
// moves a single pixel therefore shows up here until the gallery is made
// again with ./demo gallery docs/gallery. The README's table of the programs
// is checked against the registry too.
#include "catalogue.hpp"
#include "harness.hpp"
#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>

namespace
{

const std::string gallery_dir = SUITE_SOURCE_DIR "/docs/gallery";
const std::string readme_path = SUITE_SOURCE_DIR "/README.md";

std::vector<std::string> picture_programs()
{
    std::vector<std::string> names;
    for (const CatalogueEntry &e : catalogue)
        if (std::string(e.kind) == "picture")
            names.push_back(e.name);
    return names;
}

// The names of the .png files of the gallery, sorted.
std::vector<std::string> gallery_files()
{
    std::vector<std::string> files;
    if (DIR *dir = opendir(gallery_dir.c_str())) {
        while (dirent *entry = readdir(dir)) {
            std::string file = entry->d_name;
            if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0)
                files.push_back(file);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The stage number k of a file named <name>-<k>.png, or 0 if the file is
// not a stage of that program.
int stage_of(const std::string &file, const std::string &name)
{
    std::string prefix = name + "-";
    if (file.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::string k = file.substr(prefix.size(), file.size() - 4 - prefix.size());
    if (k.empty() || k.size() > 3 || k[0] == '0' || k.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoi(k);
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class GalleryPictures : public ::testing::TestWithParam<std::string>
{
};

TEST_P(GalleryPictures, AreTheStagesTheProgramDrawsNow)
{
    const std::string name = GetParam();
    std::set<int> committed;
    for (const std::string &file : gallery_files())
        if (int k = stage_of(file, name))
            committed.insert(k);

    std::vector<Picture> stages = capture_stages(SUITE_CAPTURE_DIR "/" + name);
    ASSERT_FALSE(stages.empty()) << name << " saved no picture";
    EXPECT_EQ(stages.size(), committed.size())
        << name << " draws " << stages.size() << " stage(s); docs/gallery/ holds " << committed.size()
        << " pictures of it (make them again with ./demo gallery docs/gallery)";
    for (size_t k = 1; k <= stages.size(); k++) {
        std::string file = name + "-" + std::to_string(k) + ".png";
        SCOPED_TRACE("docs/gallery/" + file);
        if (committed.count(static_cast<int>(k)) == 0) {
            ADD_FAILURE() << "missing";
            continue;
        }
        EXPECT_PICTURE(read_png(gallery_dir + "/" + file), stages[k - 1]);
    }
}

INSTANTIATE_TEST_SUITE_P(PicturePrograms, GalleryPictures, ::testing::ValuesIn(picture_programs()),
                         [](const ::testing::TestParamInfo<std::string> &info) { return info.param; });

// Every picture of the gallery is a stage of a picture program, and the
// README shows it; every picture the README shows is in the gallery.
TEST(GalleryReadme, ShowsEveryPictureOfTheGallery)
{
    const std::string readme = read_text(readme_path);
    ASSERT_FALSE(readme.empty()) << "cannot read " << readme_path;
    std::vector<std::string> files = gallery_files();
    EXPECT_FALSE(files.empty()) << "docs/gallery/ holds no picture yet: ./demo gallery docs/gallery";
    std::set<std::string> present(files.begin(), files.end());

    for (const std::string &file : files) {
        bool of_a_program = false;
        for (const std::string &name : picture_programs())
            of_a_program = of_a_program || stage_of(file, name) > 0;
        EXPECT_TRUE(of_a_program) << "docs/gallery/" << file << " is no stage of a picture program";
        EXPECT_NE(std::string::npos, readme.find("docs/gallery/" + file + ")"))
            << "README.md does not show docs/gallery/" << file;
    }

    // The README's pictures: "docs/gallery/<file>.png", up to the closing
    // parenthesis of the image link.
    const std::string link = "docs/gallery/";
    for (size_t at = readme.find(link); at != std::string::npos; at = readme.find(link, at + 1)) {
        size_t end = readme.find_first_of(") \n", at);
        std::string file = readme.substr(at + link.size(), end - at - link.size());
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".png") != 0)
            continue; // the folder itself, named in the text
        EXPECT_EQ(1u, present.count(file)) << "README.md shows docs/gallery/" << file << ", which is missing";
    }
}

// The README's table of the programs is the registry's: every program with
// its description, once, as `./demo list` shows them.
TEST(ReadmeProgramTable, ListsEveryProgramWithItsDescription)
{
    const std::string readme = read_text(readme_path);
    for (const CatalogueEntry &e : catalogue) {
        std::string row = std::string("| `") + e.name + "` | " + e.description + " |";
        size_t at = readme.find(row);
        EXPECT_NE(std::string::npos, at) << "README.md has no row " << row;
        if (at != std::string::npos) {
            EXPECT_EQ(std::string::npos, readme.find(row, at + 1)) << "README.md has the row twice: " << row;
        }
    }
}

} // namespace
