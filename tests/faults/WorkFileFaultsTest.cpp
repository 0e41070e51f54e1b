// Damaged work files chosen for a review or for the KML conversion: the program refuses them or
// replays what they hold, and stays on its feet either way.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "DialogAnswers.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using Bytes = std::string;

Bytes readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
void writeBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A sound work of three strips, written as the program writes one.
void writeSoundWork(const std::string& base, int shapeType = SHPT_POLYGON, bool refs = true) {
    SHPHandle shp = SHPCreate(base.c_str(), shapeType);
    DBFHandle dbf = DBFCreate(base.c_str());
    DBFAddField(dbf, "NAME", FTString, 254, 0);
    if (refs) {
        DBFAddField(dbf, "XREF", FTDouble, 20, 16);
        DBFAddField(dbf, "YREF", FTDouble, 20, 16);
    }
    for (int k = 0; k < 3; ++k) {
        std::vector<double> x, y;
        for (int i = 0; i < 20; ++i) {
            x.push_back(11.5167 + k * 0.0002);
            y.push_back(48.1173 + i * 0.00005);
        }
        for (int i = 19; i >= 0; --i) {
            x.push_back(11.5168 + k * 0.0002);
            y.push_back(48.1173 + i * 0.00005);
        }
        SHPObject* shape =
            SHPCreateSimpleObject(shapeType, int(x.size()), x.data(), y.data(), nullptr);
        const int record = SHPWriteObject(shp, -1, shape);
        SHPDestroyObject(shape);
        DBFWriteStringAttribute(dbf, record, 0, base.c_str());
        if (refs) {
            DBFWriteDoubleAttribute(dbf, record, 1, 11.5167);
            DBFWriteDoubleAttribute(dbf, record, 2, 48.1173);
        }
    }
    SHPClose(shp);
    DBFClose(dbf);
}

void putInt(Bytes& bytes, std::size_t at, std::uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = char(bigEndian ? value >> (24 - 8 * i) : value >> (8 * i));
}

struct Damage {
    const char* name;
    std::function<void(const std::string& base)> make;
};

// shp: 100-byte header, then records of an 8-byte header and content; the polygon content
// starts with type, box (32 bytes), part count at 36 and point count at 40.
const Damage kDamages[] = {
    {"random_bytes",
     [](const std::string& base) {
         std::mt19937 random(3);
         for (const char* ext : {".shp", ".shx", ".dbf"}) {
             Bytes bytes(700, 0);
             for (char& c : bytes) c = char(random());
             writeBytes(base + ext, bytes);
         }
     }},
    {"empty_files",
     [](const std::string& base) {
         for (const char* ext : {".shp", ".shx", ".dbf"}) writeBytes(base + ext, "");
     }},
    {"no_table",
     [](const std::string& base) {
         writeSoundWork(base);
         fs::remove(base + ".dbf");
     }},
    {"no_reference_fields",
     [](const std::string& base) { writeSoundWork(base, SHPT_POLYGON, false); }},
    {"points_not_strips", [](const std::string& base) { writeSoundWork(base, SHPT_POINT); }},
    {"cut_in_half",
     [](const std::string& base) {
         writeSoundWork(base);
         Bytes shp = readBytes(base + ".shp");
         writeBytes(base + ".shp", shp.substr(0, shp.size() / 2));
     }},
    {"index_beyond_the_end",
     [](const std::string& base) {
         writeSoundWork(base);
         Bytes shx = readBytes(base + ".shx");
         for (std::size_t at = 100; at + 8 <= shx.size(); at += 8)
             putInt(shx, at, 0x7FFFFFF0, true);
         writeBytes(base + ".shx", shx);
     }},
    {"huge_point_count",
     [](const std::string& base) {
         writeSoundWork(base);
         Bytes shp = readBytes(base + ".shp");
         putInt(shp, 100 + 8 + 36, 0x40000000, false);
         putInt(shp, 100 + 8 + 40, 0x7FFFFFFF, false);
         writeBytes(base + ".shp", shp);
     }},
    {"negative_part_start",
     [](const std::string& base) {
         writeSoundWork(base);
         Bytes shp = readBytes(base + ".shp");
         putInt(shp, 100 + 8 + 44, 0xFFFFFF00, false);
         writeBytes(base + ".shp", shp);
     }},
};

}  // namespace

TEST(WorkFileFault, DamagedWorksAreRefusedOrReplayedAndNeverHurt) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    std::vector<std::string> works;
    for (const Damage& damage : kDamages) {
        works.push_back(dir + "/" + damage.name);
        damage.make(works.back());
    }
    RunningProgram program;
    // No receiver is needed: the library keeps looking for the device once a second.
    ASSERT_TRUE(program.open(dir + "/no-receiver"));

    DialogAnswers answers;
    for (const std::string& work : works) {
        SCOPED_TRACE(work);
        answers.chooseFile(work + ".shp");
        program.tap(appState.layout.btnReview);
        EXPECT_TRUE(answers.done());
        if (program.state() == kStateReview) {
            // Readable enough to replay: it runs to its end, and a tap leads back.
            EXPECT_TRUE(waitUntil([] { return appState.ui.reviewRunning == 0; }, 60s));
            program.tapMap();
        }
        EXPECT_EQ(program.state(), kStateStart);
    }

    // Every one of them through "Export to KML"; the sheet stays open after each.
    answers.showPage(QStringLiteral("Extras"));
    for (const std::string& work : works) answers.click(1028).chooseFile(work + ".shp");
    answers.click(1);
    program.tap(appState.layout.btnStartMenu);
    EXPECT_TRUE(waitUntil([&] { return answers.done() && !DialogAnswers::sheet(); }, 60s));
    EXPECT_EQ(program.state(), kStateStart);
    EXPECT_TRUE(program.exitByButtons());
}
